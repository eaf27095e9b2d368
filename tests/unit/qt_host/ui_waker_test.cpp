// Wake-ups brought to the UI thread from other threads, and letting go of the handler.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <thread>

#include "hosts/qt/ui_waker.h"
#include "qt_host_test_app.h"

namespace {

// Counts its drains, and whether each ran on the UI thread.
struct CountingDrain final : UpdateDrain {
    int DeliverUpdates() override {
        onUiThread =
            onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        return ++drains;
    }
    std::atomic<int> drains{0};
    bool onUiThread = true;
};

// Processes events until `done` or a generous time has passed.
template <typename Done> bool RunUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

TEST(QtUiWakerWake, DrainsOnTheUiThreadForWakesFromAnotherThread) {
    qt_host::QtUiWaker ui;
    CountingDrain drain;
    ui.SetDrain(&drain);
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i) {
            ui.Wake();
        }
    });
    worker.join();
    EXPECT_TRUE(RunUntil([&] { return drain.drains.load() > 0; }));
    QCoreApplication::processEvents();
    // Wakes that come together are drained together; none is lost.
    EXPECT_GE(drain.drains.load(), 1);
    EXPECT_LE(drain.drains.load(), 5);
    EXPECT_TRUE(drain.onUiThread);
}

TEST(QtUiWakerRelease, WakesAfterTheDrainIsClearedRunNothing) {
    qt_host::QtUiWaker ui;
    CountingDrain drain;
    ui.SetDrain(&drain);
    ui.Wake();
    // What the program does as the worker goes: a wake-up still pending reaches nothing.
    ui.SetDrain(nullptr);
    ui.Wake();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(drain.drains.load(), 0) << "not even the wake that came before it was cleared";
}

} // namespace

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

// Processes events until `done` or a generous time has passed.
template <typename Done> bool RunUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

TEST(UiWakerWake, RunsTheHandlerOnTheUiThreadForWakesFromAnotherThread) {
    qt_host::UiWaker ui;
    std::atomic<int> handled{0};
    bool onUiThread = true;
    ui.SetWakeHandler([&] {
        onUiThread =
            onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        ++handled;
    });
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i) {
            ui.Wake();
        }
    });
    worker.join();
    EXPECT_TRUE(RunUntil([&] { return handled.load() > 0; }));
    QCoreApplication::processEvents();
    // Wakes that come together are handled together; none is lost.
    EXPECT_GE(handled.load(), 1);
    EXPECT_LE(handled.load(), 5);
    EXPECT_TRUE(onUiThread);
}

TEST(UiWakerRelease, WakesAfterTheHandlerIsClearedRunNothing) {
    qt_host::UiWaker ui;
    int wakes = 0;
    ui.SetWakeHandler([&] { ++wakes; });
    ui.Wake();
    // What the program does as the window goes: a wake-up still pending reaches nothing.
    ui.SetWakeHandler(nullptr);
    ui.Wake();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(wakes, 0) << "not even the wake that came before the handler was cleared";
}

} // namespace

// Wake-ups brought to the UI thread from other threads, and stopping.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <thread>

#include "hosts/qt/ui_thread.h"
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

TEST(UiThreadWake, RunsTheHandlerOnTheUiThreadForWakesFromAnotherThread) {
    qt_host::UiThread ui;
    std::atomic<int> handled{0};
    bool onUiThread = true;
    ui.SetWakeHandler([&] {
        onUiThread =
            onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        ++handled;
    });
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i) {
            qt_host::UiThread::Wake(&ui);
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

TEST(UiThreadStop, LaterWakesRunNothing) {
    qt_host::UiThread ui;
    int wakes = 0;
    ui.SetWakeHandler([&] { ++wakes; });
    qt_host::UiThread::Wake(&ui);
    ui.Stop();
    EXPECT_TRUE(ui.Stopped());
    qt_host::UiThread::Wake(&ui);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(wakes, 0) << "not even the wake that came before Stop";
}

} // namespace

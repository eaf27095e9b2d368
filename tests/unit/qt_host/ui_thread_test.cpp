// Work handed to the UI thread from other threads: order, wake-ups and stopping.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

#include "hosts/qt/ui_thread.h"
#include "qt_host_test_app.h"

namespace {

struct Log {
    std::vector<int> values;
    bool allOnUiThread = true;
};

void Record(Log* log, int value) {
    log->allOnUiThread =
        log->allOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    log->values.push_back(value);
}

// Processes events until `done` or a generous time has passed.
template <typename Done> bool RunUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

TEST(UiThreadTasks, RunOnTheUiThreadInTheOrderEachThreadPostedThem) {
    qt_host::UiThread ui;
    Log log;
    constexpr int perThread = 2000; // far more than the ring holds: producers wait for room
    std::vector<std::thread> producers;
    for (int t = 0; t < 2; ++t) {
        producers.emplace_back([&ui, &log, t] {
            for (int i = 0; i < perThread; ++i) {
                const int value = t * perThread + i;
                Log* target = &log;
                while (!ui.Post([target, value] { Record(target, value); })) {
                    std::this_thread::yield();
                }
            }
        });
    }
    EXPECT_TRUE(RunUntil([&] { return log.values.size() == 2 * perThread; }));
    for (std::thread& p : producers) {
        p.join();
    }
    EXPECT_TRUE(log.allOnUiThread);
    int next[2] = {0, perThread};
    for (int value : log.values) {
        const int t = value / perThread;
        ASSERT_EQ(value, next[t]) << "out of order";
        ++next[t];
    }
}

TEST(UiThreadTasks, AFullRingRefusesRatherThanWaiting) {
    qt_host::UiThread ui;
    Log log;
    Log* target = &log;
    for (int i = 0; i < qt_host::UiThread::Capacity; ++i) {
        ASSERT_TRUE(ui.Post([target, i] { Record(target, i); }));
    }
    EXPECT_FALSE(ui.Post([target] { Record(target, -1); }));
    EXPECT_TRUE(RunUntil([&] { return log.values.size() == qt_host::UiThread::Capacity; }));
    EXPECT_TRUE(ui.Post([target] { Record(target, 1000); }));
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

TEST(UiThreadStop, DropsWhatIsPendingAndRefusesWhatComesAfter) {
    qt_host::UiThread ui;
    Log log;
    Log* target = &log;
    int wakes = 0;
    ui.SetWakeHandler([&] { ++wakes; });
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(ui.Post([target, i] { Record(target, i); }));
    }
    ui.Stop();
    EXPECT_TRUE(ui.Stopped());
    EXPECT_FALSE(ui.Post([target] { Record(target, 99); }));
    qt_host::UiThread::Wake(&ui);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(log.values.empty());
    EXPECT_EQ(wakes, 0);
}

TEST(UiThreadStop, ATaskThatStopsEndsTheRunThere) {
    qt_host::UiThread ui;
    Log log;
    Log* target = &log;
    qt_host::UiThread* self = &ui;
    ASSERT_TRUE(ui.Post([target] { Record(target, 1); }));
    ASSERT_TRUE(ui.Post([self] { self->Stop(); }));
    ASSERT_TRUE(ui.Post([target] { Record(target, 3); }));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(log.values, std::vector<int>{1});
}

} // namespace

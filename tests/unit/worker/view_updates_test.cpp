// The hand-over of lamp changes and readings from the worker thread to the UI thread.
#include <gtest/gtest.h>

#include <thread>

#include "recording_view.h"
#include "worker/view_updates.h"

namespace {

using Kind = ViewUpdate::Kind;

TunerReading Numbered(int n) {
    return TunerReading{n % 13, n, 0};
}

TEST(ViewUpdates, DrainAppliesLampAndReadingInPushOrder) {
    ViewUpdates updates;
    RecordingView view;
    updates.PushLamp(true);
    updates.PushReading(TunerReading{9, 0, 1});
    updates.PushLamp(false);
    updates.PushReading(TunerReading{2, -3, -1});
    EXPECT_EQ(updates.Drain(view), 4);
    ASSERT_EQ(view.shown.size(), 4u);
    EXPECT_EQ(view.shown[0].kind, Kind::Lamp);
    EXPECT_TRUE(view.shown[0].lit);
    EXPECT_EQ(view.shown[1].kind, Kind::Reading);
    EXPECT_EQ(view.shown[1].reading.frame, 9);
    EXPECT_EQ(view.shown[1].reading.direction, 1);
    EXPECT_EQ(view.shown[2].kind, Kind::Lamp);
    EXPECT_FALSE(view.shown[2].lit);
    EXPECT_EQ(view.shown[3].reading.step, -3);
    EXPECT_EQ(updates.Drain(view), 0) << "each update is applied once";
}

TEST(ViewUpdates, FallingBehindKeepsTheNewestInOrder) {
    ViewUpdates updates;
    RecordingView view;
    constexpr int Pushed = ViewUpdates::Capacity + 5;
    for (int n = 0; n < Pushed; ++n) {
        updates.PushReading(Numbered(n));
    }
    ASSERT_EQ(updates.Drain(view), ViewUpdates::Capacity);
    for (int k = 0; k < ViewUpdates::Capacity; ++k) {
        EXPECT_EQ(view.shown[k].reading.step, Pushed - ViewUpdates::Capacity + k);
    }
    // The ring goes on working after wrapping.
    updates.PushLamp(true);
    EXPECT_EQ(updates.Drain(view), 1);
    EXPECT_EQ(view.shown.back().kind, Kind::Lamp);
}

TEST(ViewUpdates, StopDropsWhatIsPendingAndRefusesMore) {
    ViewUpdates updates;
    RecordingView view;
    CountingWaker waker;
    updates.SetWaker(&waker);
    updates.PushLamp(true);
    updates.PushReading(TunerReading{9, 0, 0});
    EXPECT_EQ(waker.wakes.load(), 2);
    updates.Stop();
    EXPECT_TRUE(updates.Stopped());
    EXPECT_EQ(updates.Drain(view), 0);
    updates.PushLamp(false);
    EXPECT_EQ(waker.wakes.load(), 2) << "no wake-up after Stop";
    EXPECT_EQ(updates.Drain(view), 0);
    EXPECT_TRUE(view.shown.empty());
}

// A window that stops the worker while applying an update gets nothing after that one.
class StoppingView : public RecordingView {
public:
    explicit StoppingView(ViewUpdates& updates) : updates_(updates) {}
    void ShowLamp(bool lit) override {
        RecordingView::ShowLamp(lit);
        updates_.Stop();
    }

private:
    ViewUpdates& updates_;
};

TEST(ViewUpdates, StopFromInsideAnUpdateEndsTheDrain) {
    ViewUpdates updates;
    StoppingView view(updates);
    updates.PushReading(TunerReading{1, 0, 0});
    updates.PushLamp(true);
    updates.PushReading(TunerReading{2, 0, 0});
    EXPECT_EQ(updates.Drain(view), 2);
    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(view.shown[1].kind, Kind::Lamp);
}

TEST(ViewUpdates, ConcurrentPushAndDrainStayInOrderWithoutRepeats) {
    ViewUpdates updates;
    RecordingView view;
    constexpr int Pushed = 20000;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int n = 0; n < Pushed; ++n) {
            updates.PushReading(Numbered(n));
        }
        done = true;
    });
    while (!done.load()) {
        updates.Drain(view);
    }
    worker.join();
    updates.Drain(view);
    ASSERT_FALSE(view.shown.empty());
    for (std::size_t k = 1; k < view.shown.size(); ++k) {
        ASSERT_LT(view.shown[k - 1].reading.step, view.shown[k].reading.step) << "at " << k;
    }
    EXPECT_EQ(view.shown.back().reading.step, Pushed - 1) << "the newest always arrives";
}

} // namespace

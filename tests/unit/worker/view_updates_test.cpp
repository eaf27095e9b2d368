// The hand-over of lamp changes and readings from the worker thread to the UI thread.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/support/worker/recording_view.h"
#include "worker/view_updates.h"

namespace {

using Kind = Shown::Kind;

TunerReading Numbered(int n) {
    return TunerReading{n % 13, n, 0};
}

class ViewUpdatesTest : public testing::Test {
protected:
    ViewUpdatesTest() { updates.SetWaker(&waker); }

    ViewUpdates updates;
    RecordingView view;
    CountingWaker waker;
};

TEST_F(ViewUpdatesTest, DrainAppliesLampAndReadingInPushOrder) {
    updates.PushBlock(true, TunerReading{9, 0, 1});
    EXPECT_EQ(waker.wakes.load(), 1) << "a block's lamp and reading wake the UI thread once";
    updates.PushBlock(false, TunerReading{2, -3, -1});
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

TEST_F(ViewUpdatesTest, FallingBehindKeepsTheNewestInOrder) {
    constexpr int Blocks = ViewUpdates::Capacity + 5;
    for (int n = 0; n < Blocks; ++n) {
        updates.PushBlock(n % 2 == 0, Numbered(n));
    }
    ASSERT_EQ(updates.Drain(view), 2 * ViewUpdates::Capacity);
    // Whole blocks, the newest: each lamp change still comes before its block's reading.
    for (int k = 0; k < 2 * ViewUpdates::Capacity; k += 2) {
        const int block = Blocks - ViewUpdates::Capacity + k / 2;
        EXPECT_EQ(view.shown[k].kind, Kind::Lamp);
        EXPECT_EQ(view.shown[k].lit, block % 2 == 0);
        EXPECT_EQ(view.shown[k + 1].reading.step, block);
    }
    // The ring goes on working after wrapping.
    updates.PushBlock(true, Numbered(1));
    EXPECT_EQ(updates.Drain(view), 2);
    EXPECT_EQ(view.shown.back().kind, Kind::Reading);
}

TEST_F(ViewUpdatesTest, StopDropsWhatIsPendingAndRefusesMore) {
    updates.PushBlock(true, TunerReading{9, 0, 0});
    EXPECT_EQ(waker.wakes.load(), 1);
    updates.Stop();
    EXPECT_TRUE(updates.Stopped());
    EXPECT_EQ(updates.Drain(view), 0);
    updates.PushBlock(false, TunerReading{9, 0, 0});
    EXPECT_EQ(waker.wakes.load(), 1) << "no wake-up after Stop";
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
    updates.PushBlock(true, TunerReading{1, 0, 0});
    updates.PushBlock(false, TunerReading{2, 0, 0});
    EXPECT_EQ(updates.Drain(view), 1);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].kind, Kind::Lamp);
}

TEST_F(ViewUpdatesTest, ConcurrentPushAndDrainStayInOrderWithoutRepeats) {
    constexpr int Pushed = 20000;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int n = 0; n < Pushed; ++n) {
            updates.PushBlock(true, Numbered(n));
        }
        done = true;
    });
    while (!done.load()) {
        updates.Drain(view);
    }
    worker.join();
    updates.Drain(view);
    std::vector<int> steps;
    for (const auto& shown : view.shown) {
        if (shown.kind == Kind::Reading) {
            steps.push_back(shown.reading.step);
        }
    }
    ASSERT_FALSE(steps.empty());
    for (std::size_t k = 1; k < steps.size(); ++k) {
        ASSERT_LT(steps[k - 1], steps[k]) << "at " << k;
    }
    EXPECT_EQ(steps.back(), Pushed - 1) << "the newest always arrives";
}

} // namespace

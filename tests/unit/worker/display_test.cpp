// The analysis worker on its own thread, over the real recorder, Fft and note identification,
// with a device the test completes block by block.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/dialogs/message_log.h"
#include "tests/support/wavein/fake_wave_in.h"
#include "tests/support/worker/recording_view.h"
#include "worker/display.h"

namespace {

using wavein_testing::FakeWaveIn;
using Kind = Shown::Kind;

constexpr double A2 = 110.0; // frame 9, step 0
constexpr double G3 = 196.0; // frame 7, step 0

class DisplayTest : public testing::Test {
protected:
    DisplayTest() { display.SetUpdateWaker(&waker); }

    // Starts the worker with the device's open notification already taken, so that from here
    // on each signal is one wake-up of the worker.
    void StartWorker() {
        ASSERT_TRUE(display.Start());
        ASSERT_TRUE(device.TakeSignal());
        display.Resume();
    }
    // Does `act`, which must succeed, and waits until the worker has pushed one block's lamp
    // change and reading.
    template <typename Act> void OneWake(Act act) {
        const int before = waker.wakes.load();
        ASSERT_TRUE(act());
        ASSERT_TRUE(Eventually([&] { return waker.wakes.load() == before + 1; }));
    }
    void FeedBlock(double hertz) {
        OneWake([&] { return device.CompleteBlock(hertz); });
    }
    std::vector<TunerReading> Readings() const {
        std::vector<TunerReading> readings;
        for (const Shown& update : view.shown) {
            if (update.kind == Kind::Reading) {
                readings.push_back(update.reading);
            }
        }
        return readings;
    }

    FakeWaveIn device; // outlives the worker, whose recorder closes it
    RecordingView view;
    CountingWaker waker;
    Display display{true, Display::BlockLength, Display::SampleRate, Display::FftLength, view};
};

TEST_F(DisplayTest, SignalWithoutCompletedBlockShowsNothing) {
    StartWorker();
    device.Signal();
    ASSERT_TRUE(Eventually([this] { return !device.SignalWaiting(); }));
    // Wake-ups are handled in order: once the next block's updates are out, so is anything of
    // the stray signal's, and only the block may show.
    FeedBlock(A2);
    EXPECT_EQ(display.DeliverUpdates(), 2);
    EXPECT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(device.Unprepares(), 1) << "no block may be taken from the device but the one done";
    EXPECT_EQ(view.Reads(), 1);
}

TEST_F(DisplayTest, LampShowsOnOffOnOffAndEachBlockItsReading) {
    StartWorker();
    for (int block = 0; block < 4; ++block) {
        FeedBlock(A2);
    }
    EXPECT_EQ(display.DeliverUpdates(), 8);
    ASSERT_EQ(view.shown.size(), 8u);
    for (int block = 0; block < 4; ++block) {
        const Shown& lamp = view.shown[2 * block];
        const Shown& reading = view.shown[2 * block + 1];
        ASSERT_EQ(lamp.kind, Kind::Lamp) << "block " << block;
        EXPECT_EQ(lamp.lit, block % 2 == 0) << "block " << block;
        ASSERT_EQ(reading.kind, Kind::Reading) << "block " << block;
        EXPECT_EQ(reading.reading.frame, 9);
        EXPECT_EQ(reading.reading.step, 0);
    }
    // The device got every block back but the one held for the next analysis.
    EXPECT_EQ(device.Queued(), 7);
}

TEST_F(DisplayTest, TwoBlocksUnderOneSignalAreTakenOnePerSignal) {
    StartWorker();
    OneWake([&] { return device.CompleteBlocks({A2, G3}); }); // one signal for both
    EXPECT_EQ(display.DeliverUpdates(), 2);
    ASSERT_EQ(Readings().size(), 1u);
    EXPECT_EQ(Readings()[0].frame, 9) << "the older block comes first";

    OneWake([&] { // the next setting takes the block left over
        device.Signal();
        return true;
    });
    EXPECT_EQ(display.DeliverUpdates(), 2);
    ASSERT_EQ(Readings().size(), 2u);
    EXPECT_EQ(Readings()[1].frame, 7);
    EXPECT_FALSE(view.shown[2].lit);
}

TEST_F(DisplayTest, StopWhileWaitingEndsTheThreadWithoutTakingAnotherBlock) {
    StartWorker();
    FeedBlock(A2);
    display.Stop();
    ASSERT_TRUE(device.CompleteBlock(A2)); // completes, but Stop came first
    ASSERT_TRUE(Eventually([this] { return display.Finished(); }));
    display.WaitFor();
    EXPECT_EQ(device.Unprepares(), 1);
    EXPECT_EQ(waker.wakes.load(), 1) << "one wake for the block's updates, none after Stop";
    EXPECT_EQ(display.DeliverUpdates(), 0) << "nothing reaches the window after Stop";
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DisplayTest, StopWhileProcessingRunsTheBlockButDropsItsUpdates) {
    StartWorker();
    view.Select(0); // E6: a 110 Hz A lies below it, tune up
    view.HoldNextRead();
    ASSERT_TRUE(device.CompleteBlock(A2));
    view.WaitUntilHeld(); // the lamp change is already out, the reading not yet
    display.Stop();
    view.Release();
    ASSERT_TRUE(Eventually([this] { return display.Finished(); }));
    display.WaitFor();

    EXPECT_EQ(device.Unprepares(), 1);
    EXPECT_EQ(display.DeliverUpdates(), 0);
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DisplayTest, DirectionFollowsTheSelectedStringReadOncePerBlock) {
    StartWorker();
    FeedBlock(A2); // nothing selected
    view.Select(0);
    FeedBlock(A2); // E6: tune up
    view.Select(1);
    FeedBlock(A2); // A5: in tune
    view.Select(4);
    FeedBlock(A2); // B2: tune up
    view.Select(-1);
    FeedBlock(G3); // nothing selected
    display.DeliverUpdates();
    const std::vector<TunerReading> readings = Readings();
    ASSERT_EQ(readings.size(), 5u);
    EXPECT_EQ(readings[0].direction, 0);
    EXPECT_EQ(readings[1].direction, 1);
    EXPECT_EQ(readings[2].direction, 0);
    EXPECT_EQ(readings[3].direction, 1);
    EXPECT_EQ(readings[4].direction, 0);
    EXPECT_EQ(view.Reads(), 5);
}

TEST(DisplayStart, ABlockCompletedWhileStartRunsWaitsUntilStartHasReturned) {
    using wavein_testing::Call;
    wavein_testing::FakeWaveIn device;
    RecordingView view;
    Display display{true, Display::BlockLength, Display::SampleRate, Display::FftLength, view};
    display.Resume();
    int readsDuringStart = -1;
    device.SetCallHook([&](Call call) {
        if (call != Call::Start) {
            return;
        }
        // The device runs from here and fills the first block at once, inside Start. A worker
        // not kept out by the lock would take it now: give it half a second to show itself.
        ASSERT_TRUE(device.CompleteHead());
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (view.Reads() == 0 && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        readsDuringStart = view.Reads();
    });
    ASSERT_TRUE(display.Start());
    device.SetCallHook(nullptr);
    EXPECT_EQ(readsDuringStart, 0) << "a block was processed while Start held the recorder";

    // Once Start has returned, the block is taken and shown.
    ASSERT_TRUE(Eventually([&] {
        display.DeliverUpdates();
        return view.shown.size() == 2;
    }));
    const auto calls = device.Calls();
    const auto started = std::find_if(calls.begin(), calls.end(),
                                      [](const auto& c) { return c.call == Call::Start; });
    const auto firstUnprepare = std::find_if(
        calls.begin(), calls.end(), [](const auto& c) { return c.call == Call::Unprepare; });
    ASSERT_NE(firstUnprepare, calls.end());
    EXPECT_LT(started - calls.begin(), firstUnprepare - calls.begin());
    display.Stop();
    display.WaitFor();
}

TEST(DisplayShutdown, DestroyingARunningWorkerStopsJoinsAndClosesTheDevice) {
    FakeWaveIn device;
    RecordingView view;
    auto worker = std::make_unique<Display>(true, Display::BlockLength, Display::SampleRate,
                                            Display::FftLength, view);
    worker->Resume();
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(device.CompleteBlock(A2));
    // No Stop: the destructor must neither hang nor pull members from under a running Execute.
    worker.reset();
    EXPECT_FALSE(device.IsOpen());
}

TEST(DisplayShutdown, NotSuspendedRunsAtOnceAndStartFailureIsTheRecordersToTell) {
    MessageLog messages;
    RecordingView view;
    {
        const WaveInBackend* previous = SelectWaveInBackend(&NullWaveInBackend());
        Display display(false, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
        EXPECT_FALSE(display.Start());
        display.Stop();
        display.WaitFor();
        EXPECT_TRUE(display.Finished()) << "created running, it ended at Stop";
        EXPECT_EQ(display.DeliverUpdates(), 0);
        SelectWaveInBackend(previous);
    }
    EXPECT_EQ(messages.shown.size(), 1u) << "one message, the recorder's";
    EXPECT_EQ(view.Reads(), 0);
}

} // namespace

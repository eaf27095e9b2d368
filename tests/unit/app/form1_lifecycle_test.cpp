// The main window's start-up checks and the worker's start and stop, over a scripted wave-input
// device: the messages and their order, what reaches the window, and that nothing does after
// the window has gone.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/form1_lifecycle.h"
#include "tests/support/dialogs/message_log.h"
#include "tests/support/wavein/fake_wave_in.h"
#include "tests/support/worker/recording_view.h"
#include "tests/unit/ui/shown_reading.h"
#include "ui/tform1.h"

namespace {

using wavein_testing::Call;

// Counts the worker's wakes and keeps the drain the lifecycle gives it, as a host's waker would.
class HostWaker final : public DrainingWaker {
public:
    void Wake() override { wakes.fetch_add(1); }
    void SetDrain(UpdateDrain* to) override { drain = to; }
    std::atomic<int> wakes{0};
    UpdateDrain* drain = nullptr;
};

class Form1LifecycleTest : public testing::Test {
protected:
    void Create() {
        lifecycle = std::make_unique<Form1Lifecycle>(form, waker);
        lifecycle->FormCreate();
    }

    // What a wake-up on the UI thread runs.
    int Deliver() {
        EXPECT_NE(waker.drain, nullptr) << "the waker has nothing to drain";
        return waker.drain != nullptr ? waker.drain->DeliverUpdates() : 0;
    }

    // Feeds one block and applies what the worker made of it, as the UI thread would.
    int FeedAndDeliver(double hertz) {
        const int before = waker.wakes.load();
        EXPECT_TRUE(device.CompleteBlock(hertz));
        // A lamp change and a reading: one wake.
        EXPECT_TRUE(Eventually([&] { return waker.wakes.load() >= before + 1; }));
        return Deliver();
    }

    wavein_testing::FakeWaveIn device;
    MessageLog messages; // outlives the lifecycle, whose worker may still show one
    HostWaker waker;
    TForm1 form;
    std::unique_ptr<Form1Lifecycle> lifecycle;
};

// With no sound server at all, the three start-up messages in order and the program's end are
// tuner_e2e_test's.
TEST_F(Form1LifecycleTest, WhenCaptureCannotStartOnlyTheRecorderSpeaksAndTheWindowStays) {
    // The device is there and its capabilities read; opening it fails, held elsewhere or
    // refusing the format.
    struct Failure {
        MMRESULT query;
        MMRESULT open;
        const char* text;
    };
    const Failure failures[] = {
        {MMSYSERR_NOERROR, MMSYSERR_ALLOCATED,
         "Another application is recording audio. Stop recording with this other application "
         "and then try to record with Sonarith again."},
        {WAVERR_BADFORMAT, MMSYSERR_NOERROR, "Format not supported"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.text);
        messages.shown.clear();
        device.SetQueryResult(failure.query);
        device.SetOpenResult(failure.open);
        Create();
        EXPECT_EQ(messages.shown, (std::vector<ShownBox>{{failure.text, "Recorder", MB_OK}}));
        EXPECT_FALSE(lifecycle->CloseRequested());
        EXPECT_FALSE(device.IsOpen());
        // Sound arriving anyway makes no block: no lamp change, no reading.
        EXPECT_FALSE(device.CompleteBlock(110.0));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(Deliver(), 0);
        EXPECT_EQ(waker.wakes.load(), 0);
        EXPECT_TRUE(form.Off.Visible());
        EXPECT_EQ(shown_reading::Frame(form), 12);
        lifecycle.reset();
    }
}

TEST_F(Form1LifecycleTest, WithADeviceCaptureStartsAndEachBlockReachesTheWindow) {
    Create();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(lifecycle->CloseRequested());
    // The format and flags it opens with are RecorderTest's.
    EXPECT_TRUE(device.IsOpen());

    // 110 Hz: A, in tune; no string selected, so no arrow.
    EXPECT_EQ(FeedAndDeliver(110.0), 2);
    EXPECT_TRUE(form.On.Visible());
    EXPECT_FALSE(form.Off.Visible());
    EXPECT_EQ(shown_reading::Frame(form), 9);
    EXPECT_EQ(shown_reading::LitBar(form), 5);
    EXPECT_FALSE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());

    // The lamp goes out with the next block, whose reading tunes toward the string picked in
    // the window: A lies below the low E's target, tune up.
    form.IE6NClick(form.E6);
    ASSERT_EQ(form.SelectedString(), 0);
    EXPECT_EQ(FeedAndDeliver(110.0), 2);
    EXPECT_TRUE(form.Off.Visible());
    EXPECT_FALSE(form.On.Visible());
    EXPECT_TRUE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
    // Destroyed with no explicit stop, it still closes the device.
    lifecycle.reset();
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(Form1LifecycleTest, AfterTheWindowIsDestroyedNothingReachesItAndTheDeviceCloses) {
    Create();
    FeedAndDeliver(110.0);
    ASSERT_TRUE(form.On.Visible());
    lifecycle->FormDestroy();
    device.CompleteBlock(220.0);
    // Whatever the worker still did is dropped.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Deliver(), 0);
    EXPECT_TRUE(form.On.Visible());
    EXPECT_EQ(shown_reading::Frame(form), 9);

    // The worker is gone: its recorder closed the device, and a wake-up still pending drains
    // nothing.
    lifecycle->JoinWorker();
    EXPECT_EQ(waker.drain, nullptr);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.CallsOf(Call::Close).size(), 1u);
    // Joining twice, or destroying after joining, does nothing more.
    lifecycle->JoinWorker();
    lifecycle.reset();
    EXPECT_EQ(device.CallsOf(Call::Close).size(), 1u);
}

} // namespace

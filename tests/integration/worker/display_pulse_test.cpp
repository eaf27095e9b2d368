// A whole run of the analysis worker against a real sound server playing a steady 110 Hz tone:
// the real wave-input layer, recorder, Fft and note identification, with the test thread as the
// UI thread that applies the worker's updates when woken.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/pulse/pulse_server.h"
#include "tests/support/worker/recording_view.h"
#include "worker/display.h"

namespace {

// What a UI thread's event loop does with the worker's wake-ups, in miniature.
class UiWakeUps final : public UiWaker {
public:
    void Wake() override { Post(); }

    // Waits for a wake-up; false after `patience` without one.
    bool Wait(std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, patience, [this] { return pending_ > 0; })) {
            return false;
        }
        pending_ = 0;
        return true;
    }

private:
    void Post() {
        std::lock_guard lock(mutex_);
        ++pending_;
        posted_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable posted_;
    int pending_ = 0;
};

TEST(DisplayWithPulseAudio, SteadyToneGivesNoteAOneReadingPerBlockInOrder) {
    testsupport::PulseServer server;
    ASSERT_TRUE(server.Running()) << server.Failure();
    // A steady tone from the first sample on: a sine source, made the default (device 0).
    ASSERT_FALSE(
        server.Pactl("load-module module-sine-source source_name=tone frequency=110").empty());
    server.Pactl("set-default-source tone");
    ASSERT_NE(server.Pactl("info").find("Default Source: tone"), std::string::npos);
    server.UseInThisProcess();

    RecordingView view;
    view.Select(0); // E6: an A lies below it
    UiWakeUps wakeUps;
    Display display(true, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
    display.SetUpdateWaker(&wakeUps);
    display.Resume();
    ASSERT_TRUE(display.Start());

    // Six blocks of 4096 samples at 11025 Hz take about 2.2 s of sound.
    constexpr std::size_t Blocks = 6;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (view.shown.size() < 2 * Blocks && std::chrono::steady_clock::now() < deadline) {
        if (wakeUps.Wait(std::chrono::milliseconds(500))) {
            display.DeliverUpdates();
        }
    }
    display.Stop();
    const std::size_t seenAtStop = view.shown.size();
    display.WaitFor();
    EXPECT_EQ(display.DeliverUpdates(), 0) << "nothing reaches the window after Stop";
    EXPECT_EQ(view.shown.size(), seenAtStop);

    ASSERT_GE(view.shown.size(), 2 * Blocks) << "blocks stopped arriving";
    // One lamp change then one reading per block, the lamp lit on the first. (A block caught by
    // Stop between its two may leave its lamp change alone at the end.)
    for (std::size_t k = 0; k + 1 < view.shown.size(); k += 2) {
        const std::size_t block = k / 2;
        ASSERT_EQ(view.shown[k].kind, Shown::Kind::Lamp) << "block " << block;
        EXPECT_EQ(view.shown[k].lit, block % 2 == 0) << "block " << block;
        ASSERT_EQ(view.shown[k + 1].kind, Shown::Kind::Reading) << "block " << block;
        const TunerReading& reading = view.shown[k + 1].reading;
        EXPECT_EQ(reading.frame, 9) << "block " << block;
        EXPECT_EQ(reading.step, 0) << "block " << block;
        EXPECT_EQ(reading.direction, 1) << "block " << block;
    }
}

} // namespace

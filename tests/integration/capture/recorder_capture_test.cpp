// The tuner's worker capturing a real sound through a real sound server (PulseAudio, or PipeWire
// with its PulseAudio service): a tone played into the null sink is heard from its monitor,
// block after block, and named. A server that dies or stalls mid-capture must not take the
// program down with it, and one that restarts is heard again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/dialogs/message_log.h"
#include "tests/support/eventually.h"
#include "tests/support/pulse/pulse_server.h"
#include "worker/display.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct HeardBlock {
    TunerReading reading;
    Clock::time_point taken; // when the worker asked for the string, in the middle of the block
};

// The window's side of the worker, with the low E picked: notes when each block is taken and
// what it showed.
class HearingView : public TunerView {
public:
    int SelectedString() const override {
        std::lock_guard lock(mutex_);
        taken_.push_back(Clock::now());
        return 0;
    }
    void ShowLamp(bool) override {}
    void ShowReading(const TunerReading& reading) override {
        std::lock_guard lock(mutex_);
        readings_.push_back(reading);
    }

    std::vector<HeardBlock> Heard() const {
        std::lock_guard lock(mutex_);
        std::vector<HeardBlock> heard;
        for (std::size_t k = 0; k < readings_.size() && k < taken_.size(); ++k) {
            heard.push_back({readings_[k], taken_[k]});
        }
        return heard;
    }
    std::size_t Taken() const {
        std::lock_guard lock(mutex_);
        return taken_.size();
    }

private:
    mutable std::mutex mutex_;
    mutable std::vector<Clock::time_point> taken_;
    std::vector<TunerReading> readings_;
};

// The worker with the test thread as its UI thread, applying its updates.
class Listener final {
public:
    ~Listener() { Shutdown(); }

    bool Start() {
        display_->Resume();
        return display_->Start();
    }
    // Applies updates until `count` blocks were shown or `timeout` passed; true if they were.
    bool WaitForBlocks(std::size_t count, std::chrono::milliseconds timeout) {
        return Eventually(
            [&] {
                display_->DeliverUpdates();
                return view_.Heard().size() >= count;
            },
            timeout);
    }
    // Blocks taken by the worker so far, shown or not.
    std::size_t Taken() const { return view_.Taken(); }
    std::vector<HeardBlock> Heard() const { return view_.Heard(); }
    // Stop, join and destroy the worker, which closes the device.
    void Shutdown() {
        if (display_) {
            display_->Stop();
            display_->WaitFor();
            display_.reset();
        }
    }

private:
    HearingView view_;
    std::unique_ptr<Display> display_ = std::make_unique<Display>(
        true, Display::BlockLength, Display::SampleRate, Display::FftLength, view_);
};

class RecorderCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << server_.Failure();
        server_.UseInThisProcess();
        tone_ = files_.Path() + "/tone.wav";
        ASSERT_TRUE(testsupport::WriteSineWav(tone_, 110, 20));
    }

    testsupport::PulseServer server_;
    testsupport::TempDir files_;
    std::string tone_;
    MessageLog messages_;
};

TEST_F(RecorderCapture, APlayedToneIsHeardBlockAfterBlockAndNamed) {
    Listener worker;
    ASSERT_TRUE(worker.Start()) << (messages_.shown.empty() ? "" : messages_.shown[0].text);
    testsupport::ChildProcess player = server_.Play(tone_);
    ASSERT_TRUE(player.Started());

    ASSERT_TRUE(worker.WaitForBlocks(14, 20s)) << worker.Heard().size() << " blocks";
    worker.Shutdown();
    const std::vector<HeardBlock> heard = worker.Heard();

    // The first blocks may predate the player; from then on every block hears the tone:
    // bin 41 of 4096 at 11025 Hz, 110 Hz, the note A exactly, below the low E: tune up.
    for (std::size_t k = 4; k < heard.size(); ++k) {
        EXPECT_EQ(heard[k].reading.frame, 9) << "block " << k;
        EXPECT_EQ(heard[k].reading.step, 0) << "block " << k;
        EXPECT_EQ(heard[k].reading.direction, 1) << "block " << k;
    }
    // The source delivers in real time, one block per 4096 samples: the blocks cannot come
    // faster than the sound, though a worker held up by a busy machine may take a block or two
    // late and then catch up from the ring. Slower is bounded by the wait above.
    const double period = static_cast<double>(Display::BlockLength) / Display::SampleRate;
    const double seconds =
        std::chrono::duration<double>(heard.back().taken - heard[4].taken).count();
    EXPECT_GE(seconds, (static_cast<double>(heard.size() - 5) - 2) * period);
    EXPECT_TRUE(messages_.shown.empty());
}

// A hang guard, not a speed target: stopping must not wait on the server.
void ExpectStopsPromptly(Listener& worker) {
    const auto started = Clock::now();
    worker.Shutdown();
    EXPECT_LT(Clock::now() - started, 2s);
}

// Servers are restarted by package upgrades and by users: the worker hears the new one on its
// own, with no message, and can still be stopped while no server is there. The server goes
// while the tone plays and comes back in silence: the block begun before is not completed
// after, so the first one from the new server names no note.
TEST_F(RecorderCapture, AServerThatRestartsIsHeardAgainWithoutAWord) {
    Listener worker;
    ASSERT_TRUE(worker.Start());
    auto player = std::make_unique<testsupport::ChildProcess>(server_.Play(tone_));
    ASSERT_TRUE(worker.WaitForBlocks(6, 10s));

    server_.Kill();
    player.reset();
    std::this_thread::sleep_for(500ms);
    const std::size_t before = worker.Taken();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(worker.Taken(), before) << "a block arrived from a dead server";
    server_.Restart();
    ASSERT_TRUE(server_.Running()) << server_.Failure();
    const auto back = Clock::now();

    // Back by itself: a retry, a connection and a block of sound (a PulseAudio just started
    // holds a new stream's first sound for almost 2 s itself; PipeWire resumes in about 0.5 s).
    // The bound only ends a wait that would never end; the time taken is printed.
    ASSERT_TRUE(worker.WaitForBlocks(before + 1, 20s)) << "no block from the new server";
    const auto resumed = Clock::now() - back;
    EXPECT_EQ(worker.Heard()[before].reading.frame, TunerReading::NoNoteFrame)
        << "sound from before the loss";
    player = std::make_unique<testsupport::ChildProcess>(server_.Play(tone_));
    ASSERT_TRUE(worker.WaitForBlocks(before + 5, 20s));
    const TunerReading last = worker.Heard().back().reading;
    EXPECT_EQ(last.frame, 9);
    EXPECT_EQ(last.step, 0);
    EXPECT_EQ(server_.SourceOutputs(), std::vector<std::string>{"Vibralon"});
    EXPECT_TRUE(messages_.shown.empty());
    std::printf("blocks resumed %.2f s after the server was back\n",
                std::chrono::duration<double>(resumed).count());

    server_.Kill();
    std::this_thread::sleep_for(600ms); // a retry or two under way
    ExpectStopsPromptly(worker);
}

// Stopping at once, before the connection has noticed its end, writes to a dead socket: that
// must not raise SIGPIPE.
TEST_F(RecorderCapture, StoppingRightAfterTheServerDiedIsSafe) {
    Listener worker;
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.WaitForBlocks(1, 5s));
    server_.Kill();
    ExpectStopsPromptly(worker);
}

TEST_F(RecorderCapture, AServerThatStallsMidCaptureLeavesTheRecorderAbleToStop) {
    Listener worker;
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.WaitForBlocks(2, 5s));

    server_.Stall();
    std::this_thread::sleep_for(1s);
    ExpectStopsPromptly(worker);
    server_.Resume();
}

} // namespace

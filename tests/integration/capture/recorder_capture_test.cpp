// The recorder capturing a real sound through a real sound server (PulseAudio, or PipeWire with
// its PulseAudio service): a tone played into the null sink is heard from its monitor, block
// after block, and the analysis names its note. A server that dies or stalls mid-capture must
// not take the program down with it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "analysis/identify_note.h"
#include "capture/recorder_m16.h"
#include "listening_worker.h"
#include "platform/posix/desktop_services.h"
#include "tests/support/pulse/pulse_server.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int SamplesPerBlock = 4096;
constexpr int SampleRate = 11025;

class RecorderCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << server_.Failure();
        server_.UseInThisProcess();
        previous_ = desktop::SetMessageBoxHandler(
            [this](const std::string& text, const std::string&, unsigned) {
                shown_.push_back(text);
                return IDOK;
            });
        tone_ = files_.Path() + "/tone.wav";
        ASSERT_TRUE(testsupport::WriteSineWav(tone_, 110, 20));
    }
    void TearDown() override { desktop::SetMessageBoxHandler(previous_); }

    testsupport::PulseServer server_;
    testsupport::TempDir files_;
    std::string tone_;
    std::vector<std::string> shown_;
    desktop::MessageBoxHandler previous_;
};

TEST_F(RecorderCapture, APlayedToneIsHeardBlockAfterBlockAndNamed) {
    RecorderM16 recorder(SamplesPerBlock, SampleRate);
    ListeningWorker worker(recorder);
    ASSERT_TRUE(worker.Start()) << (shown_.empty() ? "" : shown_[0]);
    testsupport::ChildProcess player = server_.Play(tone_);
    ASSERT_TRUE(player.Started());

    ASSERT_TRUE(worker.WaitForBlocks(14, 20s)) << worker.Heard().size() << " blocks";
    worker.Stop();
    const std::vector<HeardBlock> heard = worker.Heard();

    for (std::size_t k = 0; k < heard.size(); ++k) {
        EXPECT_EQ(heard[k].position, static_cast<int>(k % 8)) << "block " << k;
    }
    // The first blocks may predate the player; from then on every block hears the tone:
    // bin 41 of 4096 at 11025 Hz, 110 Hz, the note A.
    for (std::size_t k = 4; k < heard.size(); ++k) {
        EXPECT_EQ(heard[k].frequency, 110) << "block " << k;
    }
    const TunerReading reading = IdentifyNote(heard.back().frequency, -1);
    EXPECT_EQ(reading.frame, 9);
    EXPECT_EQ(reading.step, 0);
    // The source delivers in real time, so blocks come one per 4096 samples, about 0.37 s.
    const double seconds =
        std::chrono::duration<double>(heard.back().taken - heard[4].taken).count() /
        static_cast<double>(heard.size() - 5);
    EXPECT_NEAR(seconds, 4096.0 / 11025.0, 0.06);
    EXPECT_TRUE(shown_.empty());
}

// A hang guard, not a speed target: stopping must not wait on the server.
void ExpectStopsPromptly(std::unique_ptr<ListeningWorker>& worker,
                         std::unique_ptr<RecorderM16>& recorder) {
    const auto started = Clock::now();
    worker->Stop();
    worker.reset();
    recorder.reset();
    EXPECT_LT(Clock::now() - started, 2s);
}

TEST_F(RecorderCapture, AServerThatDiesMidCaptureLeavesTheRecorderAbleToStop) {
    auto recorder = std::make_unique<RecorderM16>(SamplesPerBlock, SampleRate);
    auto worker = std::make_unique<ListeningWorker>(*recorder);
    ASSERT_TRUE(worker->Start());
    testsupport::ChildProcess player = server_.Play(tone_);
    ASSERT_TRUE(worker->WaitForBlocks(2, 5s));

    server_.Kill();
    std::this_thread::sleep_for(500ms);
    const std::size_t before = worker->Heard().size();
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(worker->Heard().size(), before) << "no block arrives from a dead server";
    EXPECT_EQ(recorder->DeviceStatus(), 0u);
    ExpectStopsPromptly(worker, recorder);
}

// Servers are restarted by package upgrades and by users: the recorder hears the new one on its
// own, in the same ring, with no message, and can still be stopped while no server is there.
TEST_F(RecorderCapture, AServerThatRestartsIsHeardAgainWithoutAWord) {
    auto recorder = std::make_unique<RecorderM16>(SamplesPerBlock, SampleRate);
    auto worker = std::make_unique<ListeningWorker>(*recorder);
    ASSERT_TRUE(worker->Start());
    auto player = std::make_unique<testsupport::ChildProcess>(server_.Play(tone_));
    ASSERT_TRUE(worker->WaitForBlocks(6, 10s));
    ASSERT_EQ(worker->Heard().back().frequency, 110);

    server_.Kill();
    player.reset();
    std::this_thread::sleep_for(1s);
    const std::size_t before = worker->Heard().size();
    server_.Restart();
    ASSERT_TRUE(server_.Running()) << server_.Failure();
    const auto back = Clock::now();
    player = std::make_unique<testsupport::ChildProcess>(server_.Play(tone_));

    // Back soon: a retry, a connection and a block of sound (a PulseAudio just started holds a
    // new stream's first sound for almost 2 s itself; PipeWire resumes in about 0.5 s).
    ASSERT_TRUE(worker->WaitForBlocks(before + 1, 3s)) << "no block from the new server";
    const auto resumed = Clock::now() - back;
    ASSERT_TRUE(worker->WaitForBlocks(before + 4, 5s));
    const std::vector<HeardBlock> heard = worker->Heard();
    for (std::size_t k = 0; k < heard.size(); ++k) {
        EXPECT_EQ(heard[k].position, static_cast<int>(k % 8)) << "block " << k;
    }
    EXPECT_EQ(heard.back().frequency, 110);
    EXPECT_EQ(server_.SourceOutputs(), std::vector<std::string>{"Vibralon"});
    EXPECT_EQ(recorder->DeviceStatus(), 0u);
    EXPECT_TRUE(shown_.empty());
    std::printf("blocks resumed %.2f s after the server was back\n",
                std::chrono::duration<double>(resumed).count());

    server_.Kill();
    std::this_thread::sleep_for(600ms); // a retry or two under way
    ExpectStopsPromptly(worker, recorder);
}

// Stopping at once, before the connection has noticed its end, writes to a dead socket: that
// must not raise SIGPIPE.
TEST_F(RecorderCapture, StoppingRightAfterTheServerDiedIsSafe) {
    auto recorder = std::make_unique<RecorderM16>(SamplesPerBlock, SampleRate);
    auto worker = std::make_unique<ListeningWorker>(*recorder);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(worker->WaitForBlocks(1, 5s));
    server_.Kill();
    ExpectStopsPromptly(worker, recorder);
}

TEST_F(RecorderCapture, AServerThatStallsMidCaptureLeavesTheRecorderAbleToStop) {
    auto recorder = std::make_unique<RecorderM16>(SamplesPerBlock, SampleRate);
    auto worker = std::make_unique<ListeningWorker>(*recorder);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(worker->WaitForBlocks(2, 5s));

    server_.Stall();
    std::this_thread::sleep_for(1s);
    ExpectStopsPromptly(worker, recorder);
    server_.Resume();
}

} // namespace

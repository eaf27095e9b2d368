// The recorder against a scripted device: the format it asks for, the ring of blocks it keeps
// with the device, and what the user is told when the device fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"
#include "tests/support/dialogs/message_log.h"
#include "tests/support/wavein/fake_wave_in.h"

namespace {

using wavein_testing::Call;
using wavein_testing::FakeWaveIn;
using wavein_testing::RecordedCall;

class RecorderTest : public ::testing::Test {
protected:
    void TearDown() override { CloseHandle(event_); }

    std::ptrdiff_t Offset(const RecorderM16& recorder, const char* data) const {
        return data - recorder.BlockData(0);
    }

    // The device fills the current block; the worker takes it.
    void TakeBlock(RecorderM16& recorder, char fill = 0) {
        ASSERT_TRUE(device_.CompleteHead(fill));
        ASSERT_TRUE(recorder.CurrentBlockDone());
        recorder.BlockDone();
    }

    FakeWaveIn device_;
    HANDLE event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    MessageLog messages_;
};

TEST_F(RecorderTest, AsksForSixteenBitMonoAtItsRateFirstAsAQuery) {
    RecorderM16 recorder(4096, 11025);
    EXPECT_EQ(recorder.BlockBytes(), 8192);
    EXPECT_EQ(recorder.BlockData(7) + 8192 - recorder.BlockData(0), 65536);
    EXPECT_TRUE(device_.Calls().empty()) << "construction touches no device";

    ASSERT_TRUE(recorder.Start(event_));
    const auto opens = device_.CallsOf(Call::Open);
    ASSERT_EQ(opens.size(), 2u);
    for (const RecordedCall& open : opens) {
        ASSERT_TRUE(open.format.has_value());
        const WAVEFORMATEX& format = *open.format;
        EXPECT_EQ(format.wFormatTag, 1);
        EXPECT_EQ(format.nChannels, 1);
        EXPECT_EQ(format.nSamplesPerSec, 11025u);
        EXPECT_EQ(format.nAvgBytesPerSec, 22050u);
        EXPECT_EQ(format.nBlockAlign, 2);
        EXPECT_EQ(format.wBitsPerSample, 16);
        EXPECT_EQ(format.cbSize, 0);
        EXPECT_EQ(open.device, 0u);
    }
    EXPECT_FALSE(opens[0].handleGiven);
    EXPECT_EQ(opens[0].flags, WAVE_FORMAT_QUERY);
    EXPECT_EQ(opens[0].callback, 0u);
    EXPECT_TRUE(opens[1].handleGiven);
    EXPECT_EQ(opens[1].flags, CALLBACK_EVENT);
    EXPECT_EQ(opens[1].callback, reinterpret_cast<DWORD_PTR>(event_));
    EXPECT_TRUE(device_.IsOpen());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(RecorderTest, StartQueuesBlocksZeroToSixAndLeavesSevenIdle) {
    RecorderM16 recorder(4096, 11025);
    ASSERT_TRUE(recorder.Start(event_));

    const auto adds = device_.CallsOf(Call::AddBuffer);
    ASSERT_EQ(adds.size(), 7u);
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(adds[k].header, &recorder.Header(k));
        EXPECT_EQ(Offset(recorder, adds[k].headerAtCall.lpData), 8192 * k);
        EXPECT_EQ(adds[k].headerAtCall.dwBufferLength, 8192u);
        EXPECT_EQ(adds[k].headerAtCall.dwLoops, 0u);
        EXPECT_EQ(adds[k].size, sizeof(WAVEHDR));
        EXPECT_TRUE(recorder.Header(k).dwFlags & WHDR_INQUEUE);
    }
    const auto prepares = device_.CallsOf(Call::Prepare);
    ASSERT_EQ(prepares.size(), 7u);
    for (const RecordedCall& prepare : prepares) {
        EXPECT_EQ(prepare.headerAtCall.dwFlags, 0u) << "flags cleared before preparing";
    }
    EXPECT_FALSE(recorder.Header(7).dwFlags & (WHDR_INQUEUE | WHDR_PREPARED));
    EXPECT_EQ(recorder.Current(), 0);
    EXPECT_EQ(device_.Calls().back().call, Call::Start) << "recording starts after queueing";
}

TEST_F(RecorderTest, BlockDoneTakesTheCurrentBlockAndRequeuesThePreviousOne) {
    RecorderM16 recorder(4096, 11025);
    ASSERT_TRUE(recorder.Start(event_));
    ASSERT_TRUE(device_.CompleteHead());
    ASSERT_TRUE(recorder.CurrentBlockDone());
    device_.ClearCalls();

    recorder.BlockDone();
    auto calls = device_.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].call, Call::Unprepare);
    EXPECT_EQ(calls[0].header, &recorder.Header(0));
    EXPECT_EQ(calls[1].call, Call::Prepare);
    EXPECT_EQ(calls[2].call, Call::AddBuffer);
    EXPECT_EQ(calls[2].header, &recorder.Header(7));
    EXPECT_EQ(Offset(recorder, calls[2].headerAtCall.lpData), 57344);
    EXPECT_EQ(recorder.Current(), 1);

    for (int k = 1; k < 7; ++k) {
        TakeBlock(recorder);
    }
    ASSERT_EQ(recorder.Current(), 7);
    ASSERT_TRUE(device_.CompleteHead());
    device_.ClearCalls();
    recorder.BlockDone();
    calls = device_.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].header, &recorder.Header(7));
    EXPECT_EQ(calls[2].header, &recorder.Header(6));
    EXPECT_EQ(recorder.Current(), 0);

    // Second time round, block 0 hands block 7 back, its header set afresh whatever the device
    // left in it: the whole block, no flags (not even done), no loops.
    auto& held = const_cast<WAVEHDR&>(recorder.Header(7));
    held.dwBufferLength = 100;
    held.dwLoops = 3;
    ASSERT_TRUE(held.dwFlags & WHDR_DONE);
    ASSERT_TRUE(device_.CompleteHead());
    device_.ClearCalls();
    recorder.BlockDone();
    calls = device_.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].header, &recorder.Header(0));
    EXPECT_EQ(recorder.Current(), 1);
    for (const RecordedCall& requeued : {calls[1], calls[2]}) {
        EXPECT_EQ(requeued.header, &recorder.Header(7));
        EXPECT_EQ(Offset(recorder, requeued.headerAtCall.lpData), 57344);
        EXPECT_EQ(requeued.headerAtCall.dwBufferLength, 8192u);
        EXPECT_EQ(requeued.headerAtCall.dwLoops, 0u);
    }
    EXPECT_EQ(calls[1].headerAtCall.dwFlags, 0u) << "flags cleared before preparing";
}

TEST_F(RecorderTest, AnIteratorKeepsItsBlockAfterBlockDone) {
    RecorderM16 recorder(4096, 11025);
    ASSERT_TRUE(recorder.Start(event_));
    for (int k = 0; k < 3; ++k) {
        TakeBlock(recorder, static_cast<char>(k));
    }
    ASSERT_EQ(recorder.Current(), 3);
    ASSERT_TRUE(device_.CompleteHead(0x11));
    ASSERT_TRUE(recorder.CurrentBlockDone());

    const SampleIter iter(recorder);
    recorder.BlockDone();
    ASSERT_EQ(recorder.Current(), 4);
    ASSERT_TRUE(device_.CompleteHead(0x22)) << "the device goes on with block 4";

    EXPECT_EQ(iter.data, recorder.BlockData(3));
    EXPECT_EQ(iter.count, 4096);
    EXPECT_EQ(iter.recorder->GetSample(iter.data, 0), 0x1111);
    EXPECT_EQ(iter.recorder->GetSample(iter.data, 4095), 0x1111);
    EXPECT_EQ(recorder.GetSample(recorder.BlockData(4), 0), 0x2222);
}

TEST_F(RecorderTest, StopHandsEveryBlockBackOnceAndASecondStopDoesNothing) {
    RecorderM16 recorder(4096, 11025);
    ASSERT_TRUE(recorder.Start(event_));
    TakeBlock(recorder);
    device_.ClearCalls();

    recorder.Stop();
    EXPECT_EQ(device_.CallsOf(Call::Reset).size(), 1u);
    EXPECT_EQ(device_.CallsOf(Call::Close).size(), 1u);
    EXPECT_FALSE(device_.IsOpen());
    for (int k = 0; k < 8; ++k) {
        EXPECT_FALSE(recorder.Header(k).dwFlags & (WHDR_INQUEUE | WHDR_PREPARED)) << "block " << k;
    }

    device_.ClearCalls();
    recorder.Stop();
    EXPECT_TRUE(device_.Calls().empty());
}

TEST_F(RecorderTest, ACloseThatFailsIsTriedAgainOnDestruction) {
    {
        RecorderM16 recorder(4096, 11025);
        ASSERT_TRUE(recorder.Start(event_));
        device_.SetCloseResult(MMSYSERR_ERROR);
        recorder.Stop();
        EXPECT_TRUE(device_.IsOpen()) << "still open";
        device_.SetCloseResult(MMSYSERR_NOERROR);
        device_.ClearCalls();
    }
    EXPECT_FALSE(device_.CallsOf(Call::Close).empty());
    EXPECT_FALSE(device_.IsOpen());
}

TEST_F(RecorderTest, ARefusedFormatIsShownAndNothingIsOpened) {
    device_.SetQueryResult(WAVERR_BADFORMAT);
    {
        RecorderM16 recorder(4096, 11025);
        EXPECT_FALSE(recorder.Start(event_));
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].text, "Format not supported");
        EXPECT_EQ(messages_.shown[0].caption, "Recorder");
        EXPECT_EQ(messages_.shown[0].type, MB_OK);
        EXPECT_EQ(device_.CallsOf(Call::Open).size(), 1u) << "only the query";
        EXPECT_FALSE(device_.IsOpen());
        device_.ClearCalls();
        recorder.Stop();
    }
    EXPECT_TRUE(device_.Calls().empty()) << "neither Stop nor destruction touch the device";
}

// A device held elsewhere is named so; other failures show the wave-input layer's own text.
TEST_F(RecorderTest, AFailedOpenIsShownAndQueuesNothing) {
    for (const MMRESULT code :
         {MMSYSERR_ALLOCATED, MMSYSERR_NODRIVER, MMSYSERR_BADDEVICEID, WAVERR_BADFORMAT}) {
        SCOPED_TRACE(code);
        messages_.shown.clear();
        device_.ClearCalls();
        device_.SetOpenResult(code);
        RecorderM16 recorder(4096, 11025);
        EXPECT_FALSE(recorder.Start(event_));
        char expected[164] = {};
        ASSERT_EQ(waveInGetErrorTextA(code, expected, sizeof expected), MMSYSERR_NOERROR);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].text,
                  code == MMSYSERR_ALLOCATED
                      ? "Another application is recording audio. Stop recording with this other "
                        "application and then try to record with Sonarith again."
                      : expected);
        EXPECT_FALSE(messages_.shown[0].text.empty());
        EXPECT_EQ(messages_.shown[0].caption, "Recorder");
        EXPECT_FALSE(device_.IsOpen());
        EXPECT_TRUE(device_.CallsOf(Call::AddBuffer).empty());
    }
}

} // namespace

// The buffer queue every wave-input back end shares: the header flag rules, filling in queue
// order, and handing blocks back on stop and reset.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "platform/wavein/block_queue.h"

namespace {

constexpr UINT Size = sizeof(WAVEHDR);

struct Blocks {
    explicit Blocks(DWORD bytes) {
        for (std::size_t k = 0; k < headers.size(); ++k) {
            data[k].assign(bytes, '?');
            headers[k].lpData = data[k].data();
            headers[k].dwBufferLength = bytes;
        }
    }
    std::array<std::vector<char>, 3> data;
    std::array<WAVEHDR, 3> headers{};
};

class BlockQueueTest : public testing::Test {
protected:
    void PrepareAndAdd(WAVEHDR& header) {
        ASSERT_EQ(queue.Prepare(&header, Size), MMSYSERR_NOERROR);
        ASSERT_EQ(queue.Add(&header, Size), MMSYSERR_NOERROR);
    }

    BlockQueue queue;
    Blocks blocks{4};
};

TEST_F(BlockQueueTest, OnlyPreparedHeadersQueueAndQueuedOnesStayPrepared) {
    WAVEHDR& header = blocks.headers[0];
    EXPECT_EQ(queue.Add(&header, Size), WAVERR_UNPREPARED);
    EXPECT_EQ(queue.Prepare(&header, Size - 1), MMSYSERR_INVALPARAM);
    EXPECT_EQ(queue.Prepare(nullptr, Size), MMSYSERR_INVALPARAM);
    ASSERT_EQ(queue.Prepare(&header, Size), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED);
    ASSERT_EQ(queue.Add(&header, Size), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
    EXPECT_EQ(queue.Add(&header, Size), WAVERR_STILLPLAYING);
    EXPECT_EQ(queue.Unprepare(&header, Size), WAVERR_STILLPLAYING);
    EXPECT_EQ(queue.Reset(), 1);
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_EQ(queue.Unprepare(&header, Size), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_DONE);
}

TEST_F(BlockQueueTest, FillsBlocksInQueueOrderAcrossWrites) {
    // Queued out of array order: the queue, not the array, decides.
    for (int k : {2, 0, 1}) {
        PrepareAndAdd(blocks.headers[k]);
    }
    queue.Start();
    std::vector<char> sound(10);
    std::iota(sound.begin(), sound.end(), 'a');
    EXPECT_EQ(queue.Write(sound.data(), 3), 0);
    EXPECT_EQ(blocks.headers[2].dwBytesRecorded, 3u);
    EXPECT_EQ(queue.Write(sound.data() + 3, 7), 2);

    EXPECT_EQ(std::string(blocks.data[2].begin(), blocks.data[2].end()), "abcd");
    EXPECT_EQ(std::string(blocks.data[0].begin(), blocks.data[0].end()), "efgh");
    EXPECT_EQ(std::string(blocks.data[1].begin(), blocks.data[1].end()), "ij??");
    EXPECT_TRUE(blocks.headers[2].dwFlags & WHDR_DONE);
    EXPECT_FALSE(blocks.headers[2].dwFlags & WHDR_INQUEUE);
    EXPECT_EQ(blocks.headers[2].dwBytesRecorded, 4u);
    EXPECT_TRUE(blocks.headers[0].dwFlags & WHDR_DONE);
    EXPECT_FALSE(blocks.headers[1].dwFlags & WHDR_DONE);
    EXPECT_EQ(blocks.headers[1].dwBytesRecorded, 2u);
}

TEST_F(BlockQueueTest, SoundBeforeStartOrWithoutBlocksIsDropped) {
    PrepareAndAdd(blocks.headers[0]);
    const char sound[] = "12345678";
    EXPECT_EQ(queue.Write(sound, 4), 0) << "not started";
    EXPECT_EQ(blocks.headers[0].dwBytesRecorded, 0u);
    queue.Start();
    EXPECT_EQ(queue.Write(sound, 8), 1) << "the second half finds no block";
    EXPECT_EQ(std::string(blocks.data[0].begin(), blocks.data[0].end()), "1234");
    EXPECT_TRUE(queue.Empty());
}

TEST_F(BlockQueueTest, AHoleIsRecordedAsSilence) {
    PrepareAndAdd(blocks.headers[0]);
    queue.Start();
    EXPECT_EQ(queue.Write(nullptr, 4), 1);
    EXPECT_EQ(blocks.data[0], std::vector<char>(4, '\0'));
}

TEST_F(BlockQueueTest, ResetHandsBackEveryQueuedBlockDone) {
    for (WAVEHDR& header : blocks.headers) {
        PrepareAndAdd(header);
    }
    queue.Start();
    queue.Write("xy", 2);
    EXPECT_EQ(queue.Reset(), 3);
    for (const WAVEHDR& header : blocks.headers) {
        EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    }
    EXPECT_EQ(blocks.headers[0].dwBytesRecorded, 2u);
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.Write("zz", 2), 0) << "reset stops capture";
}

} // namespace

// Reading a completed block: 16-bit decoding and the iterator's hold on its block.
#include <gtest/gtest.h>

#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"

namespace {

TEST(RecorderM16Decoding, LittleEndianSignedSixteenBits) {
    const RecorderM16 recorder(4, 11025);
    const unsigned char bytes[] = {0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12};
    const char* data = reinterpret_cast<const char*>(bytes);
    EXPECT_EQ(recorder.GetSample(data, 0), -1);
    EXPECT_EQ(recorder.GetSample(data, 1), -32768);
    EXPECT_EQ(recorder.GetSample(data, 2), 32767);
    EXPECT_EQ(recorder.GetSample(data, 3), 4660);
}

TEST(RecorderM16Decoding, LastSampleReadsLastTwoBytesOfTheBlock) {
    const RecorderM16 recorder(4096, 11025);
    ASSERT_EQ(recorder.BlockBytes(), 8192);
    char* block = recorder.BlockData(0);
    block[8190] = 0x34;
    block[8191] = 0x12;
    EXPECT_EQ(recorder.GetSample(block, 4095), 4660);
}

TEST(SampleIterator, CoversTheRecordersCurrentBlock) {
    const RecorderM16 recorder(4096, 11025);
    const SampleIter iter(recorder);
    EXPECT_EQ(iter.data, recorder.BlockData(recorder.Current()));
    EXPECT_EQ(iter.recorder, &recorder);
    EXPECT_EQ(iter.index, 0);
    EXPECT_EQ(iter.count, 4096);
}

} // namespace

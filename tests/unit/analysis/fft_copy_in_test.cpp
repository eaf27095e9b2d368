// How blocks enter the tape: replaced whole, slid for short blocks, ignored when too long. The
// tape is seen as the transform sees it: the power must be the reference's of the expected tape.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/fft.h"
#include "block_source.h"
#include "reference_transform.h"

namespace {

std::vector<double> Tape(const std::vector<int>& samples) {
    return {samples.begin(), samples.end()};
}

TEST(FftCopyIn, FullBlockReplacesTheTapeAndAdvancesTheIterator) {
    Fft fft(4096, 11025);
    BlockSource source(4096);
    std::vector<int> samples(4096);
    for (int k = 0; k < 4096; ++k) {
        samples[k] = (k * 37) % 65536 - 32768;
    }
    source.Feed(fft, std::vector<int>(4096, 1234));
    const SampleIter iter = source.Feed(fft, samples);

    EXPECT_EQ(iter.index, 4096);
    EXPECT_TRUE(TransformsAs(fft, Tape(samples)));
}

TEST(FftCopyIn, ShortBlocksSlideTheTapeLeft) {
    Fft fft(8, 11025);
    BlockSource source(2);
    EXPECT_EQ(source.Feed(fft, {1, 2}).index, 2);
    EXPECT_TRUE(TransformsAs(fft, {0, 0, 0, 0, 0, 0, 1, 2})) << "the tape starts silent";
    source.Feed(fft, {3, 4});
    source.Feed(fft, {5, 6});
    source.Feed(fft, {7, 8});
    EXPECT_TRUE(TransformsAs(fft, {1, 2, 3, 4, 5, 6, 7, 8}));
    source.Feed(fft, {-9, 10});
    EXPECT_TRUE(TransformsAs(fft, {3, 4, 5, 6, 7, 8, -9, 10}));
}

TEST(FftCopyIn, BlockLongerThanTheTapeChangesNothing) {
    Fft fft(8, 11025);
    BlockSource fits(8);
    fits.Feed(fft, {1, -2, 3, -4, 5, -6, 7, -8});

    BlockSource tooLong(16);
    tooLong.Fill(std::vector<int>(16, 99));
    SampleIter iter = tooLong.Iter();
    fft.CopyIn(iter);
    EXPECT_EQ(iter.index, 0);

    // The next block slides the tape as it was before the long one.
    BlockSource next(2);
    next.Feed(fft, {11, 12});
    EXPECT_TRUE(TransformsAs(fft, {3, -4, 5, -6, 7, -8, 11, 12}));
}

TEST(FftCopyIn, MostNegativeSamplesReachTheTapeExactly) {
    Fft fft(4096, 11025);
    BlockSource source(4096);
    source.Feed(fft, std::vector<int>(4096, -32768));
    EXPECT_TRUE(TransformsAs(fft, std::vector<double>(4096, -32768.0)));
    EXPECT_EQ(fft.Power(0), (4096.0 * 32768.0) * (4096.0 * 32768.0));
    EXPECT_EQ(fft.GetFrequency(), 0);
}

} // namespace

// How blocks enter the tape: replaced whole, slid for short blocks, ignored when too long.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/fft.h"
#include "block_source.h"

namespace {

std::vector<double> TapeOf(const Fft& fft) {
    std::vector<double> tape;
    for (int n = 0; n < fft.Points(); ++n) {
        tape.push_back(fft.Tape(n));
    }
    return tape;
}

// The work array must be the tape in bit-reversed positions with zero imaginary parts.
void ExpectWorkIsBitReversedTape(const Fft& fft) {
    for (int b = 0; b < fft.Points(); ++b) {
        const Fft::Complex& w = fft.Work(fft.BitReverse(b));
        ASSERT_EQ(w.re, fft.Tape(b)) << "tape entry " << b;
        ASSERT_EQ(w.im, 0.0) << "tape entry " << b;
    }
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
    for (int n = 0; n < 4096; ++n) {
        ASSERT_EQ(fft.Tape(n), static_cast<double>(samples[n])) << "tape entry " << n;
    }
    ExpectWorkIsBitReversedTape(fft);
}

TEST(FftCopyIn, ShortBlocksSlideTheTapeLeft) {
    Fft fft(8, 11025);
    BlockSource source(2);
    EXPECT_EQ(TapeOf(fft), std::vector<double>(8, 0.0)) << "the tape starts silent";

    EXPECT_EQ(source.Feed(fft, {1, 2}).index, 2);
    EXPECT_EQ(TapeOf(fft), (std::vector<double>{0, 0, 0, 0, 0, 0, 1, 2}));
    source.Feed(fft, {3, 4});
    source.Feed(fft, {5, 6});
    source.Feed(fft, {7, 8});
    EXPECT_EQ(TapeOf(fft), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
    source.Feed(fft, {-9, 10});
    EXPECT_EQ(TapeOf(fft), (std::vector<double>{3, 4, 5, 6, 7, 8, -9, 10}));
    ExpectWorkIsBitReversedTape(fft);
}

TEST(FftCopyIn, BlockLongerThanTheTapeChangesNothing) {
    Fft fft(8, 11025);
    BlockSource fits(8);
    fits.Feed(fft, {1, -2, 3, -4, 5, -6, 7, -8});
    fft.Transform(); // leaves the work array in a state CopyIn would overwrite
    const std::vector<double> tapeBefore = TapeOf(fft);
    std::vector<Fft::Complex> workBefore;
    for (int k = 0; k < 8; ++k) {
        workBefore.push_back(fft.Work(k));
    }

    BlockSource tooLong(16);
    tooLong.Fill(std::vector<int>(16, 99));
    SampleIter iter = tooLong.Iter();
    fft.CopyIn(iter);

    EXPECT_EQ(iter.index, 0);
    EXPECT_EQ(TapeOf(fft), tapeBefore);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(fft.Work(k).re, workBefore[k].re) << "work entry " << k;
        EXPECT_EQ(fft.Work(k).im, workBefore[k].im) << "work entry " << k;
    }
}

TEST(FftCopyIn, MostNegativeSamplesReachTheTapeExactly) {
    Fft fft(4096, 11025);
    BlockSource source(4096);
    source.Feed(fft, std::vector<int>(4096, -32768));
    EXPECT_EQ(TapeOf(fft), std::vector<double>(4096, -32768.0));
    fft.Transform();
    EXPECT_EQ(fft.Power(0), (4096.0 * 32768.0) * (4096.0 * 32768.0));
    EXPECT_EQ(fft.GetFrequency(), 0);
}

} // namespace

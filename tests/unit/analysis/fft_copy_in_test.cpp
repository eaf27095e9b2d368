// How blocks enter the tape: slid for short blocks, ignored when too long (whole blocks, and
// the extreme samples, are fft_reference_test's). The tape is seen as the transform sees it:
// the power must be the reference's of the expected tape.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/fft.h"
#include "block_source.h"
#include "reference_transform.h"

namespace {

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

} // namespace

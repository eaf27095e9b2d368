// The transform against a literal, unoptimised rendering of the butterfly: bit for bit equal.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/fft.h"
#include "block_source.h"
#include "reference_transform.h"

namespace {

void ExpectIdentical(int points, int blockSamples, unsigned seed) {
    Fft fft(points, 11025);
    BlockSource source(blockSamples);
    std::vector<double> tape(points, 0.0);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (int block = 0; block < 4; ++block) {
        std::vector<int> samples(blockSamples);
        for (int& s : samples) {
            s = sample(random);
        }
        if (block == 3) {
            samples.front() = -32768; // the extremes, too
            samples.back() = 32767;
        }
        source.Feed(fft, samples);
        Slide(tape, samples);
        ASSERT_TRUE(TransformsAs(fft, tape)) << points << " points, block " << block;
        const std::vector<double> expected = ReferencePower(fft, tape);
        int best = 0;
        for (int k = 1; k < points / 2; ++k) {
            best = expected[k] > expected[best] ? k : best;
        }
        EXPECT_EQ(fft.GetFrequency(), 11025 * best / points);
    }
}

TEST(FftReference, RandomBlocksTransformBitForBit) {
    ExpectIdentical(4096, 4096, 1);
    ExpectIdentical(4096, 1000, 2);
    for (int points : {2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048}) {
        ExpectIdentical(points, points, 3);
    }
}

} // namespace

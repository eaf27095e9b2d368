// The transform against a literal, unoptimised rendering of the butterfly: bit for bit equal.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/fft.h"
#include "block_source.h"

namespace {

struct Spectrum {
    std::vector<Fft::Complex> work;
    std::vector<double> power;
};

// The stated loop order: twiddle j outer, butterflies of that twiddle inner, power written at
// every butterfly's upper index.
Spectrum ReferenceTransform(const Fft& fft) {
    const int n = fft.Points();
    Spectrum s{std::vector<Fft::Complex>(n), std::vector<double>(n, 0.0)};
    for (int b = 0; b < n; ++b) {
        s.work[fft.BitReverse(b)] = Fft::Complex{fft.Tape(b), 0.0};
    }
    int half = 1;
    for (int p = 1; p <= fft.Passes(); ++p) {
        const int step = 2 * half;
        for (int j = 0; j < half; ++j) {
            const Fft::Complex w = fft.Twiddle(p, j);
            for (int b = j; b < n; b += step) {
                Fft::Complex& lo = s.work[b];
                Fft::Complex& hi = s.work[b + half];
                const double tre = hi.re * w.re - hi.im * w.im;
                const double tim = hi.re * w.im + hi.im * w.re;
                hi.re = lo.re - tre;
                hi.im = lo.im - tim;
                lo.re = lo.re + tre;
                lo.im = lo.im + tim;
                s.power[b] = lo.re * lo.re + lo.im * lo.im;
            }
        }
        half *= 2;
    }
    return s;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectIdentical(int points, int blockSamples, unsigned seed) {
    Fft fft(points, 11025);
    BlockSource source(blockSamples);
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
        const Spectrum expected = ReferenceTransform(fft);
        fft.Transform();
        for (int k = 0; k < points; ++k) {
            ASSERT_TRUE(SameBits(fft.Work(k).re, expected.work[k].re)) << "work " << k;
            ASSERT_TRUE(SameBits(fft.Work(k).im, expected.work[k].im)) << "work " << k;
        }
        for (int k = 0; k < points / 2; ++k) {
            ASSERT_TRUE(SameBits(fft.Power(k), expected.power[k])) << "power " << k;
        }
        EXPECT_EQ(
            fft.GetFrequency(), 11025 * [&] {
                int best = 0;
                for (int k = 1; k < points / 2; ++k) {
                    best = expected.power[k] > expected.power[best] ? k : best;
                }
                return best;
            }() / points);
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

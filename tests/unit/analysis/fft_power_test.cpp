// Whole-block behaviour: the power spectrum and the reported frequency for known tapes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/fft.h"
#include "block_source.h"

namespace {

constexpr int N = 4096;

std::vector<int> Cosine(double amplitude, int bin) {
    std::vector<int> samples(N);
    for (int n = 0; n < N; ++n) {
        samples[n] = static_cast<int>(
            std::lround(amplitude * std::cos(2.0 * std::numbers::pi * bin * n / N)));
    }
    return samples;
}

int StrongestPower(const Fft& fft) {
    int best = 0;
    for (int k = 1; k < fft.Points() / 2; ++k) {
        if (fft.Power(k) > fft.Power(best)) {
            best = k;
        }
    }
    return best;
}

class FftSpectrum : public ::testing::Test {
protected:
    void Analyse(const std::vector<int>& samples) {
        source.Feed(fft, samples);
        fft.Transform();
    }

    Fft fft{N, 11025};
    BlockSource source{N};
};

TEST_F(FftSpectrum, SilenceGivesZeroPowerAndZeroHertz) {
    Analyse(std::vector<int>(N, 0));
    for (int k = 0; k < N / 2; ++k) {
        ASSERT_EQ(fft.Power(k), 0.0) << "bin " << k;
    }
    EXPECT_EQ(fft.GetFrequency(), 0);
}

TEST_F(FftSpectrum, ConstantTapeHasAllItsPowerInBinZero) {
    Analyse(std::vector<int>(N, 300));
    EXPECT_EQ(fft.Power(0), (N * 300.0) * (N * 300.0));
    for (int k = 1; k < N / 2; ++k) {
        // The twiddles are rounded, so "zero" is zero to within their error, far below one count.
        ASSERT_LT(fft.Power(k), 1e-12) << "bin " << k;
    }
    EXPECT_EQ(fft.GetFrequency(), 0);
}

TEST_F(FftSpectrum, CosineOfBinKPeaksInBinKWhoseHertzAreTruncated) {
    const std::vector<std::pair<int, int>> cases{{1, 2},        {30, 80},    {31, 83},
                                                 {163, 438},    {164, 441},  {1000, 2691},
                                                 {N / 4, 2756}, {2047, 5509}};
    for (const auto& [bin, hertz] : cases) {
        Analyse(Cosine(30000, bin));
        const double expected = (30000.0 * N / 2) * (30000.0 * N / 2);
        // Samples are rounded to whole counts, which moves the peak by far less than 0.01 %.
        EXPECT_NEAR(fft.Power(bin), expected, expected * 1e-4) << "bin " << bin;
        EXPECT_EQ(StrongestPower(fft), bin);
        EXPECT_EQ(fft.GetFrequency(), hertz) << "bin " << bin;
    }
}

TEST_F(FftSpectrum, EqualPeaksReportTheLowerBin) {
    // 2 at n = 0 and -2 at n = N/2: every odd bin has power exactly 16, every even bin 0.
    std::vector<int> samples(N, 0);
    samples[0] = 2;
    samples[N / 2] = -2;
    Analyse(samples);
    EXPECT_EQ(fft.Power(1), 16.0);
    EXPECT_EQ(fft.Power(N / 2 - 1), 16.0);
    EXPECT_EQ(fft.GetFrequency(), 11025 / N) << "bin 1, not a later bin of equal power";
}

} // namespace

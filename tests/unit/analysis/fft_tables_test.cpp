// What the constructor builds: the pass count and the twiddle tables (the bit-reverse order is
// held to the reference transform, fft_reference_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/fft.h"

namespace {

TEST(FftTables, PassesAreTheBitLengthOfNMinusOne) {
    EXPECT_EQ(Fft(4096, 11025).Passes(), 12);
    EXPECT_EQ(Fft(8, 11025).Passes(), 3);
    EXPECT_EQ(Fft(2, 11025).Passes(), 1);
}

TEST(FftTwiddles, FirstEntriesCarryTheSignOfZero) {
    const Fft fft(4096, 11025);
    const Fft::Complex& one = fft.Twiddle(1, 0);
    EXPECT_EQ(one.re, 1.0);
    EXPECT_EQ(one.im, 0.0);
    EXPECT_TRUE(std::signbit(one.im)) << "expected -0.0, the negated sine of 0";

    // Every pass's, which the values' test below cannot tell from +0.0.
    for (int p = 2; p <= fft.Passes(); ++p) {
        EXPECT_TRUE(std::signbit(fft.Twiddle(p, 0).im)) << "pass " << p;
    }
    // The double nearest pi/2 lies just below it, so its cosine is a tiny positive number.
    const Fft::Complex& quarter = fft.Twiddle(2, 1);
    EXPECT_EQ(quarter.re, std::cos(std::numbers::pi / 2));
    EXPECT_GT(quarter.re, 0.0);
    EXPECT_LT(quarter.re, 1e-15);
    EXPECT_EQ(quarter.im, -1.0);
}

TEST(FftTwiddles, AngleIsRoundedOnceFromExtendedPrecision) {
    const Fft fft(4096, 11025);
    const long double twoPi = 4.0L * std::asin(1.0L);
    // A double-precision angle differs from this in the last bit for about a quarter of entries.
    // Every entry of every pass, those the tables share with the pass above included.
    for (int p = 1; p <= fft.Passes(); ++p) {
        const long double a = std::ldexp(1.0L, p);
        for (int j = 0; j < 4096; ++j) {
            const double theta = static_cast<double>(twoPi * j / a);
            ASSERT_EQ(fft.Twiddle(p, j).re, std::cos(theta)) << "pass " << p << " entry " << j;
            ASSERT_EQ(fft.Twiddle(p, j).im, -std::sin(theta)) << "pass " << p << " entry " << j;
        }
    }
}

} // namespace

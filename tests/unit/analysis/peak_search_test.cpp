// The peak search: strictly greater wins, so ties keep the lowest bin and NaN is never taken.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "analysis/peak_search.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

int Strongest(const std::vector<double>& power) {
    return StrongestBin(power.data(), static_cast<int>(power.size()));
}

TEST(StrongestBin, LowestOfEqualMaximaWins) {
    EXPECT_EQ(Strongest({0, 0, 0, 0}), 0);
    EXPECT_EQ(Strongest({1, 5, 2, 5, 5}), 1);
    EXPECT_EQ(Strongest({1, 2, 3, 4}), 3);
}

TEST(StrongestBin, NaNIsNeverTaken) {
    EXPECT_EQ(Strongest({NaN, 3, NaN, 7, NaN}), 3);
    EXPECT_EQ(Strongest({NaN, NaN}), 0);
    EXPECT_EQ(Strongest({2, NaN, 1}), 0);
}

} // namespace

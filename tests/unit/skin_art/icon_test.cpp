// MAINICON: a 32 x 32, 16-colour icon with its AND mask, showing a gauge between minus and plus.
#include "skin_files.h"

#include <gtest/gtest.h>

namespace skin_art {
namespace {

class IconArt : public ::testing::Test {
protected:
    Icon icon = loadIcon("MAINICON.ico");

    int countIn(int x0, int y0, int x1, int y1, bool (*test)(Rgb)) const {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += !icon.clear(x, y) && test(icon.colour(x, y)) ? 1 : 0;
        return n;
    }
};

TEST_F(IconArt, IsOneSixteenColourImageWithAMask) {
    EXPECT_EQ(icon.entryWidth, 32);
    EXPECT_EQ(icon.entryHeight, 32);
    EXPECT_EQ(icon.entryColours, 16);
    EXPECT_EQ(icon.entryBits, 4);
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    ASSERT_EQ(icon.bits, 4);
    ASSERT_EQ(icon.palette.size(), 16u);
}

TEST_F(IconArt, TransparentAroundTheDial) {
    int clear = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (icon.clear(x, y)) {
                ++clear;
                // Masked pixels are black in the colour image, so the desktop shows through.
                EXPECT_EQ(icon.colour(x, y), (Rgb{0, 0, 0})) << x << "," << y;
            }
    EXPECT_GT(clear, 200);
    EXPECT_LT(clear, 32 * 32 - 200);
    for (auto [x, y] : {std::pair{0, 31}, {31, 31}, {0, 12}, {31, 12}, {16, 0}})
        EXPECT_TRUE(icon.clear(x, y)) << x << "," << y;
    EXPECT_FALSE(icon.clear(16, 20));
}

TEST_F(IconArt, GaugeBetweenBlueMinusAndPlus) {
    auto blue = [](Rgb c) { return c.b > 150 && c.r < 80 && c.g < 80; };
    auto green = [](Rgb c) { return c.g > 150 && c.r < 80 && c.b < 80; };
    auto yellow = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b < 80; };
    auto red = [](Rgb c) { return c.r > 200 && c.g < 80 && c.b < 80; };
    auto grey = [](Rgb c) { return c.r == c.g && c.g == c.b && c.r >= 96 && c.r <= 224; };
    auto black = [](Rgb c) { return c.r + c.g + c.b == 0; };
    EXPECT_GE(countIn(0, 0, 10, 8, blue), 8) << "minus top left";
    EXPECT_GE(countIn(21, 0, 31, 8, blue), 14) << "plus top right";
    EXPECT_EQ(countIn(11, 0, 20, 31, blue), 0);
    // The arc runs green on the left, yellow at the top, red on the right.
    EXPECT_GE(countIn(0, 9, 12, 31, green), 8);
    EXPECT_GE(countIn(10, 9, 21, 20, yellow), 8);
    EXPECT_GE(countIn(19, 9, 31, 31, red), 8);
    EXPECT_EQ(countIn(19, 9, 31, 31, green), 0);
    EXPECT_EQ(countIn(0, 9, 12, 31, red), 0);
    EXPECT_GE(countIn(0, 0, 31, 31, grey), 120) << "grey dial face";
    // Needle: black pixels above the hub lean right of the centre line.
    int left = 0, right = 0;
    for (int y = 15; y <= 23; ++y)
        for (int x = 10; x <= 22; ++x)
            if (!icon.clear(x, y) && black(icon.colour(x, y)))
                (x >= 16 ? right : left) += 1;
    EXPECT_GT(right, left);
    EXPECT_GE(right, 6);
}

} // namespace
} // namespace skin_art

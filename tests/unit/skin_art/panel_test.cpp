// Shape1, the LCD panel: the pixels the window's drawing relies on.
#include "skin_files.h"

#include <gtest/gtest.h>

#include "ui/form1_description.h"

#include <set>
#include <tuple>
#include <utility>

namespace skin_art {
namespace {

const Rgb kMeterGreen{0, 128, 0};
const Rgb kMeterEdge{5, 125, 5};

bool isLcdFace(Rgb c) {
    return c.r >= 75 && c.r <= 115 && c.g >= 115 && c.g <= 165 && c.b >= 50 && c.b <= 90 &&
           c.g > c.r + 30;
}

bool inMeter(int x, int y) {
    return x >= 36 && x <= 128 && y >= 135 && y <= 172;
}

class Panel : public ::testing::Test {
protected:
    Picture shape1 = loadBmp("Shape1.bmp");
};

TEST_F(Panel, RimIsNearBlack) {
    for (int y = 0; y < 179; ++y)
        for (int x = 0; x < 168; ++x) {
            const bool rim = x <= 2 || x >= 164 || y <= 3 || y >= 176;
            if (!rim)
                continue;
            const Rgb c = shape1.at(x, y);
            EXPECT_TRUE(c.r <= 48 && c.g <= 48 && c.b <= 48) << x << "," << y;
        }
}

TEST_F(Panel, MeterFrameIsTwoPixelsWide) {
    // The outer ring of the outline in the edge colour, the inner in meter green.
    for (const auto& [inset, colour] : {std::pair{0, kMeterEdge}, std::pair{1, kMeterGreen}}) {
        const int left = 36 + inset, right = 128 - inset, top = 135 + inset, bottom = 172 - inset;
        for (int x = left; x <= right; ++x) {
            EXPECT_EQ(shape1.at(x, top), colour) << x;
            EXPECT_EQ(shape1.at(x, bottom), colour) << x;
        }
        for (int y = top; y <= bottom; ++y) {
            EXPECT_EQ(shape1.at(left, y), colour) << y;
            EXPECT_EQ(shape1.at(right, y), colour) << y;
        }
    }
    // Just outside and just inside the outline is glass, not more outline.
    EXPECT_TRUE(isLcdFace(shape1.at(35, 150)));
    EXPECT_TRUE(isLcdFace(shape1.at(129, 150)));
    EXPECT_TRUE(isLcdFace(shape1.at(80, 134)));
    EXPECT_TRUE(isLcdFace(shape1.at(80, 173)));
    EXPECT_TRUE(isLcdFace(shape1.at(38, 150)));
    EXPECT_TRUE(isLcdFace(shape1.at(126, 150)));
}

// The window paints each bar's rectangle; the slot beneath also takes in its right column and
// bottom row, which must already be the artwork green, and an unlit bar (0,128,0) must equal it.
TEST_F(Panel, BarSlotsAreMeterGreenToThePixel) {
    for (int k = 0; k < form1::kMeterBars; ++k) {
        SCOPED_TRACE(k);
        const skin::Rect bar = form1::MeterBar(k);
        for (int x = bar.left; x <= bar.right; ++x) {
            for (int y = bar.top; y <= bar.bottom; ++y)
                EXPECT_EQ(shape1.at(x, y), kMeterGreen) << x << "," << y;
            EXPECT_TRUE(isLcdFace(shape1.at(x, bar.top - 1))) << "slot too tall at " << x;
            EXPECT_TRUE(isLcdFace(shape1.at(x, bar.bottom + 1)))
                << "no gap under the slot at " << x;
        }
        EXPECT_TRUE(isLcdFace(shape1.at(bar.right + 1, 160))) << "gap between slots";
    }
}

TEST_F(Panel, MinusAndPlusMarks) {
    for (int x = 40; x <= 44; ++x) {
        EXPECT_EQ(shape1.at(x, 140), kMeterGreen);
        EXPECT_TRUE(isLcdFace(shape1.at(x, 139)));
        EXPECT_TRUE(isLcdFace(shape1.at(x, 141)));
    }
    for (int x = 120; x <= 124; ++x)
        EXPECT_EQ(shape1.at(x, 140), kMeterGreen);
    for (int y = 138; y <= 142; ++y)
        EXPECT_EQ(shape1.at(122, y), kMeterGreen);
    EXPECT_TRUE(isLcdFace(shape1.at(120, 138)));
    EXPECT_TRUE(isLcdFace(shape1.at(124, 142)));
}

// Outside the meter, the face is plain glass: the note window and the places under the arrows
// above all, since frames and arrows carry that glass as their own background.
TEST_F(Panel, FaceOutsideTheMeterIsPlainLcdGreen) {
    std::set<std::tuple<int, int, int>> colours;
    for (int y = 4; y <= 175; ++y)
        for (int x = 3; x <= 163; ++x) {
            if (inMeter(x, y))
                continue;
            const Rgb c = shape1.at(x, y);
            ASSERT_TRUE(isLcdFace(c)) << x << "," << y;
            colours.insert({c.r, c.g, c.b});
        }
    // A texture, not a flat fill, and no stray drawing in it.
    EXPECT_GE(colours.size(), 2u);
    EXPECT_LE(colours.size(), 8u);
}

TEST_F(Panel, FaceIsTexturedWithFaintDarkerSpecks) {
    int base = 0, darker = 0;
    const Rgb typical = shape1.at(60, 60);
    for (int y = 23; y <= 97; ++y)
        for (int x = 16; x <= 144; ++x) {
            const Rgb c = shape1.at(x, y);
            if (c == typical)
                ++base;
            else if (c.g < typical.g && typical.g - c.g <= 16)
                ++darker;
        }
    const int all = 129 * 75;
    EXPECT_GT(base, all * 3 / 4);
    EXPECT_GT(darker, all / 40);
    EXPECT_EQ(base + darker, all);
    EXPECT_NEAR(typical.r, 100, 6);
    EXPECT_NEAR(typical.g, 150, 6);
    EXPECT_NEAR(typical.b, 72, 6);
}

} // namespace
} // namespace skin_art

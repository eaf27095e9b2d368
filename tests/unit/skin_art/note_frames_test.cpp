// Liste: thirteen opaque note frames that blend into Shape1's note window.
#include "skin_files.h"

#include <gtest/gtest.h>

namespace skin_art {
namespace {

constexpr int kW = 129;
constexpr int kH = 75;

bool isCream(Rgb c) {
    return c.r >= 225 && c.g >= 215 && c.b >= 165 && c.b < c.r;
}
bool isTan(Rgb c) {
    return c.r > c.g + 20 && c.g > c.b + 15 && c.r >= 110;
}

class NoteFrames : public ::testing::Test {
protected:
    Picture strip = loadBmp("Liste.bmp");
    Picture noteWindow = loadBmp("Shape1.bmp").crop(16, 23, kW, kH);

    Picture frame(int i) const { return strip.crop(kW * (i % 4), kH * (i / 4), kW, kH); }
    // Horizontal extent of the cream lettering, or -1 when there is none.
    int creamWidth(const Picture& f) const {
        int lo = kW, hi = -1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (isCream(f.at(x, y))) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return hi < 0 ? -1 : hi - lo + 1;
    }
};

TEST_F(NoteFrames, LetterFramesBlendIntoThePanelAtTheirEdges) {
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const Picture f = frame(i);
        int differing = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool edge = x < 3 || y < 3 || x >= kW - 3 || y >= kH - 3;
                if (edge)
                    EXPECT_EQ(f.at(x, y), noteWindow.at(x, y)) << x << "," << y;
                else
                    differing += f.at(x, y) == noteWindow.at(x, y) ? 0 : 1;
            }
        EXPECT_GT(differing, 300) << "no lettering drawn";
    }
}

TEST_F(NoteFrames, LettersAreCreamWithATanShadowAndSharpsAreWider) {
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        const Picture f = frame(i);
        int cream = 0, tan = 0;
        for (const Rgb& c : f.pixels) {
            cream += isCream(c) ? 1 : 0;
            tan += isTan(c) ? 1 : 0;
        }
        if (i == 12) {
            EXPECT_EQ(cream, 0);
            EXPECT_EQ(tan, 0);
        } else {
            EXPECT_GT(cream, 400);
            EXPECT_GT(tan, 100);
        }
    }
    // C# D# F# G# A# carry a sharp sign beside the letter.
    for (int natural : {0, 2, 5, 7, 9})
        EXPECT_GT(creamWidth(frame(natural + 1)), creamWidth(frame(natural)) + 15) << natural;
}

TEST_F(NoteFrames, FramesAreDistinct) {
    for (int a = 0; a < 13; ++a)
        for (int b = a + 1; b < 13; ++b)
            EXPECT_NE(frame(a).pixels, frame(b).pixels) << a << " and " << b;
}

// The cells after frame 12 hold no frame; they are glass so the strip has no stray colours.
TEST_F(NoteFrames, SpareCellsAreBlankGlass) {
    for (int cell = 13; cell < 16; ++cell)
        EXPECT_EQ(frame(cell).pixels, frame(12).pixels) << cell;
}

} // namespace
} // namespace skin_art

// Each small picture carries as background what lies beneath it in the window, so that showing
// or hiding it never leaves a visible seam; and each shows what it is for.
#include "skin_files.h"

#include <gtest/gtest.h>

#include "ui/form1_description.h"

namespace skin_art {
namespace {

// JPEG's 8x8 blocks smear colour by a few levels; larger errors would show as a seam.
constexpr int kJpegMaxDiff = 16;
constexpr double kJpegMeanDiff = 4.0;

// The component a picture file belongs to: its name without the extension.
std::string stem(const std::string& file) {
    return file.substr(0, file.find('.'));
}
bool isJpeg(const std::string& file) {
    return file.ends_with(".jpg");
}
Picture load(const std::string& file) {
    return isJpeg(file) ? loadJpeg(file) : loadBmp(file);
}

// Compares the outermost ring of a picture with the picture beneath, placed at (dx, dy).
void expectBorderMatches(const std::string& file, const Picture& beneath, int dx, int dy) {
    SCOPED_TRACE(file);
    const Picture p = load(file);
    int worst = 0, count = 0;
    long total = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (x != 0 && y != 0 && x != p.width - 1 && y != p.height - 1)
                continue;
            const Rgb under = beneath.at(x + dx, y + dy);
            if (isJpeg(file)) {
                const int d = maxChannelDiff(p.at(x, y), under);
                worst = std::max(worst, d);
                total += d;
                ++count;
            } else {
                EXPECT_EQ(p.at(x, y), under) << x << "," << y;
            }
        }
    if (isJpeg(file)) {
        EXPECT_LE(worst, kJpegMaxDiff);
        EXPECT_LE(static_cast<double>(total) / count, kJpegMeanDiff);
    }
}

class Backgrounds : public ::testing::Test {
protected:
    Picture fond = loadBmp("Fond.bmp");
    Picture shape1 = loadBmp("Shape1.bmp");
};

TEST_F(Backgrounds, PicturesOnTheBodyMatchFond) {
    const auto& under = form1::Component("Fond");
    for (const char* file :
         {"Off.bmp", "On.bmp", "Image2.bmp", "Image3.bmp", "E6.bmp", "LE6.bmp", "A5.bmp", "LA5.jpg",
          "D4.bmp", "LD4.jpg", "G3.bmp", "LG3.jpg", "B2.bmp", "LB2.jpg", "E1.bmp", "LE1.jpg"}) {
        const auto& placed = form1::Component(stem(file));
        expectBorderMatches(file, fond, placed.left - under.left, placed.top - under.top);
    }
}

TEST_F(Backgrounds, ArrowsMatchTheGlassBeneathThem) {
    const auto& under = form1::Component("Shape1");
    for (const char* file : {"plus.jpg", "moins.jpg"}) {
        const auto& placed = form1::Component(stem(file));
        expectBorderMatches(file, shape1, placed.left - under.left, placed.top - under.top);
    }
}

TEST_F(Backgrounds, FondIsASlateBodyOnWhite) {
    const Rgb slab{52, 49, 62};
    const Rgb white{255, 255, 255};
    for (auto [x, y] : {std::pair{0, 0}, {417, 0}, {0, 325}, {417, 325}, {2, 150}})
        EXPECT_EQ(fond.at(x, y), white) << x << "," << y;
    // Slab between the controls: beside the lamp, between buttons, beside the well, under it.
    for (auto [x, y] :
         {std::pair{50, 40}, {50, 112}, {85, 150}, {290, 112}, {180, 255}, {240, 290}, {340, 230}})
        EXPECT_EQ(fond.at(x, y), slab) << x << "," << y;
    // Grey shadow along the right and bottom sides.
    for (auto [x, y] : {std::pair{407, 160}, {200, 316}}) {
        const Rgb c = fond.at(x, y);
        EXPECT_TRUE(c.r == c.g && c.g == c.b && c.r > 60 && c.r < 235) << x << "," << y;
    }
    // The well's dark opening left of the panel.
    const Rgb well = fond.at(99, 150);
    EXPECT_LT(well.r + well.g + well.b, 3 * 30);
    // Top corners rounded, the right one wider: at the same inset the left corner is body,
    // the right one still surround.
    EXPECT_NE(fond.at(14, 14), white);
    EXPECT_EQ(fond.at(402 - 9, 14), white);
}

TEST_F(Backgrounds, ProductNameIsOrangeInTheLowerLeft) {
    int orange = 0;
    for (int y = 258; y <= 287; ++y)
        for (int x = 44; x <= 218; ++x) {
            const Rgb c = fond.at(x, y);
            const bool isOrange = c.r > 200 && c.g > 70 && c.g < 200 && c.b < 110;
            if (!isOrange)
                continue;
            ++orange;
            EXPECT_TRUE(x >= 50 && x <= 212 && y >= 262 && y <= 283) << x << "," << y;
        }
    EXPECT_GT(orange, 600);
}

int count(const Picture& p, bool (*test)(Rgb)) {
    int n = 0;
    for (const Rgb& c : p.pixels)
        n += test(c) ? 1 : 0;
    return n;
}

TEST_F(Backgrounds, ControlsShowWhatTheyAreFor) {
    // Lamp: dark green centre when off, bright green when on.
    const Rgb off = loadBmp("Off.bmp").at(8, 8);
    const Rgb on = loadBmp("On.bmp").at(8, 8);
    EXPECT_TRUE(off.g > off.r && off.g > off.b && off.g < 110) << off.g;
    EXPECT_TRUE(on.g > 200 && on.g > on.r && on.g > on.b);
    EXPECT_GT(
        count(loadBmp("Image2.bmp"), [](Rgb c) { return c.b > 200 && c.g > 180 && c.r < 120; }), 15)
        << "cyan question mark";
    EXPECT_GT(count(loadBmp("Image3.bmp"), [](Rgb c) { return c.r > 200 && c.g > 90 && c.b < 90; }),
              150)
        << "orange figure";
    for (const char* name : {"E6", "A5", "D4", "G3", "B2", "E1"}) {
        SCOPED_TRACE(name);
        const Picture unlit = loadBmp(std::string(name) + ".bmp");
        const std::string lit =
            std::string("L") + name + (name == std::string("E6") ? ".bmp" : ".jpg");
        const Picture twin = load(lit);
        EXPECT_GT(count(unlit, [](Rgb c) { return c.r + c.g + c.b < 60; }), 250) << "black cap";
        EXPECT_GT(count(unlit,
                        [](Rgb c) {
                            return c.r > 140 && std::abs(c.r - c.g) < 12 &&
                                   std::abs(c.g - c.b) < 16;
                        }),
                  60)
            << "grey name";
        EXPECT_GT(count(twin, [](Rgb c) { return c.g > 170 && c.g > c.r + 30 && c.g > c.b + 30; }),
                  400)
            << "light green cap";
        EXPECT_GT(count(twin, [](Rgb c) { return c.g > 200 && c.r < 120 && c.b < 120; }), 40)
            << "bright green name";
    }
}

TEST_F(Backgrounds, EachButtonBearsItsOwnName) {
    const char* names[] = {"E6", "A5", "D4", "G3", "B2", "E1"};
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            // Compare the labels only: the backgrounds may legitimately agree.
            const Picture pa = loadBmp(std::string(names[a]) + ".bmp").crop(15, 17, 29, 24);
            const Picture pb = loadBmp(std::string(names[b]) + ".bmp").crop(15, 17, 29, 24);
            EXPECT_NE(pa.pixels, pb.pixels) << names[a] << " and " << names[b];
        }
}

} // namespace
} // namespace skin_art

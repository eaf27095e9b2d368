// Every picture exists under its component's name in its storage kind (the size it decodes to is
// Form1Skin.ComponentsFollowTheDescriptionInCreationOrder's).
#include "skin_files.h"

#include <gtest/gtest.h>

namespace skin_art {
namespace {

enum class Kind { Bmp8, Bmp24, Bmp16, Jpeg };

struct Expected {
    const char* file;
    int width;
    int height;
    Kind kind;
};

const Expected kPictures[] = {
    {"Fond.bmp", 418, 326, Kind::Bmp8},   {"Shape1.bmp", 168, 179, Kind::Bmp24},
    {"Off.bmp", 16, 15, Kind::Bmp24},     {"On.bmp", 16, 16, Kind::Bmp24},
    {"Image2.bmp", 16, 16, Kind::Bmp24},  {"Image3.bmp", 86, 43, Kind::Bmp8},
    {"E6.bmp", 59, 58, Kind::Bmp8},       {"A5.bmp", 59, 58, Kind::Bmp8},
    {"D4.bmp", 59, 58, Kind::Bmp8},       {"G3.bmp", 59, 58, Kind::Bmp8},
    {"B2.bmp", 59, 58, Kind::Bmp8},       {"E1.bmp", 59, 58, Kind::Bmp8},
    {"LE6.bmp", 59, 58, Kind::Bmp8},      {"LA5.jpg", 59, 58, Kind::Jpeg},
    {"LD4.jpg", 59, 58, Kind::Jpeg},      {"LG3.jpg", 59, 58, Kind::Jpeg},
    {"LB2.jpg", 59, 58, Kind::Jpeg},      {"LE1.jpg", 59, 58, Kind::Jpeg},
    {"moins.jpg", 32, 26, Kind::Jpeg},    {"plus.jpg", 31, 20, Kind::Jpeg},
    {"Liste.bmp", 516, 300, Kind::Bmp16},
};

TEST(PictureKinds, EachPictureHasItsSizeAndStorageKind) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.file);
        if (e.kind == Kind::Jpeg) {
            const JpegInfo info = readJpegInfo(e.file);
            EXPECT_TRUE(info.baseline);
            EXPECT_FALSE(info.progressive);
            EXPECT_TRUE(info.ycbcr);
            EXPECT_EQ(info.components, 3);
            EXPECT_EQ(info.lumaH, 2); // 4:2:0 - luma sampled twice as often both ways
            EXPECT_EQ(info.lumaV, 2);
            EXPECT_EQ(info.chromaH, 1);
            EXPECT_EQ(info.chromaV, 1);
            continue;
        }
        const BmpHeader h = readBmpHeader(e.file);
        const int bits = e.kind == Kind::Bmp8 ? 8 : e.kind == Kind::Bmp24 ? 24 : 16;
        EXPECT_EQ(h.bitsPerPixel, bits);
        EXPECT_EQ(h.compression, 0) << "BI_RGB: stb_image cannot read RLE";
        EXPECT_EQ(h.headerSize, 40);
        EXPECT_EQ(h.width, e.width);
        EXPECT_EQ(h.height, e.height);
        if (bits == 8) {
            EXPECT_GE(h.paletteEntries, 2);
            EXPECT_LE(h.paletteEntries, 256);
        }
    }
}

// Dense screens get every picture drawn at twice its size, losslessly as PNG, the same geometry
// in skin pixels: a twin of another size would be cut off or leave a gap when composed.
TEST(PictureKinds, EachHighDensityTwinIsExactlyTwiceItsSize) {
    for (const Expected& e : kPictures) {
        const std::string file = e.file;
        const std::string twin = "2x/" + file.substr(0, file.find('.')) + ".png";
        SCOPED_TRACE(twin);
        const std::vector<std::uint8_t> bytes = readBytes(twin);
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(bytes[1], 'P');
        EXPECT_EQ(bytes[2], 'N');
        const Picture p = loadPng(twin);
        EXPECT_EQ(p.width, 2 * e.width);
        EXPECT_EQ(p.height, 2 * e.height);
    }
}

} // namespace
} // namespace skin_art

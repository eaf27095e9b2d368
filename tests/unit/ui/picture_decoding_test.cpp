// Reading the stored kinds of picture: palette, 16-bit and 24-bit BMP, baseline JPEG.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <stb_image.h>

#include "ui/skin/embedded_skin.h"
#include "ui/skin/picture.h"
#include "ui/skin/picture_decoding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using skin::Rgb;

void Put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A bottom-up Windows 3 BMP without a palette; `rows` are already packed at `bits` a pixel, top
// row first.
Bytes Bmp(int width, int height, int bits, const std::vector<Bytes>& rows) {
    const int stride = ((width * bits + 31) / 32) * 4;
    const unsigned offset = 14 + 40;
    Bytes b{'B', 'M'};
    Put32(b, offset + stride * height);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, width);
    Put32(b, height);
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0); // no compression
    Put32(b, stride * height);
    Put32(b, 3780);
    Put32(b, 3780);
    Put32(b, 0); // no palette
    Put32(b, 0);
    for (int y = height - 1; y >= 0; --y) {
        Bytes row = rows[y];
        row.resize(stride, 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// BMPs are read by stb_image: the palette and 24-bit kinds are checked against it below, for
// the real pictures and one of many colours; a 16-bit one also against the 5-5-5 it must be.
TEST(BmpDecoding, SixteenBitFiveFiveFive) {
    // Pure 5-bit red, green and blue, and white: each channel stretched to the full 8 bits.
    const Bytes bmp = Bmp(4, 1, 16, {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}});
    const skin::Picture image(skin::PictureFormat::Bmp, bmp);
    EXPECT_EQ(image.At(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(image.At(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(image.At(2, 0), Rgb(0, 0, 255));
    EXPECT_EQ(image.At(3, 0), Rgb(255, 255, 255));
}

// The BMP's pixels as stb_image reads them, at 32 bits: what a picture must always show.
skin::RgbPixels StbPixels(const Bytes& bmp) {
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bmp.data(), static_cast<int>(bmp.size()), &width, &height,
                                         &channels, 3);
    skin::RgbPixels pixels(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const stbi_uc* in = rgb + 3 * (static_cast<std::size_t>(y) * width + x);
            pixels.Set(x, y, Rgb(in[0], in[1], in[2]));
        }
    }
    stbi_image_free(rgb);
    return pixels;
}

// Copying from the picture, whole and from an area that runs past its corner onto one that runs
// past the target's, gives what copying from the decoded pixels gives.
void ExpectCopiesAsDecoded(const skin::Picture& picture, const Bytes& bmp) {
    const skin::RgbPixels full = StbPixels(bmp);
    ASSERT_FALSE(full.Empty());
    skin::RgbPixels whole(full.Width(), full.Height());
    picture.CopyTo(whole, full.Bounds(), {0, 0});
    EXPECT_EQ(whole, full);

    const skin::Rect corner{full.Width() - 12, full.Height() - 9, full.Width() + 5,
                            full.Height() + 4};
    skin::RgbPixels ours(15, 11, Rgb(1, 2, 3));
    skin::RgbPixels theirs = ours;
    picture.CopyTo(ours, corner, {3, 4});
    theirs.Copy(full, corner, {3, 4});
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(picture.ToRgb(), full);
    EXPECT_EQ(picture.At(full.Width() - 1, 0), full.At(full.Width() - 1, 0));
}

TEST(BmpPicture, FewColoursAreKeptAtAByteAPixelAndCopyExactly) {
    // The background (8-bit palette) and the note strip (16-bit, 213 colours).
    for (const char* name : {"Fond", "Liste"}) {
        const auto stored = skin::EmbeddedBytes(name);
        const Bytes bmp(stored.begin(), stored.end());
        skin::Picture picture(skin::PictureFormat::Bmp, bmp);
        EXPECT_TRUE(picture.Indexed()) << name;
        ExpectCopiesAsDecoded(picture, bmp);
        EXPECT_TRUE(picture.Indexed()) << name << ": reading it never widens it";
        picture.Canvas();
        EXPECT_FALSE(picture.Indexed()) << name << ": drawing on it widens it";
        ExpectCopiesAsDecoded(picture, bmp);
    }
}

TEST(BmpPicture, MoreThan256ColoursStayAtThirtyTwoBits) {
    // 16 x 17 pixels, each a colour of its own.
    std::vector<Bytes> rows;
    for (int y = 0; y < 17; ++y) {
        Bytes row;
        for (int x = 0; x < 16; ++x) {
            const auto i = static_cast<std::uint8_t>(16 * y + x);
            row.insert(row.end(), {i, static_cast<std::uint8_t>(y), 7});
        }
        rows.push_back(row);
    }
    const Bytes bmp = Bmp(16, 17, 24, rows);
    skin::Picture picture(skin::PictureFormat::Bmp, bmp);
    EXPECT_FALSE(picture.Indexed());
    ExpectCopiesAsDecoded(picture, bmp);
}

TEST(BmpDecoding, DamagedDataIsRefused) {
    Bytes bmp = Bmp(3, 2, 24, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}});
    bmp[0] = 'X';
    EXPECT_THROW(skin::Picture(skin::PictureFormat::Bmp, bmp), skin::PictureError);
    EXPECT_THROW(skin::Picture(skin::PictureFormat::Bmp, {}), skin::PictureError);
}

Bytes Jpeg(int width, int height, int r, int g, int b) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[3 * x] = r;
        row[3 * x + 1] = g;
        row[3 * x + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

TEST(JpegDecoding, BaselineFourTwoZeroInFullColour) {
    const Bytes jpeg = Jpeg(31, 20, 100, 150, 72);
    const skin::RgbPixels image = skin::DecodeJpeg(jpeg);
    ASSERT_EQ(image.Dimensions(), (skin::Size{31, 20}));
    for (const auto& [x, y] : {std::pair{0, 0}, {30, 19}, {15, 10}}) {
        const skin::Pixel p = image.At(x, y);
        EXPECT_NEAR((p >> 16) & 0xFF, 100, 2);
        EXPECT_NEAR((p >> 8) & 0xFF, 150, 2);
        EXPECT_NEAR(p & 0xFF, 72, 2);
    }
}

TEST(JpegDecoding, TruncatedDataIsRefusedWithoutEndingTheProgram) {
    Bytes jpeg = Jpeg(16, 16, 10, 20, 30);
    jpeg.resize(jpeg.size() / 3);
    // libjpeg's own handler would exit the process; ours must come back with an error or
    // with the part it could read, never crash.
    try {
        const skin::RgbPixels image = skin::DecodeJpeg(jpeg);
        EXPECT_EQ(image.Dimensions(), (skin::Size{16, 16}));
    } catch (const skin::PictureError&) {
    }
    EXPECT_THROW(skin::DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF}), skin::PictureError);
}

} // namespace

// Readers for the committed skin pictures.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace skin_art {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};
void PrintTo(const Rgb& c, std::ostream* os);
int maxChannelDiff(Rgb a, Rgb b);

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * width + x)); }
    Picture crop(int x, int y, int w, int h) const;
};

std::string skinPath(const std::string& file);
std::vector<std::uint8_t> readBytes(const std::string& file);

// BMP and PNG through stb_image, as the program decodes them.
Picture loadBmp(const std::string& file);
Picture loadPng(const std::string& file);
struct BmpHeader {
    int headerSize = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int compression = -1;
    int paletteEntries = 0;
};
BmpHeader readBmpHeader(const std::string& file);

// JPEG through libjpeg, with what its frame header says.
struct JpegInfo {
    bool baseline = false; // the first frame marker is SOF0
    bool progressive = false;
    bool ycbcr = false;
    int components = 0;
    int lumaH = 0, lumaV = 0, chromaH = 0, chromaV = 0;
};
Picture loadJpeg(const std::string& file);
JpegInfo readJpegInfo(const std::string& file);

// MAINICON, parsed by hand: the palette, the colour index of each pixel and its mask bit.
struct Icon {
    int entryWidth = 0, entryHeight = 0, entryColours = 0, entryBits = 0;
    int width = 0, height = 0, bits = 0;
    std::vector<Rgb> palette;
    std::vector<int> index;        // top row first
    std::vector<bool> transparent; // AND mask
    Rgb colour(int x, int y) const {
        return palette.at(
            static_cast<std::size_t>(index.at(static_cast<std::size_t>(y * width + x))));
    }
    bool clear(int x, int y) const {
        return transparent.at(static_cast<std::size_t>(y * width + x));
    }
};
Icon loadIcon(const std::string& file);

} // namespace skin_art

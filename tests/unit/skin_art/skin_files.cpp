#include "skin_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <memory>
#include <stb/stb_image.h>
#include <stdexcept>

namespace skin_art {

namespace {

unsigned le16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<unsigned>(d.at(at) | d.at(at + 1) << 8);
}
std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return le16(d, at) | static_cast<std::uint32_t>(le16(d, at + 2)) << 16;
}

[[noreturn]] void jpegFail(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(message);
}

struct Decompressor {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::vector<std::uint8_t> bytes;

    explicit Decompressor(const std::string& file) : bytes(readBytes(file)) {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = jpegFail;
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

} // namespace

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

int maxChannelDiff(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

Picture Picture::crop(int x, int y, int w, int h) const {
    Picture out{w, h, {}};
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            out.pixels.push_back(at(x + i, y + j));
    return out;
}

std::string skinPath(const std::string& file) {
    return std::string(VIBRALON_SOURCE_DIR) + "/ui/skin/art/" + file;
}

std::vector<std::uint8_t> readBytes(const std::string& file) {
    std::ifstream in(skinPath(file), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + skinPath(file));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture loadPng(const std::string& file) {
    return loadBmp(file); // stb_image tells the kinds apart by their signatures
}

Picture loadBmp(const std::string& file) {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> data(stbi_load(skinPath(file).c_str(), &w, &h, &n, 3),
                                                   stbi_image_free);
    if (!data)
        throw std::runtime_error(file + ": " + stbi_failure_reason());
    Picture out{w, h, {}};
    for (int i = 0; i < w * h; ++i)
        out.pixels.push_back({data.get()[i * 3], data.get()[i * 3 + 1], data.get()[i * 3 + 2]});
    return out;
}

BmpHeader readBmpHeader(const std::string& file) {
    const std::vector<std::uint8_t> d = readBytes(file);
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M')
        throw std::runtime_error(file + " is not a BMP");
    BmpHeader h;
    h.headerSize = static_cast<int>(le32(d, 14));
    h.width = static_cast<int>(le32(d, 18));
    h.height = static_cast<int>(le32(d, 22));
    h.bitsPerPixel = static_cast<int>(le16(d, 28));
    h.compression = static_cast<int>(le32(d, 30));
    h.paletteEntries = static_cast<int>((le32(d, 10) - 14 - le32(d, 14)) / 4);
    return h;
}

Picture loadJpeg(const std::string& file) {
    Decompressor d(file);
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    Picture out{static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height), {}};
    std::vector<JSAMPLE> row(d.info.output_width * 3);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&d.info, rows, 1);
        for (std::size_t x = 0; x < d.info.output_width; ++x)
            out.pixels.push_back({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]});
    }
    jpeg_finish_decompress(&d.info);
    return out;
}

JpegInfo readJpegInfo(const std::string& file) {
    Decompressor d(file);
    JpegInfo info;
    info.progressive = d.info.progressive_mode != 0;
    info.ycbcr = d.info.jpeg_color_space == JCS_YCbCr;
    info.components = d.info.num_components;
    if (info.components == 3) {
        info.lumaH = d.info.comp_info[0].h_samp_factor;
        info.lumaV = d.info.comp_info[0].v_samp_factor;
        info.chromaH =
            std::max(d.info.comp_info[1].h_samp_factor, d.info.comp_info[2].h_samp_factor);
        info.chromaV =
            std::max(d.info.comp_info[1].v_samp_factor, d.info.comp_info[2].v_samp_factor);
    }
    // Walk the marker segments up to the first frame header.
    const std::vector<std::uint8_t>& b = d.bytes;
    std::size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        const int marker = b[at + 1];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            info.baseline = marker == 0xC0;
            break;
        }
        at += 2 + (static_cast<std::size_t>(b[at + 2]) << 8 | b[at + 3]);
    }
    return info;
}

Icon loadIcon(const std::string& file) {
    const std::vector<std::uint8_t> d = readBytes(file);
    if (le16(d, 0) != 0 || le16(d, 2) != 1 || le16(d, 4) != 1)
        throw std::runtime_error(file + " is not a one-image icon");
    Icon icon;
    icon.entryWidth = d.at(6);
    icon.entryHeight = d.at(7);
    icon.entryColours = d.at(8);
    icon.entryBits = static_cast<int>(le16(d, 12));
    const std::size_t image = le32(d, 18);
    if (le32(d, image) != 40)
        throw std::runtime_error(file + ": unexpected bitmap header");
    icon.width = static_cast<int>(le32(d, image + 4));
    icon.height = static_cast<int>(le32(d, image + 8)) / 2;
    icon.bits = static_cast<int>(le16(d, image + 14));
    if (icon.bits != 4)
        return icon;
    std::size_t at = image + 40;
    for (int i = 0; i < 16; ++i, at += 4)
        icon.palette.push_back({d.at(at + 2), d.at(at + 1), d.at(at)});
    const std::size_t xorRow = static_cast<std::size_t>((icon.width * 4 + 31) / 32 * 4);
    const std::size_t andRow = static_cast<std::size_t>((icon.width + 31) / 32 * 4);
    const std::size_t andStart = at + xorRow * static_cast<std::size_t>(icon.height);
    const auto w = static_cast<std::size_t>(icon.width);
    icon.index.resize(w * static_cast<std::size_t>(icon.height));
    icon.transparent.resize(icon.index.size());
    for (std::size_t row = 0; row < static_cast<std::size_t>(icon.height); ++row) {
        const std::size_t y = static_cast<std::size_t>(icon.height) - 1 - row; // bottom-up
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t packed = d.at(at + row * xorRow + x / 2);
            icon.index[y * w + x] = x % 2 == 0 ? packed >> 4 : packed & 0x0F;
            const std::uint8_t mask = d.at(andStart + row * andRow + x / 8);
            icon.transparent[y * w + x] = (mask & (0x80 >> (x % 8))) != 0;
        }
    }
    return icon;
}

} // namespace skin_art

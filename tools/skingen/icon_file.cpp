#include "tools/skingen/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {

void Put16(std::vector<char>& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::vector<char>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int Nearest(QRgb c, const IconPalette& palette) {
    int best = std::numeric_limits<int>::max();
    int index = 0;
    for (int i = 0; i < 16; ++i) {
        const int dr = qRed(c) - qRed(palette[static_cast<std::size_t>(i)]);
        const int dg = qGreen(c) - qGreen(palette[static_cast<std::size_t>(i)]);
        const int db = qBlue(c) - qBlue(palette[static_cast<std::size_t>(i)]);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return index;
}

// Palette index of each pixel, row by row, -1 where the mask lets the screen show; `look` gets
// the pixels as the desktop shows them.
std::vector<int> Quantise(const QImage& src, const IconPalette& palette, QImage& look) {
    const int w = src.width();
    const int h = src.height();
    look = QImage(w, h, QImage::Format_ARGB32);
    std::vector<int> index(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = src.pixel(x, y);
            const bool opaque = qAlpha(c) >= 128;
            // Transparent pixels are black in the XOR image, so AND-then-XOR leaves the screen.
            const int i = opaque ? Nearest(c, palette) : 0;
            index[static_cast<std::size_t>(y * w + x)] = opaque ? i : -1;
            look.setPixel(x, y, opaque ? (palette[static_cast<std::size_t>(i)] | 0xFF000000u) : 0u);
        }
    }
    return index;
}

// One image of an icon file: its size in pixels and its bytes (a DIB, or a PNG at 256).
struct IconImage {
    int size;
    int colours; // 0: more than 256
    int bits;
    std::vector<char> bytes;
};

void PutInfoHeader(std::vector<char>& out, int size, int bits, std::uint32_t pixelBytes,
                   std::uint32_t colours) {
    Put32(out, 40); // BITMAPINFOHEADER; the height counts the XOR and AND halves
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);
    Put32(out, pixelBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

// The AND mask, bottom-up: set where the screen shows through.
void PutMask(std::vector<char>& out, int size, const std::function<bool(int, int)>& clear) {
    const std::size_t row = static_cast<std::size_t>((size + 31) / 32 * 4);
    for (int y = size - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < size; x += 8) {
            unsigned bits = 0;
            for (int k = 0; k < 8 && x + k < size; ++k) {
                if (clear(x + k, y)) {
                    bits |= 0x80u >> k;
                }
            }
            out.push_back(static_cast<char>(bits));
        }
        while (out.size() - start < row) {
            out.push_back(0);
        }
    }
}

// 4 bits a pixel over `palette`; `look` gets the pixels as the desktop shows them.
IconImage Image16(const QImage& src, const IconPalette& palette, QImage& look) {
    const int w = src.width();
    const int h = src.height();
    if (w != h || w > 255 || w % 8 != 0) {
        throw std::runtime_error("icon size not supported");
    }
    const std::uint32_t xorRow = static_cast<std::uint32_t>((w * 4 + 31) / 32 * 4);
    const std::uint32_t andRow = static_cast<std::uint32_t>((w + 31) / 32 * 4);
    std::vector<char> out;
    PutInfoHeader(out, w, 4, (xorRow + andRow) * static_cast<std::uint32_t>(h), 16);
    for (QRgb c : palette) {
        out.push_back(static_cast<char>(qBlue(c)));
        out.push_back(static_cast<char>(qGreen(c)));
        out.push_back(static_cast<char>(qRed(c)));
        out.push_back(0);
    }
    const std::vector<int> index = Quantise(src, palette, look);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < w; x += 2) {
            const int a = std::max(index[static_cast<std::size_t>(y * w + x)], 0);
            const int b = std::max(index[static_cast<std::size_t>(y * w + x + 1)], 0);
            out.push_back(static_cast<char>(a << 4 | b));
        }
        while (out.size() - start < xorRow) {
            out.push_back(0);
        }
    }
    PutMask(out, w, [&](int x, int y) { return index[static_cast<std::size_t>(y * w + x)] < 0; });
    return {w, 16, 4, std::move(out)};
}

// 32 bits a pixel with alpha, and the mask older systems read.
IconImage Image32(const QImage& argb) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    const int size = src.width();
    std::vector<char> out;
    const std::uint32_t maskBytes = static_cast<std::uint32_t>((size + 31) / 32 * 4 * size);
    PutInfoHeader(out, size, 32, static_cast<std::uint32_t>(size * size * 4) + maskBytes, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            Put32(out, src.pixel(x, y));
        }
    }
    PutMask(out, size, [&](int x, int y) { return qAlpha(src.pixel(x, y)) < 128; });
    return {size, 0, 32, std::move(out)};
}

// PNG, as icons of 256 pixels are stored.
IconImage ImagePng(const QImage& argb) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!argb.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")) {
        throw std::runtime_error("cannot encode a PNG icon image");
    }
    return {argb.width(), 0, 32, std::vector<char>(png.begin(), png.end())};
}

void WriteIconFile(const std::vector<IconImage>& images, const QString& path) {
    std::vector<char> out;
    Put16(out, 0); // ICONDIR
    Put16(out, 1); // icon
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        // 256 is written 0.
        out.push_back(static_cast<char>(image.size & 0xFF));
        out.push_back(static_cast<char>(image.size & 0xFF));
        out.push_back(static_cast<char>(image.colours));
        out.push_back(0);
        Put16(out, 1); // planes
        Put16(out, static_cast<unsigned>(image.bits));
        Put32(out, static_cast<std::uint32_t>(image.bytes.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(image.bytes.size());
    }
    for (const IconImage& image : images) {
        out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(out.data(), static_cast<qint64>(out.size())) !=
            static_cast<qint64>(out.size())) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace

QImage Icon16Look(const QImage& argb, const IconPalette& palette) {
    QImage look;
    Quantise(argb.convertToFormat(QImage::Format_ARGB32), palette, look);
    return look;
}

QImage WriteIcon16(const QImage& argb, const IconPalette& palette, const QString& path) {
    QImage look;
    WriteIconFile({Image16(argb.convertToFormat(QImage::Format_ARGB32), palette, look)}, path);
    return look;
}

void WriteWindowsIcon(const std::function<QImage(int)>& draw, const QImage& grid,
                      const IconPalette& palette, const QString& path) {
    QImage look;
    WriteIconFile({Image32(draw(16)), Image32(draw(24)),
                   Image16(grid.convertToFormat(QImage::Format_ARGB32), palette, look),
                   Image32(draw(48)), ImagePng(draw(256))},
                  path);
}

} // namespace skingen

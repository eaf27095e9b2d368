#include "tools/skingen/picture_files.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
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

} // namespace

QImage Icon16Look(const QImage& argb, const IconPalette& palette) {
    QImage look;
    Quantise(argb.convertToFormat(QImage::Format_ARGB32), palette, look);
    return look;
}

QImage WriteIcon16(const QImage& argb, const IconPalette& palette, const QString& path) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    const int w = src.width();
    const int h = src.height();
    if (w > 255 || h > 255 || w % 8 != 0) {
        throw std::runtime_error("icon size not supported");
    }
    const std::uint32_t xorRow = static_cast<std::uint32_t>((w * 4 + 31) / 32 * 4);
    const std::uint32_t andRow = static_cast<std::uint32_t>((w + 31) / 32 * 4);
    const std::uint32_t imageBytes =
        40 + 16 * 4 + (xorRow + andRow) * static_cast<std::uint32_t>(h);

    std::vector<char> out;
    Put16(out, 0); // ICONDIR
    Put16(out, 1); // icon
    Put16(out, 1); // one image
    out.push_back(static_cast<char>(w));
    out.push_back(static_cast<char>(h));
    out.push_back(16); // colours
    out.push_back(0);
    Put16(out, 1); // planes
    Put16(out, 4); // bits
    Put32(out, imageBytes);
    Put32(out, 6 + 16);

    Put32(out, 40); // BITMAPINFOHEADER; the height counts the XOR and AND halves
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h * 2));
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, (xorRow + andRow) * static_cast<std::uint32_t>(h));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (QRgb c : palette) {
        out.push_back(static_cast<char>(qBlue(c)));
        out.push_back(static_cast<char>(qGreen(c)));
        out.push_back(static_cast<char>(qRed(c)));
        out.push_back(0);
    }

    QImage look;
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
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < w; x += 8) {
            unsigned bits = 0;
            for (int k = 0; k < 8; ++k) {
                if (index[static_cast<std::size_t>(y * w + x + k)] < 0) {
                    bits |= 0x80u >> k;
                }
            }
            out.push_back(static_cast<char>(bits));
        }
        while (out.size() - start < andRow) {
            out.push_back(0);
        }
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(out.data(), static_cast<qint64>(out.size())) !=
            static_cast<qint64>(out.size())) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return look;
}

} // namespace skingen

#include "picture_files.h"

#include <QFile>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {

class Bytes {
public:
    void u8(unsigned v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void pad4(std::size_t rowStart) {
        while ((data_.size() - rowStart) % 4 != 0)
            u8(0);
    }
    std::size_t size() const { return data_.size(); }
    const std::vector<char>& data() const { return data_; }

private:
    std::vector<char> data_;
};

void save(const Bytes& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data().data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
}

std::uint32_t rowBytes(int width, int bits) {
    return static_cast<std::uint32_t>((width * bits + 31) / 32 * 4);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER for an uncompressed picture.
void headers(Bytes& out, int width, int height, int bits, std::uint32_t paletteEntries) {
    const std::uint32_t offset = 14 + 40 + paletteEntries * 4;
    const std::uint32_t image = rowBytes(width, bits) * static_cast<std::uint32_t>(height);
    out.u8('B');
    out.u8('M');
    out.u32(offset + image);
    out.u32(0);
    out.u32(offset);
    out.u32(40);
    out.u32(static_cast<std::uint32_t>(width));
    out.u32(static_cast<std::uint32_t>(height)); // positive: bottom-up
    out.u16(1);
    out.u16(static_cast<unsigned>(bits));
    out.u32(0); // BI_RGB
    out.u32(image);
    out.u32(3780); // 96 dpi
    out.u32(3780);
    out.u32(paletteEntries);
    out.u32(0);
}

int toFive(int c) {
    return (c * 31 + 127) / 255;
}
int widenFive(int v) {
    return (v << 3) | (v >> 2);
}

} // namespace

QImage writeBmp8(const IndexedImage& picture, const QString& path) {
    if (picture.palette.empty() || picture.palette.size() > 256)
        throw std::runtime_error("palette picture needs 1 to 256 colours");
    Bytes out;
    headers(out, picture.width, picture.height, 8,
            static_cast<std::uint32_t>(picture.palette.size()));
    for (QRgb c : picture.palette) {
        out.u8(static_cast<unsigned>(qBlue(c)));
        out.u8(static_cast<unsigned>(qGreen(c)));
        out.u8(static_cast<unsigned>(qRed(c)));
        out.u8(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < picture.width; ++x)
            out.u8(picture.pixels[static_cast<std::size_t>(y * picture.width + x)]);
        out.pad4(start);
    }
    save(out, path);
    return picture.toImage();
}

QImage writeBmp24(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Bytes out;
    headers(out, rgb.width(), rgb.height(), 24, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            out.u8(static_cast<unsigned>(qBlue(c)));
            out.u8(static_cast<unsigned>(qGreen(c)));
            out.u8(static_cast<unsigned>(qRed(c)));
        }
        out.pad4(start);
    }
    save(out, path);
    return rgb;
}

QImage writeBmp555(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage stored(rgb.size(), QImage::Format_RGB32);
    Bytes out;
    headers(out, rgb.width(), rgb.height(), 16, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            const int r = toFive(qRed(c));
            const int g = toFive(qGreen(c));
            const int b = toFive(qBlue(c));
            out.u16(static_cast<unsigned>(r << 10 | g << 5 | b));
            stored.setPixel(x, y, qRgb(widenFive(r), widenFive(g), widenFive(b)));
        }
        out.pad4(start);
    }
    save(out, path);
    return stored;
}

} // namespace skingen

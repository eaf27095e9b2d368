#include "tools/skingen/picture_files.h"

#include <QFile>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {

class Bytes {
public:
    void U8(unsigned v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void U16(unsigned v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Pad4(std::size_t rowStart) {
        while ((data_.size() - rowStart) % 4 != 0) {
            U8(0);
        }
    }
    std::size_t Size() const { return data_.size(); }
    const std::vector<char>& Data() const { return data_; }

private:
    std::vector<char> data_;
};

void Save(const Bytes& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.Data().data(), static_cast<qint64>(bytes.Size())) !=
            static_cast<qint64>(bytes.Size())) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

std::uint32_t RowBytes(int width, int bits) {
    return static_cast<std::uint32_t>((width * bits + 31) / 32 * 4);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER for an uncompressed picture.
void Headers(Bytes& out, int width, int height, int bits, std::uint32_t paletteEntries) {
    const std::uint32_t offset = 14 + 40 + paletteEntries * 4;
    const std::uint32_t image = RowBytes(width, bits) * static_cast<std::uint32_t>(height);
    out.U8('B');
    out.U8('M');
    out.U32(offset + image);
    out.U32(0);
    out.U32(offset);
    out.U32(40);
    out.U32(static_cast<std::uint32_t>(width));
    out.U32(static_cast<std::uint32_t>(height)); // positive: bottom-up
    out.U16(1);
    out.U16(static_cast<unsigned>(bits));
    out.U32(0); // BI_RGB
    out.U32(image);
    out.U32(3780); // 96 dpi
    out.U32(3780);
    out.U32(paletteEntries);
    out.U32(0);
}

int ToFive(int c) {
    return (c * 31 + 127) / 255;
}
int WidenFive(int v) {
    return (v << 3) | (v >> 2);
}

} // namespace

QImage WriteBmp8(const IndexedImage& picture, const QString& path) {
    if (picture.palette.empty() || picture.palette.size() > 256) {
        throw std::runtime_error("palette picture needs 1 to 256 colours");
    }
    Bytes out;
    Headers(out, picture.width, picture.height, 8,
            static_cast<std::uint32_t>(picture.palette.size()));
    for (QRgb c : picture.palette) {
        out.U8(static_cast<unsigned>(qBlue(c)));
        out.U8(static_cast<unsigned>(qGreen(c)));
        out.U8(static_cast<unsigned>(qRed(c)));
        out.U8(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t start = out.Size();
        for (int x = 0; x < picture.width; ++x) {
            out.U8(picture.pixels[static_cast<std::size_t>(y * picture.width + x)]);
        }
        out.Pad4(start);
    }
    Save(out, path);
    return picture.ToImage();
}

QImage WriteBmp24(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Bytes out;
    Headers(out, rgb.width(), rgb.height(), 24, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const std::size_t start = out.Size();
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            out.U8(static_cast<unsigned>(qBlue(c)));
            out.U8(static_cast<unsigned>(qGreen(c)));
            out.U8(static_cast<unsigned>(qRed(c)));
        }
        out.Pad4(start);
    }
    Save(out, path);
    return rgb;
}

QImage WriteBmp555(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage stored(rgb.size(), QImage::Format_RGB32);
    Bytes out;
    Headers(out, rgb.width(), rgb.height(), 16, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const std::size_t start = out.Size();
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            const int r = ToFive(qRed(c));
            const int g = ToFive(qGreen(c));
            const int b = ToFive(qBlue(c));
            out.U16(static_cast<unsigned>(r << 10 | g << 5 | b));
            stored.setPixel(x, y, qRgb(WidenFive(r), WidenFive(g), WidenFive(b)));
        }
        out.Pad4(start);
    }
    Save(out, path);
    return stored;
}

} // namespace skingen

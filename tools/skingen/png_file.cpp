#include "tools/skingen/picture_files.h"

#include <QImageWriter>
#include <stdexcept>

namespace skingen {

namespace {
void Write(const QImage& picture, const QString& path) {
    QImageWriter writer(path, "png");
    // Quality 0 is zlib level 9 for PNG: the files are committed and stay small.
    writer.setQuality(0);
    if (!writer.write(picture)) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 writer.errorString().toStdString());
    }
}
} // namespace

void WritePng(const QImage& picture, const QString& path) {
    Write(picture.convertToFormat(QImage::Format_ARGB32), path);
}

QImage WriteSkinPng(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Write(rgb.convertToFormat(QImage::Format_RGB888), path);
    return rgb;
}

} // namespace skingen

#include "tools/skingen/picture_files.h"

#include <QImageWriter>
#include <stdexcept>

namespace skingen {

void WritePng(const QImage& picture, const QString& path) {
    QImageWriter writer(path, "png");
    // Quality 0 is zlib level 9 for PNG: the files are committed and stay small.
    writer.setQuality(0);
    if (!writer.write(picture.convertToFormat(QImage::Format_ARGB32))) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 writer.errorString().toStdString());
    }
}

} // namespace skingen

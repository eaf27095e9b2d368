#include "tools/skingen/drawing.h"

#include <QFontDatabase>
#include <QTransform>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {
const char* const kFontDir = "/usr/share/fonts/truetype/dejavu/";
// The family both packaged faces register under; LoadFonts checks that they do.
const char* const kFamily = "DejaVu Sans";

QFont Face(qreal pixelSize, bool italic) {
    QFont font(kFamily);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setWeight(QFont::Bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setKerning(true);
    return font;
}
} // namespace

void LoadFonts() {
    for (const char* file : {"DejaVuSans-Bold.ttf", "DejaVuSans-BoldOblique.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(QString(kFontDir) + file);
        if (id < 0) {
            throw std::runtime_error(std::string("cannot load font ") + kFontDir + file);
        }
        if (QFontDatabase::applicationFontFamilies(id).value(0) != kFamily) {
            throw std::runtime_error(std::string(kFontDir) + file + " is not of the family " +
                                     kFamily);
        }
    }
}

QFont BoldFont(qreal pixelSize) {
    return Face(pixelSize, false);
}
QFont BoldObliqueFont(qreal pixelSize) {
    return Face(pixelSize, true);
}

QPainterPath TextPath(const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath Centred(const QPainterPath& path, QPointF centre) {
    return path.translated(centre - path.boundingRect().center());
}

QPainterPath Fitted(const QPainterPath& path, const QRectF& box) {
    const QRectF from = path.boundingRect();
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width() / from.width(), box.height() / from.height());
    t.translate(-from.left(), -from.top());
    return t.map(path);
}

void BlurAlpha(QImage& mask, int radius) {
    const int w = mask.width();
    const int h = mask.height();
    std::vector<int> a(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            a[static_cast<std::size_t>(y * w + x)] = qAlpha(mask.pixel(x, y));
        }
    }
    std::vector<int> tmp(a.size());
    const int span = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    sum += a[static_cast<std::size_t>(y * w + std::clamp(x + k, 0, w - 1))];
                }
                tmp[static_cast<std::size_t>(y * w + x)] = sum / span;
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    sum += tmp[static_cast<std::size_t>(std::clamp(y + k, 0, h - 1) * w + x)];
                }
                a[static_cast<std::size_t>(y * w + x)] = sum / span;
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            mask.setPixel(x, y, qRgba(0, 0, 0, a[static_cast<std::size_t>(y * w + x)]));
        }
    }
}

} // namespace skingen

#include "drawing.h"

#include <QFontDatabase>
#include <QTransform>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {
const char* const kFontDir = "/usr/share/fonts/truetype/dejavu/";
QString gFamily;

QFont face(qreal pixelSize, bool italic) {
    QFont font(gFamily);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setWeight(QFont::Bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setKerning(true);
    return font;
}
} // namespace

void loadFonts() {
    for (const char* file : {"DejaVuSans-Bold.ttf", "DejaVuSans-BoldOblique.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(QString(kFontDir) + file);
        if (id < 0)
            throw std::runtime_error(std::string("cannot load font ") + kFontDir + file);
        gFamily = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    if (gFamily.isEmpty())
        throw std::runtime_error("DejaVu fonts have no family name");
}

QFont boldFont(qreal pixelSize) {
    return face(pixelSize, false);
}
QFont boldObliqueFont(qreal pixelSize) {
    return face(pixelSize, true);
}

QPainterPath textPath(const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath centred(const QPainterPath& path, QPointF centre) {
    return path.translated(centre - path.boundingRect().center());
}

QPainterPath fitted(const QPainterPath& path, const QRectF& box) {
    const QRectF from = path.boundingRect();
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width() / from.width(), box.height() / from.height());
    t.translate(-from.left(), -from.top());
    return t.map(path);
}

void blurAlpha(QImage& mask, int radius) {
    const int w = mask.width();
    const int h = mask.height();
    std::vector<int> a(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            a[static_cast<std::size_t>(y * w + x)] = qAlpha(mask.pixel(x, y));
    std::vector<int> tmp(a.size());
    const int span = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += a[static_cast<std::size_t>(y * w + std::clamp(x + k, 0, w - 1))];
                tmp[static_cast<std::size_t>(y * w + x)] = sum / span;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += tmp[static_cast<std::size_t>(std::clamp(y + k, 0, h - 1) * w + x)];
                a[static_cast<std::size_t>(y * w + x)] = sum / span;
            }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mask.setPixel(x, y, qRgba(0, 0, 0, a[static_cast<std::size_t>(y * w + x)]));
}

} // namespace skingen

// Shape1, the LCD panel, and what is shown on it: the note frames and the tuning arrows.
#include "tools/skingen/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <array>

#include "tools/skingen/layout.h"
#include "tools/skingen/lcd_face.h"

namespace skingen {

namespace {

const QRgb kMeterGreen = qRgb(0, 128, 0);
const QRgb kMeterEdge = qRgb(5, 125, 5);
const QColor kCream(250, 241, 204);
const QColor kTan(176, 136, 84);
const QColor kTanDeep(132, 98, 58);

bool InFace(int x, int y) {
    return x >= 3 && x <= 163 && y >= 4 && y <= 175;
}

// The rim darkens from its outer edge inward, like a moulded bezel.
QRgb RimColour(int x, int y) {
    const int d = std::min({x, y, 167 - x, 178 - y});
    static constexpr std::array<QRgb, 3> shades{qRgb(38, 40, 36), qRgb(20, 22, 18), qRgb(8, 10, 8)};
    return shades[static_cast<std::size_t>(std::min(d, 2))];
}

// Fills skin pixels x0..x1, y0..y1 (inclusive) of a picture drawn at `scale`.
void FillSpan(QImage& img, int x0, int x1, int y0, int y1, QRgb colour) {
    const int scale = img.width() / SizeOf("Shape1").width();
    for (int y = y0 * scale; y < (y1 + 1) * scale; ++y) {
        for (int x = x0 * scale; x < (x1 + 1) * scale; ++x) {
            img.setPixel(x, y, colour);
        }
    }
}

void DrawMeter(QImage& img) {
    // Two-pixel outline: outer edge x 36..128, y 135..172.
    FillSpan(img, 36, 128, 135, 135, kMeterEdge);
    FillSpan(img, 36, 128, 172, 172, kMeterEdge);
    FillSpan(img, 36, 36, 135, 172, kMeterEdge);
    FillSpan(img, 128, 128, 135, 172, kMeterEdge);
    FillSpan(img, 37, 127, 136, 136, kMeterGreen);
    FillSpan(img, 37, 127, 171, 171, kMeterGreen);
    FillSpan(img, 37, 37, 136, 171, kMeterGreen);
    FillSpan(img, 127, 127, 136, 171, kMeterGreen);
    FillSpan(img, 40, 44, 140, 140, kMeterGreen);   // minus mark
    FillSpan(img, 120, 124, 140, 140, kMeterGreen); // plus mark
    FillSpan(img, 122, 122, 138, 142, kMeterGreen);
    // Each slot takes in its bar's right and bottom edges, which stay green when the bar lights.
    for (int k = 0; k < form1::kMeterBars; ++k) {
        const skin::Rect bar = form1::MeterBar(k);
        FillSpan(img, bar.left, bar.right, bar.top, bar.bottom, kMeterGreen);
    }
}

// Cream shape raised above the glass by a tan extrusion toward the bottom right.
void DrawRaised(QPainter& p, const QPainterPath& shape, int depth) {
    for (int k = depth; k >= 1; --k) {
        p.fillPath(shape.translated(k * 0.8, k), k == depth ? kTanDeep : kTan);
    }
    p.fillPath(shape, kCream);
}

// The face's texture is made of skin pixels: each picture pixel takes its skin pixel's colour.
QImage FaceAt(QPoint origin, QSize size, int scale) {
    QImage img(size * scale, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            img.setPixel(x, y, LcdFace(origin.x() + x / scale, origin.y() + y / scale));
        }
    }
    return img;
}

} // namespace

QImage DrawShape1(int scale) {
    QImage img(SizeOf("Shape1") * scale, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const int sx = x / scale;
            const int sy = y / scale;
            img.setPixel(x, y, InFace(sx, sy) ? LcdFace(sx, sy) : RimColour(sx, sy));
        }
    }
    DrawMeter(img);
    return img;
}

QImage DrawNoteFrame(int frame, int scale) {
    QImage img = FaceAt(ToQt(form1::kNoteAt), SizeOf("Liste"), scale);
    if (frame < 0 || frame > 11) {
        return img;
    }
    static const std::array<const char*, 12> names{"C",  "C#", "D",  "D#", "E",  "F",
                                                   "F#", "G",  "G#", "A",  "A#", "B"};
    const QString name = QString::fromLatin1(names[static_cast<std::size_t>(frame)]);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPainterPath letter = TextPath(name.left(1), BoldFont(60));
    if (name.size() > 1) {
        const QRectF l = letter.boundingRect();
        QPainterPath sharp = TextPath("#", BoldFont(38));
        const QRectF s = sharp.boundingRect();
        sharp.translate(l.right() + 4 - s.left(), l.top() - s.top());
        letter.addPath(sharp);
    }
    DrawRaised(p, Centred(letter, QPointF(62.5, 35.5)), 4);
    return img;
}

QImage DrawNoteStrip(int scale) {
    const QSize size = StripSize();
    QImage strip(size * scale, QImage::Format_RGB32);
    QPainter p(&strip);
    const int cells = kStripColumns * (size.height() / SizeOf("Liste").height());
    for (int cell = 0; cell < cells; ++cell) {
        p.drawImage(StripCell(cell).topLeft() * scale,
                    DrawNoteFrame(std::min(cell, form1::kListeFrames - 1), scale));
    }
    return strip;
}

QImage DrawMoins(const QImage& under, int scale) {
    QImage img = under.convertToFormat(QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addRect(QRectF(3, 10.5, 9, 4));
    QPainterPath arrow;
    arrow.moveTo(15, 5);
    arrow.lineTo(26.5, 12.5);
    arrow.lineTo(15, 20);
    arrow.closeSubpath();
    shape.addPath(arrow);
    DrawRaised(p, shape, 2);
    return img;
}

QImage DrawPlus(const QImage& under, int scale) {
    QImage img = under.convertToFormat(QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.moveTo(14, 3.5);
    shape.lineTo(4, 9.5);
    shape.lineTo(14, 15.5);
    shape.closeSubpath();
    QPainterPath cross;
    cross.setFillRule(Qt::WindingFill);
    cross.addRect(QRectF(17, 7.5, 9, 4));
    cross.addRect(QRectF(19.5, 5, 4, 9));
    shape.addPath(cross.simplified());
    DrawRaised(p, shape, 2);
    return img;
}

} // namespace skingen

// Fond: the tuner's body on a white surround.
#include "tools/skingen/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "tools/skingen/layout.h"

namespace skingen {

namespace {

const QColor kSlab(52, 49, 62);
const QRectF kBody(5, 4, 398, 308); // x 5..402, y 4..311
constexpr qreal kTopLeftRadius = 24;
constexpr qreal kTopRightRadius = 50;
constexpr qreal kBottomRadius = 9;

QPainterPath BodyShape(const QRectF& r) {
    QPainterPath p;
    p.moveTo(r.left() + kTopLeftRadius, r.top());
    p.lineTo(r.right() - kTopRightRadius, r.top());
    p.arcTo(
        QRectF(r.right() - 2 * kTopRightRadius, r.top(), 2 * kTopRightRadius, 2 * kTopRightRadius),
        90, -90);
    p.lineTo(r.right(), r.bottom() - kBottomRadius);
    p.arcTo(QRectF(r.right() - 2 * kBottomRadius, r.bottom() - 2 * kBottomRadius, 2 * kBottomRadius,
                   2 * kBottomRadius),
            0, -90);
    p.lineTo(r.left() + kBottomRadius, r.bottom());
    p.arcTo(QRectF(r.left(), r.bottom() - 2 * kBottomRadius, 2 * kBottomRadius, 2 * kBottomRadius),
            270, -90);
    p.lineTo(r.left(), r.top() + kTopLeftRadius);
    p.arcTo(QRectF(r.left(), r.top(), 2 * kTopLeftRadius, 2 * kTopLeftRadius), 180, -90);
    p.closeSubpath();
    return p;
}

QPainterPath Inset(const QRectF& r, qreal by) {
    QRectF in = r.adjusted(by, by, -by, -by);
    QPainterPath p = BodyShape(r);
    QTransform t;
    t.translate(in.center().x(), in.center().y());
    t.scale(in.width() / r.width(), in.height() / r.height());
    t.translate(-r.center().x(), -r.center().y());
    return t.map(p);
}

// Drawn at the picture's own pixels: the blur spreads as far in skin pixels at every scale.
void DrawShadow(QPainter& p, int scale) {
    QImage mask(SizeOf("Fond") * scale, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing);
        m.scale(scale, scale);
        m.fillPath(BodyShape(kBody.translated(5, 6)), QColor(0, 0, 0, 150));
    }
    BlurAlpha(mask, 2 * scale);
    p.drawImage(0, 0, mask);
}

void DrawBevel(QPainter& p) {
    const QPainterPath outer = BodyShape(kBody);
    // The light rim: bright where the light falls (top left), dim toward the bottom right.
    QLinearGradient rim(kBody.topLeft(), kBody.bottomRight());
    rim.setColorAt(0.0, QColor(178, 174, 196));
    rim.setColorAt(0.45, QColor(128, 124, 146));
    rim.setColorAt(1.0, QColor(74, 70, 88));
    p.fillPath(outer, rim);
    const QPainterPath ledge = Inset(kBody, 2.5);
    p.fillPath(ledge, QColor(30, 28, 37));
    const QPainterPath face = Inset(kBody, 3.5);
    QLinearGradient shade(0, kBody.top(), 0, kBody.bottom());
    shade.setColorAt(0.0, QColor(62, 59, 74));
    shade.setColorAt(0.06, kSlab);
    shade.setColorAt(0.94, kSlab);
    shade.setColorAt(1.0, QColor(40, 38, 48));
    p.fillPath(face, shade);
    // Darker shading along the sides, kept clear of the controls.
    QLinearGradient sides(kBody.left(), 0, kBody.right(), 0);
    sides.setColorAt(0.0, QColor(30, 28, 38, 150));
    sides.setColorAt(0.03, QColor(30, 28, 38, 0));
    sides.setColorAt(0.97, QColor(30, 28, 38, 0));
    sides.setColorAt(1.0, QColor(20, 18, 26, 170));
    p.fillPath(face, sides);
}

// A recessed square well around the LCD panel, lit from the top left.
void DrawWell(QPainter& p) {
    const QRectF ring(93, 53, 186, 197); // x 93..278, y 53..249
    QLinearGradient edge(ring.topLeft(), ring.bottomRight());
    edge.setColorAt(0.0, QColor(22, 21, 28));
    edge.setColorAt(0.5, QColor(40, 38, 48));
    edge.setColorAt(1.0, QColor(104, 100, 120));
    QPainterPath outer;
    outer.addRoundedRect(ring, 5, 5);
    p.fillPath(outer, edge);
    QPainterPath opening;
    opening.addRoundedRect(QRectF(98, 58, 176, 187), 3, 3); // x 98..273, y 58..244
    p.fillPath(opening, QColor(14, 14, 17));
}

void DrawGrille(QPainter& p) {
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QPointF c(364.5 + col * 9, 112.5 + row * 10);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(92, 88, 108));
            p.drawEllipse(c + QPointF(0.6, 0.8), 2.6, 2.6);
            p.setBrush(QColor(12, 11, 15));
            p.drawEllipse(c, 2.5, 2.5);
        }
    }
}

void DrawScrew(QPainter& p, QPointF c) {
    QRadialGradient g(c - QPointF(1, 1), 4);
    g.setColorAt(0, QColor(150, 148, 160));
    g.setColorAt(1, QColor(60, 58, 70));
    p.setPen(QPen(QColor(24, 22, 30), 0.8));
    p.setBrush(g);
    p.drawEllipse(c, 3.2, 3.2);
    p.setPen(QPen(QColor(34, 32, 40), 1.0));
    p.drawLine(c + QPointF(-2, 1.2), c + QPointF(2, -1.2));
}

void DrawLabel(QPainter& p, const QString& text, QPointF centre) {
    const QPainterPath path = Centred(TextPath(text, BoldFont(8)), centre);
    p.fillPath(path.translated(0, 1), QColor(24, 22, 30));
    p.fillPath(path, QColor(150, 146, 166));
}

void DrawName(QPainter& p) {
    const QRectF box(50, 262, 163, 22); // x 50..212, y 262..283
    const QPainterPath name = Fitted(TextPath("Vibralon", BoldObliqueFont(30)), box);
    p.fillPath(name.translated(1.2, 1.4), QColor(16, 14, 20));
    QLinearGradient orange(0, box.top(), 0, box.bottom());
    orange.setColorAt(0.0, QColor(255, 196, 92));
    orange.setColorAt(0.5, QColor(255, 142, 24));
    orange.setColorAt(1.0, QColor(214, 92, 8));
    p.fillPath(name, orange);
}

} // namespace

QImage DrawFond(int scale) {
    QImage img(SizeOf("Fond") * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawShadow(p, scale);
    p.scale(scale, scale);
    DrawBevel(p);
    DrawWell(p);
    DrawGrille(p);
    DrawScrew(p, QPointF(18.5, 298.5));
    DrawScrew(p, QPointF(388.5, 298.5));
    DrawLabel(p, "SIGNAL", QPointF(108, 31));
    DrawLabel(p, "HELP", QPointF(313, 32));
    DrawName(p);
    return img;
}

} // namespace skingen

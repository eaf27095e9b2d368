// The small pictures on the body: lamp, help mark, logo and the string buttons.
#include "tools/skingen/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace skingen {

namespace {

QImage Canvas(const QImage& under) {
    return under.convertToFormat(QImage::Format_RGB32);
}

// A painter on `img` that draws in skin pixels.
void Begin(QPainter& p, int scale) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
}

// A soft shadow of an ellipse, fading out before it reaches the picture's border.
void DropShadow(QPainter& p, QPointF centre, qreal radius, qreal spread, int alpha) {
    QRadialGradient g(centre, radius + spread);
    g.setColorAt(0.0, QColor(0, 0, 0, alpha));
    g.setColorAt(radius / (radius + spread), QColor(0, 0, 0, alpha));
    g.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius + spread, radius + spread);
}

void Gloss(QPainter& p, QRectF area, int alpha) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0.0, QColor(255, 255, 255, alpha));
    g.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(area);
}

} // namespace

QImage DrawLamp(const QImage& under, bool lit, int scale) {
    QImage img = Canvas(under);
    QPainter p(&img);
    Begin(p, scale);
    const QPointF c(8, 7.5);
    if (lit) {
        QRadialGradient glow(c, 7.0);
        glow.setColorAt(0.0, QColor(90, 255, 90, 200));
        glow.setColorAt(0.7, QColor(60, 230, 60, 110));
        glow.setColorAt(1.0, QColor(40, 200, 40, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 7.0, 7.0);
    }
    QLinearGradient bezel(c - QPointF(0, 5.5), c + QPointF(0, 5.5));
    bezel.setColorAt(0.0, QColor(214, 212, 222));
    bezel.setColorAt(1.0, QColor(82, 80, 92));
    p.setPen(QPen(QColor(20, 19, 24), 0.7));
    p.setBrush(bezel);
    p.drawEllipse(c, 5.4, 5.4);
    QRadialGradient centre(c - QPointF(1, 1.2), 4.2);
    if (lit) {
        centre.setColorAt(0.0, QColor(235, 255, 225));
        centre.setColorAt(0.45, QColor(96, 255, 84));
        centre.setColorAt(1.0, QColor(24, 190, 30));
    } else {
        centre.setColorAt(0.0, QColor(58, 104, 56));
        centre.setColorAt(1.0, QColor(10, 44, 12));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(centre);
    p.drawEllipse(c, 3.7, 3.7);
    return img;
}

QImage DrawHelpMark(const QImage& under, int scale) {
    QImage img = Canvas(under);
    QPainter p(&img);
    Begin(p, scale);
    const QPainterPath mark = Centred(TextPath("?", BoldFont(16)), QPointF(8, 7.8));
    p.fillPath(mark.translated(0.8, 1), QColor(10, 10, 16));
    QLinearGradient cyan(0, 2, 0, 14);
    cyan.setColorAt(0.0, QColor(150, 250, 255));
    cyan.setColorAt(1.0, QColor(0, 200, 232));
    p.fillPath(mark, cyan);
    return img;
}

QImage DrawLogo(const QImage& under, int scale) {
    QImage img = Canvas(under);
    QPainter p(&img);
    Begin(p, scale);

    // The figure: a plectrum with a face, waving; kept clear of the border.
    p.save();
    p.translate(2, 0);
    QPainterPath pick;
    pick.moveTo(4, 11);
    pick.cubicTo(4, 3, 28, 3, 28, 11);
    pick.cubicTo(28, 20, 20, 30, 16, 37);
    pick.cubicTo(12, 30, 4, 20, 4, 11);
    pick.closeSubpath();
    p.fillPath(pick.translated(1, 1.2), QColor(16, 14, 20));
    QLinearGradient amber(4, 4, 28, 36);
    amber.setColorAt(0.0, QColor(255, 206, 96));
    amber.setColorAt(1.0, QColor(226, 104, 16));
    p.fillPath(pick, amber);
    p.setPen(QPen(QColor(120, 52, 8), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pick);
    // arms
    p.setPen(QPen(QColor(255, 186, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 16), QPointF(1.5, 11.5));
    p.drawLine(QPointF(27, 16), QPointF(30.5, 20));
    // eyes and smile
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12.5, 12), 3, 3.4);
    p.drawEllipse(QPointF(19.5, 12), 3, 3.4);
    p.setBrush(QColor(20, 16, 20));
    p.drawEllipse(QPointF(13.3, 12.6), 1.4, 1.7);
    p.drawEllipse(QPointF(20.3, 12.6), 1.4, 1.7);
    p.setPen(QPen(QColor(90, 34, 6), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(11, 14, 10, 7), 200 * 16, 140 * 16);

    // The word mark, dark, on a brushed-metal plate.
    p.restore();
    const QRectF plate(35, 13, 48, 17);
    QLinearGradient metal(plate.topLeft(), plate.bottomLeft());
    metal.setColorAt(0.0, QColor(232, 230, 238));
    metal.setColorAt(0.5, QColor(186, 184, 196));
    metal.setColorAt(1.0, QColor(150, 148, 162));
    p.setPen(QPen(QColor(20, 19, 25), 1.0));
    p.setBrush(metal);
    p.drawRoundedRect(plate, 3, 3);
    const QPainterPath word =
        Fitted(TextPath("vibralon", BoldObliqueFont(14)), plate.adjusted(4, 4.5, -4, -4.5));
    p.fillPath(word.translated(0, 0.7), QColor(255, 255, 255, 150));
    p.fillPath(word, QColor(36, 30, 44));
    return img;
}

QImage DrawStringButton(const QImage& under, const QString& name, bool lit, int scale) {
    QImage img = Canvas(under);
    QPainter p(&img);
    Begin(p, scale);
    const QPointF c(29, 28);
    DropShadow(p, c + QPointF(1.2, 1.8), 22, 4.5, 150);
    if (lit) { // the lit cap spills a little light onto the body
        QRadialGradient glow(c, 26);
        glow.setColorAt(0.8, QColor(110, 255, 90, 110));
        glow.setColorAt(1.0, QColor(110, 255, 90, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 26, 26);
    }

    // Metal ring.
    QLinearGradient ring(c - QPointF(0, 23), c + QPointF(0, 23));
    ring.setColorAt(0.0, lit ? QColor(206, 236, 196) : QColor(170, 168, 180));
    ring.setColorAt(1.0, lit ? QColor(40, 96, 40) : QColor(26, 25, 31));
    p.setPen(QPen(QColor(12, 12, 15), 1.0));
    p.setBrush(ring);
    p.drawEllipse(c, 22.5, 22.5);

    // Cap.
    QRadialGradient cap(c + QPointF(-4, -6), 26);
    if (lit) {
        cap.setColorAt(0.0, QColor(226, 255, 206));
        cap.setColorAt(0.55, QColor(150, 228, 128));
        cap.setColorAt(1.0, QColor(74, 160, 64));
    } else {
        cap.setColorAt(0.0, QColor(78, 78, 88));
        cap.setColorAt(0.55, QColor(28, 28, 34));
        cap.setColorAt(1.0, QColor(4, 4, 6));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(cap);
    p.drawEllipse(c, 19.5, 19.5);
    Gloss(p, QRectF(c.x() - 14, c.y() - 18.5, 28, 17), lit ? 170 : 110);

    const QPainterPath label = Centred(TextPath(name, BoldFont(17)), c + QPointF(0, 2.5));
    if (lit) {
        p.setPen(QPen(QColor(10, 86, 14), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(label);
        p.fillPath(label, QColor(60, 255, 60));
    } else {
        p.fillPath(label.translated(0, 1), QColor(0, 0, 0));
        p.fillPath(label, QColor(176, 176, 184));
    }
    return img;
}

} // namespace skingen

// MAINICON: a gauge dial between a minus and a plus. At 32 pixels it is drawn without smoothing so
// that it maps cleanly onto sixteen colours; the desktop's larger icons scale the same strokes.
#include "tools/skingen/drawing.h"

#include <QPainter>
#include <cmath>

namespace skingen {

QImage DrawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const bool smooth = size != kIconGrid;
    p.scale(double(size) / kIconGrid, double(size) / kIconGrid);
    const QPointF hub(16, 27);
    const QRectF outer(hub.x() - 15, hub.y() - 15, 30, 30);

    // Fan-shaped dial from 20 to 160 degrees.
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawPie(outer, 20 * 16, 140 * 16);

    // Coloured scale: green on the left, yellow at the top, red on the right.
    const QRectF arc(hub.x() - 12, hub.y() - 12, 24, 24);
    p.setPen(QPen(QColor(0, 255, 0), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 112 * 16, 45 * 16);
    p.setPen(QPen(QColor(255, 255, 0), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 68 * 16, 44 * 16);
    p.setPen(QPen(QColor(255, 0, 0), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 23 * 16, 45 * 16);

    // Needle just right of centre.
    const double a = 80.0 * M_PI / 180.0;
    p.setPen(QPen(QColor(0, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hub, hub + QPointF(13 * std::cos(a), -13 * std::sin(a)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    p.drawRect(QRectF(14, 25, 4, 3));

    // Minus top left, plus top right.
    const QColor blue(0, 0, 255);
    p.fillRect(QRect(1, 4, 8, 2), blue);
    p.fillRect(QRect(23, 4, 8, 2), blue);
    p.fillRect(QRect(26, 1, 2, 8), blue);
    return img;
}

} // namespace skingen

// The painters of the skin pictures. Each returns a true-colour drawing at the picture's size;
// small pictures are drawn on `under`, the stored pixels of what lies beneath them.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>

namespace skingen {

// Registers the packaged DejaVu faces with the font database; throws if one is missing.
void loadFonts();
QFont boldFont(qreal pixelSize);
QFont boldObliqueFont(qreal pixelSize);

QPainterPath textPath(const QString& text, const QFont& font);
// Moves a path so the centre of its bounding box lies at `centre`.
QPainterPath centred(const QPainterPath& path, QPointF centre);
// Scales and moves a path so its bounding box fills `box`.
QPainterPath fitted(const QPainterPath& path, const QRectF& box);
// Blurs an alpha mask in place with three box passes of the given radius.
void blurAlpha(QImage& mask, int radius);

QImage drawFond();
QImage drawShape1();
QImage drawNoteFrame(int frame); // 0..11 C..B, 12 and above the bare face
QImage drawNoteStrip();
QImage drawMoins(const QImage& under);
QImage drawPlus(const QImage& under);
QImage drawLamp(const QImage& under, bool lit);
QImage drawHelpMark(const QImage& under);
QImage drawLogo(const QImage& under);
QImage drawStringButton(const QImage& under, const QString& name, bool lit);
// The window icon on its 32-unit grid, drawn `size` pixels square (smoothed above 32).
constexpr int kIconGrid = 32;
QImage drawIcon(int size = kIconGrid);

} // namespace skingen

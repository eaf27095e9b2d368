// The painters of the skin pictures. Each returns a true-colour drawing at the picture's size;
// small pictures are drawn on `under`, the stored pixels of what lies beneath them.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>

namespace skingen {

// Registers the packaged DejaVu faces with the font database; throws if one is missing.
void LoadFonts();
QFont BoldFont(qreal pixelSize);
QFont BoldObliqueFont(qreal pixelSize);

QPainterPath TextPath(const QString& text, const QFont& font);
// Moves a path so the centre of its bounding box lies at `centre`.
QPainterPath Centred(const QPainterPath& path, QPointF centre);
// Scales and moves a path so its bounding box fills `box`.
QPainterPath Fitted(const QPainterPath& path, const QRectF& box);
// Blurs an alpha mask in place with three box passes of the given radius.
void BlurAlpha(QImage& mask, int radius);

QImage DrawFond();
QImage DrawShape1();
QImage DrawNoteFrame(int frame); // 0..11 C..B, 12 and above the bare face
QImage DrawNoteStrip();
QImage DrawMoins(const QImage& under);
QImage DrawPlus(const QImage& under);
QImage DrawLamp(const QImage& under, bool lit);
QImage DrawHelpMark(const QImage& under);
QImage DrawLogo(const QImage& under);
QImage DrawStringButton(const QImage& under, const QString& name, bool lit);
// The window icon on its 32-unit grid, drawn `size` pixels square (smoothed above 32).
constexpr int kIconGrid = 32;
QImage DrawIcon(int size = kIconGrid);

} // namespace skingen

// The painters of the skin pictures. Each returns a true-colour drawing at `scale` times the
// picture's size in skin pixels, drawn in skin pixels throughout; small pictures are drawn on
// `under`, the stored pixels of what lies beneath them at the same scale.
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

QImage DrawFond(int scale);
QImage DrawShape1(int scale);
QImage DrawNoteFrame(int frame, int scale); // 0..11 C..B, 12 and above the bare face
QImage DrawNoteStrip(int scale);
QImage DrawMoins(const QImage& under, int scale);
QImage DrawPlus(const QImage& under, int scale);
QImage DrawLamp(const QImage& under, bool lit, int scale);
QImage DrawHelpMark(const QImage& under, int scale);
QImage DrawLogo(const QImage& under, int scale);
QImage DrawStringButton(const QImage& under, const QString& name, bool lit, int scale);
// The window icon on its 32-unit grid, drawn `size` pixels square (smoothed above 32).
constexpr int kIconGrid = 32;
QImage DrawIcon(int size = kIconGrid);

} // namespace skingen

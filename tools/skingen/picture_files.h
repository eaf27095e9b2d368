// Writers for the stored kinds of the skin pictures. Each returns the pixels as a reader will
// see them, so the generator can crop backgrounds and compose previews from the stored look.
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <functional>

#include "tools/skingen/indexed_image.h"

namespace skingen {

// Uncompressed BMP (BI_RGB), bottom-up rows, BITMAPINFOHEADER.
QImage WriteBmp8(const IndexedImage& picture, const QString& path);
QImage WriteBmp24(const QImage& picture, const QString& path);
// 16 bits a pixel, 5-5-5, each channel rounded to its nearest 5-bit level.
QImage WriteBmp555(const QImage& picture, const QString& path);

// Baseline JPEG, YCbCr with 4:2:0 chroma sampling.
QImage WriteJpeg(const QImage& picture, const QString& path);

// A one-image icon: 4 bits a pixel over the given palette, with an AND mask for the pixels whose
// alpha is below one half. Colours are mapped to the nearest palette entry.
using IconPalette = std::array<QRgb, 16>;
QImage WriteIcon16(const QImage& argb, const IconPalette& palette, const QString& path);
// The pixels writeIcon16 stores, without writing a file.
QImage Icon16Look(const QImage& argb, const IconPalette& palette);
// The Windows program's icon: `grid`, the 32-pixel image, as writeIcon16 stores it, and `draw`'s
// drawings at 16, 24 and 48 pixels (32 bits a pixel) and at 256 (PNG), for every size a desktop
// asks for.
void WriteWindowsIcon(const std::function<QImage(int)>& draw, const QImage& grid,
                      const IconPalette& palette, const QString& path);

// PNG with alpha, for the desktop's icon theme.
void WritePng(const QImage& picture, const QString& path);
// PNG without alpha, for the high-density skin; lossless, so the look is the drawing.
QImage WriteSkinPng(const QImage& picture, const QString& path);

} // namespace skingen

// A palette picture, and the quantiser that makes one from a true-colour drawing.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace skingen {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;        // at most 256 entries
    std::vector<std::uint8_t> pixels; // row-major, top row first

    QImage ToImage() const;
};

// Reduces a drawing to at most 256 colours by median cut. Colours listed in keepExact (and
// every colour, when the drawing has 256 or fewer) come through unchanged, so a background
// cropped from another picture still matches it pixel for pixel.
IndexedImage Quantise(const QImage& drawing, const std::vector<QRgb>& keepExact);

// The colours of the outermost ring of pixels, the part that must match what lies beneath.
std::vector<QRgb> BorderColours(const QImage& picture);

} // namespace skingen

// Composes an area of a form a band of rows at a time through one small buffer, so that a host
// keeps no picture of the whole window besides the one its window system already keeps.
#pragma once

#include <algorithm>

#include "ui/skin/form.h"
#include "ui/skin/geometry.h"
#include "ui/skin/rgb_pixels.h"

namespace skin {

class BandComposer {
public:
    // A band of the window's width is then a few tens of kilobytes.
    static constexpr int kRows = 16;

    // Composes `area` of the form's client area `rows` rows at a time, top to bottom, and after
    // each band calls show(pixels, band): the band's top-left pixel is the pixels' top-left
    // one, its rows pixels.Width() apart. Bands are in skin pixels, the pixels at the form's
    // art scale (band.Width() * form.ArtScale() of them a row).
    template <typename Show> void Compose(Form& form, const Rect& area, int rows, Show&& show) {
        rows = std::max(rows, 1);
        const int scale = form.ArtScale();
        for (int top = area.top; top < area.bottom; top += rows) {
            const Rect band{area.left, top, area.right, std::min(area.bottom, top + rows)};
            Hold(band.Width() * scale, band.Height() * scale);
            form.ComposeArea(band, buffer_);
            show(static_cast<const RgbPixels&>(buffer_), band);
        }
    }

private:
    // Grows the buffer to hold a band of that size; it never shrinks.
    void Hold(int width, int height) {
        if (width > buffer_.Width() || height > buffer_.Height()) {
            buffer_ =
                RgbPixels(std::max(width, buffer_.Width()), std::max(height, buffer_.Height()));
        }
    }

    RgbPixels buffer_;
};

// How a host shows the form's art on a screen of `devicePixelRatio` screen pixels a skin pixel.
struct ScreenPainting {
    bool smooth;  // scale with a smoothing filter; else nearest neighbour
    int bandRows; // the rows of each band to compose and show
};

// At the art's own scale each composed pixel is one screen pixel, band by band. Otherwise each
// area goes in one piece, so that it scales as one picture with no seam between bands: larger
// art smoothly (2x at 150 % or 300 %), the 1x art (125 %) nearest neighbour, each skin pixel a
// block of its own colour, as it always was.
inline ScreenPainting PaintingFor(int artScale, double devicePixelRatio, const Rect& area) {
    if (devicePixelRatio == artScale) {
        return {false, BandComposer::kRows};
    }
    return {artScale > 1, area.Height()};
}

} // namespace skin

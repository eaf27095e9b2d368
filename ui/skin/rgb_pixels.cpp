#include "ui/skin/rgb_pixels.h"

#include <algorithm>

namespace skin {

RgbPixels::RgbPixels(int width, int height, Pixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void RgbPixels::Fill(const Rect& area, Pixel colour) {
    const Rect r = area.Intersected(Bounds());
    if (r.Empty()) {
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) {
        std::fill(Row(y) + r.left, Row(y) + r.right, colour);
    }
}

void RgbPixels::Copy(const RgbPixels& source, const Rect& sourceArea, Point to) {
    Rect from = sourceArea.Intersected(source.Bounds());
    // Clip the destination, then carry the clipping back to the source.
    const Rect target =
        from.Translated(to.x - sourceArea.left, to.y - sourceArea.top).Intersected(Bounds());
    if (target.Empty()) {
        return;
    }
    from = target.Translated(sourceArea.left - to.x, sourceArea.top - to.y);
    for (int dy = 0; dy < target.Height(); ++dy) {
        const Pixel* in = source.Row(from.top + dy) + from.left;
        std::copy(in, in + target.Width(), Row(target.top + dy) + target.left);
    }
}

} // namespace skin

#include "ui/skin/focus_ring.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace skin {

namespace {

constexpr int Gap = 1;
constexpr double Radius = 6.0;

// Whether the pixel at (x, y) of a ring `width` x `height` belongs to it: measured from pixel
// centres, within Radius of the inner rectangle that the corners round, and no closer to it
// than Radius minus the ring's width.
// All in target pixels, `scale` a skin pixel: the ring keeps its shape at every scale.
bool OnRing(int x, int y, int width, int height, int scale) {
    const double radius = Radius * scale;
    const double dx = std::max(std::abs(x + 0.5 - width / 2.0) - (width / 2.0 - radius), 0.0);
    const double dy = std::max(std::abs(y + 0.5 - height / 2.0) - (height / 2.0 - radius), 0.0);
    const double distance = std::hypot(dx, dy);
    return distance <= radius && distance > radius - FocusRingWidth * scale;
}

Rect Scaled(const Rect& r, int scale) {
    return {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}

} // namespace

Rect FocusRingAround(const Rect& component) {
    const int grow = Gap + FocusRingWidth;
    return {component.left - grow, component.top - grow, component.right + grow,
            component.bottom + grow};
}

void DrawFocusRing(const Rect& ring, const Rect& area, RgbPixels& target, int scale) {
    const Rect r = Scaled(ring, scale);
    const Rect a = Scaled(area, scale);
    const Rect drawn = r.Intersected(a).Intersected(target.Bounds().Translated(a.left, a.top));
    for (int y = drawn.top; y < drawn.bottom; ++y) {
        for (int x = drawn.left; x < drawn.right; ++x) {
            if (OnRing(x - r.left, y - r.top, r.Width(), r.Height(), scale)) {
                target.Set(x - a.left, y - a.top, FocusRingColour);
            }
        }
    }
}

} // namespace skin

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
bool OnRing(int x, int y, int width, int height) {
    const double dx = std::max(std::abs(x + 0.5 - width / 2.0) - (width / 2.0 - Radius), 0.0);
    const double dy = std::max(std::abs(y + 0.5 - height / 2.0) - (height / 2.0 - Radius), 0.0);
    const double distance = std::hypot(dx, dy);
    return distance <= Radius && distance > Radius - FocusRingWidth;
}

} // namespace

Rect FocusRingAround(const Rect& component) {
    const int grow = Gap + FocusRingWidth;
    return {component.left - grow, component.top - grow, component.right + grow,
            component.bottom + grow};
}

void DrawFocusRing(const Rect& ring, const Rect& area, RgbPixels& target) {
    const Rect drawn =
        ring.Intersected(area).Intersected(target.Bounds().Translated(area.left, area.top));
    for (int y = drawn.top; y < drawn.bottom; ++y) {
        for (int x = drawn.left; x < drawn.right; ++x) {
            if (OnRing(x - ring.left, y - ring.top, ring.Width(), ring.Height())) {
                target.Set(x - area.left, y - area.top, FocusRingColour);
            }
        }
    }
}

} // namespace skin

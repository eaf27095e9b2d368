// The keyboard focus as the skin draws it: a 2-pixel rounded ring in the read-out's cream,
// one pixel clear of the focused component.
#pragma once

#include "ui/skin/geometry.h"
#include "ui/skin/rgb_pixels.h"

namespace skin {

inline constexpr Pixel FocusRingColour = Rgb(250, 236, 190);
inline constexpr int FocusRingWidth = 2;

// The ring's bounds around a component's.
Rect FocusRingAround(const Rect& component);

// Draws what of `ring` lies in `area` (client coordinates, skin pixels) onto `target`, whose
// top-left corner stands for the area's, at `scale` target pixels a skin pixel.
void DrawFocusRing(const Rect& ring, const Rect& area, RgbPixels& target, int scale = 1);

} // namespace skin

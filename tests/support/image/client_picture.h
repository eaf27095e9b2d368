// The whole client area of a form as it is composed for painting, at its art scale: what its
// window shows.
#pragma once

#include "ui/skin/form.h"
#include "ui/skin/rgb_pixels.h"

namespace test_image {

skin::RgbPixels ClientPicture(skin::Form& form);

} // namespace test_image

// The whole client area of a form as it is composed for painting: what its window shows.
#pragma once

#include "ui/model/form.h"
#include "ui/model/pixel_image.h"

namespace test_image {

skin::PixelImage ClientPicture(skin::Form& form);

} // namespace test_image

#pragma once

#include "ui/skin/rgb_pixels.h"

namespace test_image {

// Writes the image as a binary PPM (P6, 8 bits a channel); false if the file cannot be written.
bool WritePpm(const skin::RgbPixels& image, const char* path);

} // namespace test_image

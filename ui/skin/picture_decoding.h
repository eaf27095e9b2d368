// Turning the stored picture files into pixels: BMP and PNG through stb_image, JPEG through
// libjpeg.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <variant>

#include "ui/skin/indexed_pixels.h"
#include "ui/skin/rgb_pixels.h"

namespace skin {

enum class PictureFormat { Bmp, Jpeg, Png };

class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each throws PictureError for data it cannot read.
// A BMP of at most 256 colours (whatever its stored depth) as a IndexedPixels, any other as a
// RgbPixels.
std::variant<IndexedPixels, RgbPixels>
DecodeBmpKeepingPalette(std::span<const std::uint8_t> encoded);
RgbPixels DecodeJpeg(std::span<const std::uint8_t> encoded);
RgbPixels DecodePng(std::span<const std::uint8_t> encoded);

} // namespace skin

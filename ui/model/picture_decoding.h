// Turning the stored picture files into pixels: BMP through stb_image, JPEG through libjpeg.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "ui/model/pixel_image.h"

namespace skin {

enum class PictureFormat { Bmp, Jpeg };

class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each throws PictureError for data it cannot read.
PixelImage DecodeBmp(std::span<const std::uint8_t> encoded);
PixelImage DecodeJpeg(std::span<const std::uint8_t> encoded);

// How many pictures this process has decoded so far (successful or not): pictures are meant
// to be decoded once each, and this is how that is checked.
std::uint64_t PicturesDecoded();

} // namespace skin

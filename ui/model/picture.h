// The picture of an image component. A bitmap is decoded when the picture is made; a JPEG is
// kept encoded until it is first painted, then decoded once and kept.
#pragma once

#include <cstdint>
#include <span>

#include "ui/model/picture_decoding.h"
#include "ui/model/pixel_image.h"

namespace skin {

class Picture {
public:
    Picture() = default;
    explicit Picture(PixelImage pixels);
    // `encoded` must outlive the picture (the skin's files are part of the program).
    Picture(PictureFormat format, std::span<const std::uint8_t> encoded);

    bool Decoded() const { return pending_.empty(); }
    // Decode a waiting JPEG now. A picture that cannot be decoded becomes empty (nothing is
    // painted) rather than failing every later paint.
    const PixelImage& Pixels();
    PixelImage& Canvas();

private:
    std::span<const std::uint8_t> pending_;
    PixelImage pixels_;
};

} // namespace skin

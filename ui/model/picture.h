// The picture of an image component. A bitmap is decoded when the picture is made, and kept at a
// byte a pixel when it has at most 256 colours until something draws on it; a JPEG is kept
// encoded until it is first painted, then decoded once and kept.
#pragma once

#include <cstdint>
#include <span>

#include "ui/model/palette_image.h"
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
    // Whether the picture is held at a byte a pixel.
    bool Paletted() const { return !palette_.Empty(); }
    Size Dimensions();
    // Copies part of the picture onto `target`, as PixelImage::Copy does, converting only that
    // part from a paletted picture.
    void CopyTo(PixelImage& target, const Rect& sourceArea, Point to);
    // The pixels at 32 bits: a waiting JPEG is decoded now, a paletted picture widened for good.
    // A picture that cannot be decoded becomes empty (nothing is painted) rather than failing
    // every later paint.
    const PixelImage& Pixels();
    PixelImage& Canvas();

private:
    std::span<const std::uint8_t> pending_;
    PaletteImage palette_;
    PixelImage pixels_;
};

} // namespace skin

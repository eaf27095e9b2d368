// The picture of an image component. A bitmap is decoded when the picture is made, and kept at a
// byte a pixel when it has at most 256 colours until something draws on it; a JPEG or PNG is
// kept encoded until it is first read (its first painting), then decoded once and kept.
#pragma once

#include <cstdint>
#include <span>

#include "ui/skin/indexed_pixels.h"
#include "ui/skin/picture_decoding.h"
#include "ui/skin/rgb_pixels.h"

namespace skin {

// What to do with a picture's encoded bytes once it is decoded from them: they are never read
// for it again.
using EncodedBytesDone = void (*)(std::span<const std::uint8_t> encoded);

class Picture {
public:
    Picture() = default;
    explicit Picture(RgbPixels pixels);
    // `encoded` must outlive the picture (the skin's files are part of the program); `done`, when
    // given, is told of them after decoding.
    Picture(PictureFormat format, std::span<const std::uint8_t> encoded,
            EncodedBytesDone done = nullptr);

    bool Decoded() const { return pending_.empty(); }
    // Whether the picture is held at a byte a pixel.
    bool Indexed() const { return !indexed_.Empty(); }

    // Reading keeps an indexed picture at a byte a pixel. A picture that cannot be decoded
    // reads as empty (nothing is painted) rather than failing every later paint.
    Size Dimensions() const;
    Pixel At(int x, int y) const;
    // Copies part of the picture onto `target`, as RgbPixels::Copy does.
    void CopyTo(RgbPixels& target, const Rect& sourceArea, Point to) const;
    // A copy of the pixels at 32 bits; the picture itself stays as it is held.
    RgbPixels ToRgb() const;

    // The pixels to draw on: an indexed picture is widened to 32 bits here, for good.
    RgbPixels& Canvas();

private:
    // Decodes a waiting JPEG or PNG; the decoded pixels are what the picture always was.
    void DecodePending() const;

    mutable std::span<const std::uint8_t> pending_;
    PictureFormat pendingFormat_ = PictureFormat::Jpeg;
    EncodedBytesDone done_ = nullptr;
    IndexedPixels indexed_;
    mutable RgbPixels rgb_;
};

} // namespace skin

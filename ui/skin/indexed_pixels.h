// A picture of at most 256 colours kept at a byte a pixel: a quarter of its true-colour size.
// Skin artwork that is drawn from but never drawn on (the background, the note strip) is kept
// this way; composing converts only the area it copies.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/skin/rgb_pixels.h"

namespace skin {

class IndexedPixels {
public:
    IndexedPixels() = default;
    // The picture of `width` x `height` packed RGB triplets, rows top to bottom; nothing when it
    // holds more than 256 colours.
    static std::optional<IndexedPixels> FromRgb(const unsigned char* rgb, int width, int height);

    Size Dimensions() const { return {width_, height_}; }
    Rect Bounds() const { return {0, 0, width_, height_}; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    Pixel At(int x, int y) const {
        return palette_[indices_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                 static_cast<std::size_t>(x)]];
    }

    // The same pixels at 32 bits.
    RgbPixels Expanded() const;
    // As RgbPixels::Copy with this picture as the source.
    void CopyTo(RgbPixels& target, const Rect& sourceArea, Point to) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> palette_;
    std::vector<std::uint8_t> indices_;
};

} // namespace skin

// A true-colour picture in memory: 32 bits a pixel, 0xFFRRGGBB, rows top to bottom.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/skin/geometry.h"

namespace skin {

using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<Pixel>(r & 0xFF) << 16) |
           (static_cast<Pixel>(g & 0xFF) << 8) | static_cast<Pixel>(b & 0xFF);
}

class RgbPixels {
public:
    RgbPixels() = default;
    RgbPixels(int width, int height, Pixel fill = Rgb(0, 0, 0));

    int Width() const { return width_; }
    int Height() const { return height_; }
    Size Dimensions() const { return {width_, height_}; }
    Rect Bounds() const { return {0, 0, width_, height_}; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    Pixel At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Pixel p) { pixels_[Index(x, y)] = p; }
    Pixel* Row(int y) { return pixels_.data() + Index(0, y); }
    const Pixel* Row(int y) const { return pixels_.data() + Index(0, y); }
    const Pixel* Data() const { return pixels_.data(); }

    // Both clip to the picture; Copy also clips to the source.
    void Fill(const Rect& area, Pixel colour);
    void Copy(const RgbPixels& source, const Rect& sourceArea, Point to);

    friend bool operator==(const RgbPixels&, const RgbPixels&) = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

} // namespace skin

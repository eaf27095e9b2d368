#include "ui/model/palette_image.h"

#include <algorithm>

namespace skin {

std::optional<PaletteImage> PaletteImage::FromRgb(const unsigned char* rgb, int width, int height) {
    PaletteImage image;
    image.width_ = std::max(width, 0);
    image.height_ = std::max(height, 0);
    image.indices_.resize(static_cast<std::size_t>(image.width_) *
                          static_cast<std::size_t>(image.height_));
    image.palette_.reserve(256);
    // Neighbours mostly share a colour, so the last one found is tried first; the palette is
    // searched only when the colour changes.
    Pixel last = 0;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < image.indices_.size(); ++i, rgb += 3) {
        const Pixel colour = Rgb(rgb[0], rgb[1], rgb[2]);
        if (image.palette_.empty() || colour != last) {
            const auto found = std::find(image.palette_.begin(), image.palette_.end(), colour);
            if (found == image.palette_.end()) {
                if (image.palette_.size() == 256) {
                    return std::nullopt;
                }
                image.palette_.push_back(colour);
            }
            last = colour;
            lastIndex = static_cast<std::uint8_t>(
                std::find(image.palette_.begin(), image.palette_.end(), colour) -
                image.palette_.begin());
        }
        image.indices_[i] = lastIndex;
    }
    image.palette_.shrink_to_fit();
    return image;
}

PixelImage PaletteImage::Expanded() const {
    PixelImage pixels(width_, height_);
    CopyTo(pixels, Bounds(), {0, 0});
    return pixels;
}

void PaletteImage::CopyTo(PixelImage& target, const Rect& sourceArea, Point to) const {
    Rect from = sourceArea.Intersected(Bounds());
    // Clip the destination, then carry the clipping back to the source.
    const Rect area =
        from.Translated(to.x - sourceArea.left, to.y - sourceArea.top).Intersected(target.Bounds());
    if (area.Empty()) {
        return;
    }
    from = area.Translated(sourceArea.left - to.x, sourceArea.top - to.y);
    for (int dy = 0; dy < area.Height(); ++dy) {
        const std::uint8_t* in =
            indices_.data() +
            static_cast<std::size_t>(from.top + dy) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(from.left);
        Pixel* out = target.Row(area.top + dy) + area.left;
        for (int x = 0; x < area.Width(); ++x) {
            out[x] = palette_[in[x]];
        }
    }
}

} // namespace skin

#include "ui/skin/indexed_pixels.h"

#include <algorithm>
#include <array>

namespace skin {

namespace {

// Colour to palette index, by open addressing over twice the largest palette: a start-up pass
// over a few hundred thousand pixels stays at a few probes a pixel.
class ColourIndex {
public:
    // The colour's index, or -1 when it is new.
    int Find(Pixel colour) const {
        for (std::size_t slot = Start(colour);; slot = (slot + 1) % kSlots) {
            if (keys_[slot] == colour) {
                return values_[slot];
            }
            if (keys_[slot] == kEmpty) {
                return -1;
            }
        }
    }
    void Add(Pixel colour, std::uint8_t index) {
        std::size_t slot = Start(colour);
        while (keys_[slot] != kEmpty) {
            slot = (slot + 1) % kSlots;
        }
        keys_[slot] = colour;
        values_[slot] = index;
    }

private:
    static constexpr std::size_t kSlots = 512;
    // Every colour is opaque, so no colour is 0.
    static constexpr Pixel kEmpty = 0;
    static std::size_t Start(Pixel colour) { return (colour * 2654435761u) >> 23; }

    std::array<Pixel, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> values_{};
};

} // namespace

std::optional<IndexedPixels> IndexedPixels::FromRgb(const unsigned char* rgb, int width,
                                                    int height) {
    IndexedPixels image;
    image.width_ = std::max(width, 0);
    image.height_ = std::max(height, 0);
    image.indices_.resize(static_cast<std::size_t>(image.width_) *
                          static_cast<std::size_t>(image.height_));
    image.palette_.reserve(256);
    ColourIndex known;
    // Neighbours mostly share a colour, so the last one is tried before the table.
    Pixel last = 0;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < image.indices_.size(); ++i, rgb += 3) {
        const Pixel colour = Rgb(rgb[0], rgb[1], rgb[2]);
        if (colour != last) {
            const int found = known.Find(colour);
            if (found >= 0) {
                lastIndex = static_cast<std::uint8_t>(found);
            } else {
                if (image.palette_.size() == 256) {
                    return std::nullopt;
                }
                lastIndex = static_cast<std::uint8_t>(image.palette_.size());
                image.palette_.push_back(colour);
                known.Add(colour, lastIndex);
            }
            last = colour;
        }
        image.indices_[i] = lastIndex;
    }
    image.palette_.shrink_to_fit();
    return image;
}

RgbPixels IndexedPixels::Expanded() const {
    RgbPixels pixels(width_, height_);
    CopyTo(pixels, Bounds(), {0, 0});
    return pixels;
}

void IndexedPixels::CopyTo(RgbPixels& target, const Rect& sourceArea, Point to) const {
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

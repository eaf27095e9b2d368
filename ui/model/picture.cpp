#include "ui/model/picture.h"

#include <cstdio>
#include <utility>

namespace skin {

Picture::Picture(PixelImage pixels) : pixels_(std::move(pixels)) {}

Picture::Picture(PictureFormat format, std::span<const std::uint8_t> encoded) {
    if (format == PictureFormat::Jpeg) {
        pending_ = encoded;
        return;
    }
    auto decoded = DecodeBmpKeepingPalette(encoded);
    if (auto* few = std::get_if<PaletteImage>(&decoded)) {
        palette_ = std::move(*few);
    } else {
        pixels_ = std::move(std::get<PixelImage>(decoded));
    }
}

Size Picture::Dimensions() {
    return Paletted() ? palette_.Dimensions() : Pixels().Dimensions();
}

void Picture::CopyTo(PixelImage& target, const Rect& sourceArea, Point to) {
    if (Paletted()) {
        palette_.CopyTo(target, sourceArea, to);
    } else {
        target.Copy(Pixels(), sourceArea, to);
    }
}

const PixelImage& Picture::Pixels() {
    return Canvas();
}

PixelImage& Picture::Canvas() {
    if (Paletted()) {
        pixels_ = std::exchange(palette_, {}).Expanded();
    }
    if (!pending_.empty()) {
        const auto encoded = std::exchange(pending_, {});
        try {
            pixels_ = DecodeJpeg(encoded);
        } catch (const PictureError& error) {
            // Painting cannot report; the picture stays empty and what lies beneath shows.
            std::fprintf(stderr, "skin: %s\n", error.what());
        }
    }
    return pixels_;
}

} // namespace skin

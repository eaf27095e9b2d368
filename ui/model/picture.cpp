#include "ui/model/picture.h"

#include <cstdio>
#include <utility>

namespace skin {

Picture::Picture(PixelImage pixels) : pixels_(std::move(pixels)) {}

Picture::Picture(PictureFormat format, std::span<const std::uint8_t> encoded) {
    if (format == PictureFormat::Jpeg) {
        pending_ = encoded;
    } else {
        pixels_ = DecodeBmp(encoded);
    }
}

const PixelImage& Picture::Pixels() {
    return Canvas();
}

PixelImage& Picture::Canvas() {
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

#include "ui/skin/picture.h"

#include <cstdio>
#include <utility>

namespace skin {

Picture::Picture(RgbPixels pixels) : rgb_(std::move(pixels)) {}

Picture::Picture(PictureFormat format, std::span<const std::uint8_t> encoded, EncodedBytesDone done)
    : done_(done) {
    if (format != PictureFormat::Bmp) {
        pending_ = encoded;
        pendingFormat_ = format;
        return;
    }
    auto decoded = DecodeBmpKeepingPalette(encoded);
    if (auto* few = std::get_if<IndexedPixels>(&decoded)) {
        indexed_ = std::move(*few);
    } else {
        rgb_ = std::move(std::get<RgbPixels>(decoded));
    }
    if (done_ != nullptr) {
        done_(encoded);
    }
}

Size Picture::Dimensions() const {
    DecodePending();
    return Indexed() ? indexed_.Dimensions() : rgb_.Dimensions();
}

Pixel Picture::At(int x, int y) const {
    DecodePending();
    return Indexed() ? indexed_.At(x, y) : rgb_.At(x, y);
}

void Picture::CopyTo(RgbPixels& target, const Rect& sourceArea, Point to) const {
    DecodePending();
    if (Indexed()) {
        indexed_.CopyTo(target, sourceArea, to);
    } else {
        target.Copy(rgb_, sourceArea, to);
    }
}

RgbPixels Picture::ToRgb() const {
    DecodePending();
    return Indexed() ? indexed_.Expanded() : rgb_;
}

RgbPixels& Picture::Canvas() {
    if (Indexed()) {
        rgb_ = std::exchange(indexed_, {}).Expanded();
    }
    DecodePending();
    return rgb_;
}

void Picture::DecodePending() const {
    if (pending_.empty()) {
        return;
    }
    const auto encoded = std::exchange(pending_, {});
    try {
        rgb_ = pendingFormat_ == PictureFormat::Png ? DecodePng(encoded) : DecodeJpeg(encoded);
    } catch (const PictureError& error) {
        // Painting cannot report; the picture stays empty and what lies beneath shows.
        std::fprintf(stderr, "skin: %s\n", error.what());
    }
    if (done_ != nullptr) {
        done_(encoded);
    }
}

} // namespace skin

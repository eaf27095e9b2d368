#include "ui/skin/image_list.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace skin {

ImageList::ImageList(const ComponentDescription& description, int count, Picture strip)
    : description_(description), count_(count), strip_(std::move(strip)), stripScale_(1) {}

ImageList::ImageList(const ComponentDescription& description, int count, PictureSource source)
    : description_(description), count_(count), source_(source) {}

void ImageList::FetchAt(int scale) const {
    if (source_ != nullptr && scale != stripScale_) {
        strip_ = source_(description_.name, scale);
        stripScale_ = scale;
        // Counted at the first frame drawn: reading the width would decode a waiting strip now.
        columns_ = 0;
    }
}

int ImageList::Columns() const {
    if (columns_ == 0) {
        const int frameWidth = description_.width * (stripScale_ != 0 ? stripScale_ : 1);
        columns_ = frameWidth > 0 ? std::max(1, strip_.Dimensions().width / frameWidth) : 1;
    }
    return columns_;
}

const Picture& ImageList::Strip(int scale) const {
    if (source_ != nullptr && scale != stripScale_) {
        try {
            FetchAt(scale);
        } catch (const PictureError& error) {
            std::fprintf(stderr, "skin: %s\n", error.what());
            strip_ = {};
            stripScale_ = scale;
            columns_ = 1;
        }
    }
    return strip_;
}

Rect ImageList::FrameRect(int index) const {
    Strip(stripScale_ != 0 ? stripScale_ : 1);
    const int columns = Columns();
    return Rect::At(
        {description_.width * (index % columns), description_.height * (index / columns)},
        {description_.width, description_.height});
}

void ImageList::Draw(Image& target, int x, int y, int index) {
    if (index < 0 || index >= count_) {
        return;
    }
    const Picture& strip = Strip(target.PictureScale());
    target.CopyRect(strip, FrameRect(index), {x, y});
}

} // namespace skin

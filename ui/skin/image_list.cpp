#include "ui/skin/image_list.h"

#include <algorithm>
#include <utility>

namespace skin {

ImageList::ImageList(const ComponentDescription& description, int count, Picture strip)
    : description_(description), count_(count), strip_(std::move(strip)),
      columns_(description.width > 0 ? std::max(1, strip_.Dimensions().width / description.width)
                                     : 1) {}

Rect ImageList::FrameRect(int index) const {
    return Rect::At(
        {description_.width * (index % columns_), description_.height * (index / columns_)},
        {description_.width, description_.height});
}

void ImageList::Draw(Image& target, int x, int y, int index) {
    if (index < 0 || index >= count_) {
        return;
    }
    target.CopyRect(strip_, FrameRect(index), {x, y});
}

} // namespace skin

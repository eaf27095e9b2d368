#include "ui/model/image_list.h"

#include <algorithm>
#include <utility>

namespace skin {

ImageList::ImageList(const ComponentSpec& spec, int count, Picture strip)
    : spec_(spec), count_(count), strip_(std::move(strip)),
      columns_(spec.width > 0 ? std::max(1, strip_.Pixels().Width() / spec.width) : 1) {}

Rect ImageList::FrameRect(int index) const {
    return Rect::At({spec_.width * (index % columns_), spec_.height * (index / columns_)},
                    {spec_.width, spec_.height});
}

void ImageList::Draw(Image& target, int x, int y, int index) {
    if (index < 0 || index >= count_) {
        return;
    }
    target.CopyRect(strip_.Pixels(), FrameRect(index), {x, y});
}

} // namespace skin

#include "ui/model/dirty_region.h"

#include <algorithm>

namespace skin {

DirtyRegion::DirtyRegion() {
    rects_.reserve(kMostRects + 1);
}

void DirtyRegion::Add(const Rect& area) {
    if (area.Empty()) {
        return;
    }
    for (const Rect& r : rects_) {
        if (r.Contains(area)) {
            return;
        }
    }
    std::erase_if(rects_, [&](const Rect& r) { return area.Contains(r); });
    rects_.push_back(area);
    if (rects_.size() > kMostRects) {
        const Rect all = Bounds();
        rects_.clear();
        rects_.push_back(all);
    }
}

Rect DirtyRegion::Bounds() const {
    Rect all;
    for (const Rect& r : rects_) {
        all = all.United(r);
    }
    return all;
}

} // namespace skin

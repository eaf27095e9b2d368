// The parts of the client area that must be composed again, as a short list of rectangles.
#pragma once

#include <vector>

#include "ui/model/geometry.h"

namespace skin {

class DirtyRegion {
public:
    DirtyRegion();

    // Adds an area; one already covered is dropped, ones it covers are replaced by it. Past a
    // handful of rectangles they are merged into their bounding box, which keeps composing cheap.
    void Add(const Rect& area);
    void Clear() { rects_.clear(); }
    bool Empty() const { return rects_.empty(); }
    const std::vector<Rect>& Rects() const { return rects_; }
    Rect Bounds() const;

private:
    static constexpr std::size_t kMostRects = 16;
    std::vector<Rect> rects_;
};

} // namespace skin

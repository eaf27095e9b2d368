// Points and rectangles in pixels; a rectangle excludes its right and bottom edges.
#pragma once

#include <algorithm>

namespace skin {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect At(Point topLeft, Size size) {
        return {topLeft.x, topLeft.y, topLeft.x + size.width, topLeft.y + size.height};
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool Contains(const Rect& r) const {
        return r.Empty() ||
               (r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom);
    }
    bool Intersects(const Rect& r) const { return !Intersected(r).Empty(); }
    Rect Intersected(const Rect& r) const {
        return {std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                std::min(bottom, r.bottom)};
    }
    // The bounding rectangle of both; an empty rectangle adds nothing.
    Rect United(const Rect& r) const {
        if (r.Empty()) {
            return *this;
        }
        if (Empty()) {
            return r;
        }
        return {std::min(left, r.left), std::min(top, r.top), std::max(right, r.right),
                std::max(bottom, r.bottom)};
    }
    Rect Translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace skin

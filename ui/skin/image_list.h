// A list of equal frames kept in one strip picture, drawn onto image components; never
// drawn by itself. The strip holds as many frames to a row as fit its width, row by row.
#pragma once

#include "ui/skin/component_description.h"
#include "ui/skin/image.h"
#include "ui/skin/picture.h"

namespace skin {

class ImageList {
public:
    ImageList(const ComponentDescription& description, int count, Picture strip);
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    std::string_view Name() const { return description_.name; }
    int Count() const { return count_; }
    int Width() const { return description_.width; }
    int Height() const { return description_.height; }
    Rect FrameRect(int index) const;

    // Copies frame `index` opaquely onto `target`'s picture with its top-left corner at x, y;
    // an index outside the list draws nothing.
    void Draw(Image& target, int x, int y, int index);

private:
    ComponentDescription description_;
    int count_;
    Picture strip_;
    int columns_;
};

} // namespace skin

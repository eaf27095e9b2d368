// A picture component: drawn 1:1 and opaque at its place, shown or hidden, raising mouse events.
#pragma once

#include <string_view>

#include "ui/skin/component_description.h"
#include "ui/skin/events.h"
#include "ui/skin/geometry.h"
#include "ui/skin/picture.h"

namespace skin {

class Form;

class Image {
public:
    // Joins `owner` above every component created before it.
    Image(Form& owner, const ComponentDescription& description, Picture picture);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    std::string_view Name() const { return description_.name; }
    const ComponentDescription& Description() const { return description_; }
    int Left() const { return description_.left; }
    int Top() const { return description_.top; }
    Rect BoundsRect() const {
        return {description_.left, description_.top, description_.left + description_.width,
                description_.top + description_.height};
    }
    Cursor GetCursor() const { return description_.cursor; }
    std::string_view Hint() const { return description_.hint; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Drawing on the picture itself, in the component's coordinates; what changed is repainted.
    void FillRect(const Rect& area, Pixel colour);
    void CopyRect(const RgbPixels& source, const Rect& sourceArea, Point to);
    void CopyRect(const Picture& source, const Rect& sourceArea, Point to);

    const Picture& GetPicture() const { return picture_; }

    MouseBinding OnMouseDown;
    MouseBinding OnMouseUp;
    NotifyBinding OnClick;

private:
    // Copies with `copy` onto the canvas and repaints what it touched.
    template <typename CopyFn> void CopyOnto(const Rect& sourceArea, Point to, CopyFn copy);

    Form& owner_;
    ComponentDescription description_;
    bool visible_;
    Picture picture_;
};

} // namespace skin

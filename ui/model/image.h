// A picture component: drawn 1:1 and opaque at its place, shown or hidden, raising mouse events.
#pragma once

#include <string_view>

#include "ui/model/component_spec.h"
#include "ui/model/events.h"
#include "ui/model/geometry.h"
#include "ui/model/picture.h"

namespace skin {

class Form;

class Image {
public:
    // Joins `owner` above every component created before it.
    Image(Form& owner, const ComponentSpec& spec, Picture picture);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    std::string_view Name() const { return spec_.name; }
    const ComponentSpec& Spec() const { return spec_; }
    int Left() const { return spec_.left; }
    int Top() const { return spec_.top; }
    Rect BoundsRect() const {
        return {spec_.left, spec_.top, spec_.left + spec_.width, spec_.top + spec_.height};
    }
    Cursor GetCursor() const { return spec_.cursor; }
    std::string_view Hint() const { return spec_.hint; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Drawing on the picture itself, in the component's coordinates; what changed is repainted.
    void FillRect(const Rect& area, Pixel colour);
    void CopyRect(const PixelImage& source, const Rect& sourceArea, Point to);

    Picture& GetPicture() { return picture_; }

    MouseBinding OnMouseDown;
    MouseBinding OnMouseUp;
    NotifyBinding OnClick;

private:
    Form& owner_;
    ComponentSpec spec_;
    bool visible_;
    Picture picture_;
};

} // namespace skin

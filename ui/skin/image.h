// A picture component: drawn opaque at its place, shown or hidden, raising mouse events. Its
// place and every drawing on it are in skin pixels; its picture is drawn at the form's art scale
// (see Form::SetArtScale), each skin pixel a block of that many picture pixels a side.
#pragma once

#include <string_view>

#include "ui/skin/component_description.h"
#include "ui/skin/events.h"
#include "ui/skin/geometry.h"
#include "ui/skin/picture.h"

namespace skin {

class Form;

// The picture of a component by its name, drawn at a scale; throws PictureError for none.
using PictureSource = Picture (*)(std::string_view componentName, int scale);

class Image {
public:
    // Joins `owner` above every component created before it. A picture given as it is is drawn
    // at 1x and shown blown up at other scales; one from `source` is fetched at the form's art
    // scale when first used (its first painting or drawing), and again when that scale changes.
    Image(Form& owner, const ComponentDescription& description, Picture picture);
    Image(Form& owner, const ComponentDescription& description, PictureSource source);
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

    // Drawing on the picture itself, in the component's skin pixels; what changed is repainted.
    // A source is drawn at PictureScale(), its area given in skin pixels too.
    void FillRect(const Rect& area, Pixel colour);
    void CopyRect(const RgbPixels& source, const Rect& sourceArea, Point to);
    void CopyRect(const Picture& source, const Rect& sourceArea, Point to);

    // Fetches the picture from its source at the form's art scale now, unless it holds one at
    // that scale; throws PictureError when it is missing or unreadable.
    void Load();
    const Picture& GetPicture() const;
    // The scale the picture is drawn at: picture pixels a skin pixel, a side.
    int PictureScale() const;
    // The form's art scale changed: a picture from a source is let go (with what was drawn on
    // it), to be fetched again at the new scale.
    void ArtScaleChanged();

    MouseBinding OnMouseDown;
    MouseBinding OnMouseUp;
    NotifyBinding OnClick;

private:
    // Copies with `copy` onto the canvas and repaints what it touched.
    template <typename CopyFn> void CopyOnto(const Rect& sourceArea, Point to, CopyFn copy);
    Picture& Fetched() const;
    // The picture from the source at `scale`, unless held at it already; throws PictureError.
    void FetchAt(int scale) const;

    Form& owner_;
    ComponentDescription description_;
    bool visible_;
    PictureSource source_ = nullptr;
    mutable Picture picture_;
    mutable int pictureScale_ = 0; // 0 until a picture from the source is fetched
};

} // namespace skin

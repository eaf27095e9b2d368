#include "ui/skin/form.h"

#include <algorithm>
#include <utility>

#include "ui/skin/focus_ring.h"

namespace skin {

Point CentredPosition(Size outer, Size screen) {
    // A negative half (a screen smaller than the window) becomes 0 either way, so truncating
    // division rounds down wherever it matters.
    return {std::max(0, (screen.width - outer.width) / 2),
            std::max(0, (screen.height - outer.height) / 2)};
}

Form::Form(const FormDescription& description, std::span<const std::uint8_t> icon, int artScale)
    : description_(description), icon_(icon),
      artScale_(artScale), clientSize_{description.clientWidth, description.clientHeight} {
    images_.reserve(32);
}

Image* Form::FindImage(std::string_view name) const {
    const auto it =
        std::find_if(images_.begin(), images_.end(), [&](Image* i) { return i->Name() == name; });
    return it != images_.end() ? *it : nullptr;
}

std::optional<Point> Form::PlaceForFirstShowing(Size screen) {
    if (placed_) {
        return std::nullopt;
    }
    placed_ = true;
    position_ = CentredPosition({description_.outerWidth, description_.outerHeight}, screen);
    return position_;
}

void Form::SetLeft(int left) {
    position_.x = left;
    if (host_ != nullptr) {
        host_->MoveWindow(position_);
    }
}

void Form::SetTop(int top) {
    position_.y = top;
    if (host_ != nullptr) {
        host_->MoveWindow(position_);
    }
}

bool Form::StartInteractiveMove() {
    return host_ != nullptr && host_->StartInteractiveMove();
}

void Form::Close() {
    if (host_ != nullptr) {
        host_->CloseWindow();
    }
}

void Form::SetClientSize(Size size) {
    if (size == clientSize_) {
        return;
    }
    const Size old = clientSize_;
    clientSize_ = size;
    // Only what the window gained needs painting: the strip to the right and the one below.
    Invalidate({old.width, 0, size.width, size.height});
    Invalidate({0, old.height, std::min(old.width, size.width), size.height});
}

void Form::SetArtScale(int scale) {
    if (scale == artScale_) {
        return;
    }
    artScale_ = scale;
    for (Image* image : images_) {
        image->ArtScaleChanged();
    }
    ArtScaleChanged();
    Invalidate(ClientRect());
}

void Form::SetWindowColour(Pixel colour) {
    if (colour == windowColour_) {
        return;
    }
    windowColour_ = colour;
    Invalidate(ClientRect());
}

void Form::Invalidate(const Rect& clientArea) {
    const Rect area = clientArea.Intersected(ClientRect());
    if (!area.Empty() && host_ != nullptr) {
        host_->InvalidateArea(area);
    }
}

void Form::ComposeArea(const Rect& area, RgbPixels& target) {
    const int s = artScale_;
    target.Fill({0, 0, area.Width() * s, area.Height() * s}, windowColour_);
    for (Image* image : images_) {
        if (!image->Visible() || !image->BoundsRect().Intersects(area)) {
            continue;
        }
        // The first painting of a picture fetches (and, for JPEG and PNG, decodes) it; later
        // ones reuse the pixels.
        const Rect shown = image->BoundsRect().Intersected(area);
        const Rect from = shown.Translated(-image->Left(), -image->Top());
        const Point to{(shown.left - area.left) * s, (shown.top - area.top) * s};
        const Picture& picture = image->GetPicture();
        const int drawn = image->PictureScale();
        if (drawn == s) {
            picture.CopyTo(target, {from.left * s, from.top * s, from.right * s, from.bottom * s},
                           to);
        } else {
            CopyResampled(picture, drawn, from, target, to);
        }
    }
    if (focusRing_.Intersects(area)) {
        DrawFocusRing(focusRing_, area, target, s);
    }
}

void Form::CopyResampled(const Picture& picture, int drawn, const Rect& from, RgbPixels& target,
                         Point to) const {
    // A picture drawn at another scale than the art's: nearest picture pixel to each target one.
    const int s = artScale_;
    const Size size = picture.Dimensions();
    const Rect into =
        Rect::At(to, {from.Width() * s, from.Height() * s}).Intersected(target.Bounds());
    for (int y = into.top; y < into.bottom; ++y) {
        const int py = ((from.top * s + y - to.y) * drawn) / s;
        for (int x = into.left; x < into.right; ++x) {
            const int px = ((from.left * s + x - to.x) * drawn) / s;
            if (px < size.width && py < size.height) {
                target.Set(x, y, picture.At(px, py));
            }
        }
    }
}

void Form::SetFocusRing(const Rect& ring) {
    if (ring == focusRing_) {
        return;
    }
    Invalidate(focusRing_);
    focusRing_ = ring;
    Invalidate(focusRing_);
}

void Form::VisibilityChanged(Image& image) {
    if (!image.Visible() && captured_ == &image) {
        // The hold itself lasts until its release: letting go here would hand that release to
        // whatever lies beneath (Fond, which would move the window by a stale origin). While
        // hidden the component receives nothing, and a press it lost sight of is no click.
        clickPending_ = false;
    }
    Invalidate(image.BoundsRect());
}

Image* Form::ImageAt(Point at) const {
    if (!ClientRect().Contains(at)) {
        return nullptr;
    }
    for (auto it = images_.rbegin(); it != images_.rend(); ++it) {
        if ((*it)->Visible() && (*it)->BoundsRect().Contains(at)) {
            return *it;
        }
    }
    return nullptr;
}

void Form::MouseDown(MouseButton button, Point at, bool doubleClick) {
    // A left press on bare window colour is held by the window itself, which has no handlers:
    // nothing reaches a component until that press is released.
    if (formCaptured_) {
        return;
    }
    // While a left press holds the mouse, every event goes to the component that took it, or
    // nowhere while that component is hidden.
    if (captured_ != nullptr) {
        if (captured_->Visible()) {
            Deliver(EventKind::MouseDown, *captured_, button, at);
        }
        return;
    }
    Image* target = ImageAt(at);
    if (target == nullptr) {
        formCaptured_ = button == MouseButton::Left;
        return;
    }
    if (button == MouseButton::Left) {
        captured_ = target;
        clickPending_ = !doubleClick;
    }
    Deliver(EventKind::MouseDown, *target, button, at);
}

void Form::MouseUp(MouseButton button, Point at) {
    if (formCaptured_) {
        formCaptured_ = button != MouseButton::Left;
        return;
    }
    Image* target = captured_ != nullptr ? captured_ : ImageAt(at);
    if (target == nullptr) {
        return;
    }
    // The release of a hold whose component is hidden ends the hold and reaches nobody. One
    // that arrives while it is shown reaches it whole, even if its click hides it.
    const bool shown = target->Visible();
    if (button == MouseButton::Left && captured_ != nullptr) {
        const bool click = clickPending_ && target->BoundsRect().Contains(at);
        captured_ = nullptr;
        clickPending_ = false;
        if (click) {
            Deliver(EventKind::Click, *target, button, at);
        }
    }
    if (shown) {
        Deliver(EventKind::MouseUp, *target, button, at);
    }
}

void Form::Click(Image& image) {
    if (!image.Visible()) {
        return;
    }
    const Rect bounds = image.BoundsRect();
    Deliver(EventKind::Click, image, MouseButton::Left,
            {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
}

void Form::CancelMouseHold() {
    captured_ = nullptr;
    clickPending_ = false;
    formCaptured_ = false;
}

void Form::Deliver(EventKind kind, Image& target, MouseButton button, Point at) {
    const int x = at.x - target.Left();
    const int y = at.y - target.Top();
    if (kind == EventKind::Click) {
        if (target.OnClick) {
            target.OnClick.call(target);
        }
        return;
    }
    const MouseBinding& binding =
        kind == EventKind::MouseDown ? target.OnMouseDown : target.OnMouseUp;
    if (binding) {
        binding.call(target, button, x, y);
    }
}

Cursor Form::CursorAt(Point at) const {
    const Image* image = ImageAt(at);
    return image != nullptr ? image->GetCursor() : Cursor::Default;
}

std::string_view Form::HintAt(Point at, Rect* area) const {
    const Image* image = ImageAt(at);
    if (image == nullptr || image->Hint().empty()) {
        return {};
    }
    if (area != nullptr) {
        *area = image->BoundsRect();
    }
    return image->Hint();
}

} // namespace skin

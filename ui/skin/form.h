// A skinned form: picture components in creation order, the composition of any area of its
// client area into a pixel buffer, mouse routing to the components' handlers, and its placement
// on screen. Portable; a platform host (WindowHost) puts it on screen, keeps the window's
// pixels and asks for the areas it must paint.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "ui/a11y/key.h"
#include "ui/skin/art_scales.h"
#include "ui/skin/component_description.h"
#include "ui/skin/events.h"
#include "ui/skin/image.h"
#include "ui/skin/rgb_pixels.h"
#include "ui/skin/window_host.h"

namespace skin {

// Where a window of `outer` size opens on a screen of `screen` size: centred, rounded down,
// never above or left of the screen's corner.
Point CentredPosition(Size outer, Size screen);

class Form {
public:
    // `icon` is the window's icon file (ICO), kept by reference; `artScale` the art that the
    // pictures are first fetched at (the host may pick another for its window).
    explicit Form(const FormDescription& description, std::span<const std::uint8_t> icon = {},
                  int artScale = 1);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string_view Caption() const { return description_.caption; }
    std::span<const std::uint8_t> IconData() const { return icon_; }
    const FormDescription& Description() const { return description_; }
    const std::vector<Image*>& Images() const { return images_; }
    Image* FindImage(std::string_view name) const;

    // --- The host --------------------------------------------------------------------------
    void AttachHost(WindowHost* host) { host_ = host; }
    // The host window's system handle, or none.
    HWND HostWindow() const { return host_ != nullptr ? host_->NativeWindow() : nullptr; }

    // --- Placement (outer frame, screen coordinates) ---------------------------------------
    // The position for the first showing on a screen of that size; nullopt after the first
    // call, since later showings keep wherever the window then is.
    std::optional<Point> PlaceForFirstShowing(Size screen);
    int Left() const { return position_.x; }
    int Top() const { return position_.y; }
    void SetLeft(int left);
    void SetTop(int top);
    void Close();
    // During a left press: lets the platform move the window with the pointer where the
    // window cannot place itself; false where it can (the window then moves by SetLeft/SetTop).
    bool StartInteractiveMove();
    // The host reports where the window now is (after a move by the user or the system).
    void WindowMoved(Point position) { position_ = position; }

    // --- Painting ---------------------------------------------------------------------------
    // Everything the form and its hosts deal in (places, areas to paint, the mouse) is in skin
    // pixels; only the composed pixels are at the art scale, each skin pixel a block of
    // ArtScale() x ArtScale() of them.
    int ArtScale() const { return artScale_; }
    // Changes the art: the pictures are fetched again at that scale, ArtScaleChanged() redraws
    // what was drawn on them, and the whole window is painted again.
    void SetArtScale(int scale);
    Size ClientSize() const { return clientSize_; }
    Rect ClientRect() const { return {0, 0, clientSize_.width, clientSize_.height}; }
    void SetClientSize(Size size);
    Pixel WindowColour() const { return windowColour_; }
    void SetWindowColour(Pixel colour);
    // Tells the host that part of the client area must be painted again.
    void Invalidate(const Rect& clientArea);
    // Composes `area` of the client area into `target` at the art scale, the area's top-left
    // corner at the target's: window colour, then every shown component in creation order. The
    // target must hold the area times the scale. Hosts paint a band at a time, so the form keeps
    // no picture of its own of the whole window: the window system already keeps one.
    void ComposeArea(const Rect& area, RgbPixels& target);
    // The keyboard focus ring's bounds, drawn above every component; empty for none.
    Rect FocusRing() const { return focusRing_; }
    void SetFocusRing(const Rect& ring);

    // --- Mouse (client coordinates) ---------------------------------------------------------
    Image* ImageAt(Point at) const; // the topmost shown component there
    void MouseDown(MouseButton button, Point at, bool doubleClick);
    void MouseUp(MouseButton button, Point at);
    // The window lost the mouse mid-press (another window took it): the hold ends with no
    // click and no release, and a later release goes where an unheld one would.
    void CancelMouseHold();
    Image* Captured() const { return captured_; }
    Cursor CursorAt(Point at) const;
    // The hint to show there and the area it belongs to; empty when none.
    std::string_view HintAt(Point at, Rect* area = nullptr) const;
    // A click on a shown component from elsewhere than the mouse (the keyboard, a screen
    // reader): reaches its click handler as a left click in its middle would.
    void Click(Image& image);
    // --- Keyboard ---------------------------------------------------------------------------
    // A key the host recognised; what it does is the window's own business.
    virtual void KeyPressed(a11y::Key) {}

protected:
    // After the art scale changed and the pictures were let go: draws again on the new ones
    // what the form had drawn on the old.
    virtual void ArtScaleChanged() {}

private:
    friend class Image;
    void Adopt(Image& image) { images_.push_back(&image); }
    void VisibilityChanged(Image& image);
    void Deliver(EventKind kind, Image& target, MouseButton button, Point at);
    void CopyResampled(const Picture& picture, int drawn, const Rect& from, RgbPixels& target,
                       Point to) const;

    FormDescription description_;
    std::span<const std::uint8_t> icon_;
    std::vector<Image*> images_;
    WindowHost* host_ = nullptr;
    Point position_;
    bool placed_ = false;
    Pixel windowColour_ = Rgb(240, 240, 240);
    int artScale_ = 1;
    Size clientSize_;
    Rect focusRing_;
    Image* captured_ = nullptr; // the component that took a left press, until its release
    bool clickPending_ = false; // that press may still become a click
    bool formCaptured_ = false; // a left press on bare window colour holds the mouse
};

} // namespace skin

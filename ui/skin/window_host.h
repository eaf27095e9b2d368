// What a form asks of the platform window that shows it. The host calls the form back for
// painting, input and placement (see form.h); the form calls these on the UI thread only.
#pragma once

#include "platform/winapi.h"
#include "ui/skin/geometry.h"

namespace skin {

class WindowHost {
public:
    // Part of the client area changed: it is to be painted again from the form's composition.
    virtual void InvalidateArea(const Rect& clientArea) = 0;
    // Move the outer frame's top-left corner to `position` (screen coordinates).
    virtual void MoveWindow(Point position) = 0;
    virtual void CloseWindow() = 0;
    // Hands moving the window to the platform from the left press under way until its release,
    // the window following the pointer. Hosts whose windows place themselves by MoveWindow
    // decline with false; where a window cannot place itself (Wayland), the compositor moves
    // it, and the release then comes where it was pressed, in client coordinates.
    virtual bool StartInteractiveMove() { return false; }
    // The system's handle of the window, for calls that take an owner; none where the
    // platform's windows have no such handle.
    virtual HWND NativeWindow() const { return nullptr; }

protected:
    ~WindowHost() = default;
};

} // namespace skin

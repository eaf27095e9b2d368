// The tuner window's side of MSAA: hands its accessible client area to whoever asks
// (WM_GETOBJECT), tells clients of changes, focus moves and announcements (win events, and UI
// Automation's notification where there is one), and times held-back announcements.
#pragma once

#include <string>

#include "hosts/win32/accessibility/accessible_client.h"
#include "hosts/win32/dpi_scale.h"
#include "hosts/win32/windows_names.h"
#include "ui/a11y/access_observer.h"
#include "ui/a11y/tuner_access.h"

namespace win32_host {

class WindowAccessibility final : private a11y::AccessObserver {
public:
    // On the window's thread, once the window exists; `access` and `scale` must outlive it.
    WindowAccessibility(HWND window, a11y::TunerAccess& access, const DpiScale& scale);
    ~WindowAccessibility();
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // WM_GETOBJECT: true with `*result` set when it was the client area asked for.
    bool GetObject(WPARAM flags, LPARAM objectId, LRESULT* result);
    // WM_TIMER: true when it was this timer.
    bool TimerFired(UINT_PTR timer);
    // WM_SETFOCUS: a control focused in the window is told focused again.
    void WindowFocused();
    // WM_DESTROY: clients still holding the client area get errors from now on.
    void WindowGone();

private:
    void ChildChanged(int child) override;
    void FocusMoved(int child) override;
    void Announce(std::string_view text) override;
    void WakeAt(a11y::Clock::time_point when) override;

    HWND window_;
    a11y::TunerAccess& access_;
    // The words last announced, the announcement child's name; before the client, which reads it.
    std::string announcement_;
    AccessibleClient* client_;
    bool comStarted_ = false;
};

} // namespace win32_host

// The Win32 window that puts a skin::Form on screen: it paints the invalidated parts of the
// form's composed client area, forwards raw mouse input, shows the form's cursors and hint, and
// carries out the moves and closes the form asks for. Everything the window looks like and does
// comes from the form. It is the program's main window: destroying it ends the message loop.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "hosts/win32/accessibility/window_accessibility.h"
#include "hosts/win32/dpi_scale.h"
#include "hosts/win32/hint_tip.h"
#include "hosts/win32/windows_names.h"
#include "ui/skin/band_composer.h"
#include "ui/skin/form.h"
#include "ui/tuner_host.h"

namespace win32_host {

class FormWindow final : public TunerWindow, private skin::WindowHost {
public:
    // Resizable frame with system menu and minimize, no maximize.
    static constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

    // Creates the window, not yet shown, with the client area the form asks for at the
    // system's DPI. `form` must outlive it, and `access`, the form's accessible face for
    // screen readers, when given.
    explicit FormWindow(skin::Form& form, a11y::TunerAccess* access = nullptr);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Shows the window; the first time, at the position the form chooses for the screen.
    void Show() override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void InvalidateArea(const skin::Rect& clientArea) override;
    void MoveWindow(skin::Point position) override;
    void CloseWindow() override;
    HWND NativeWindow() const override { return window_; }

    void ApplyMove();
    void Paint();
    // Picks the skin's art for the window's DPI.
    void TakeArt();
    void Press(skin::MouseButton button, LPARAM at, bool doubleClick);
    void Release(skin::MouseButton button, LPARAM at);
    bool ShowFormCursor();
    void UpdateHint(skin::Point at);
    void TakeWindowColour();
    void TakeClientSize();
    void TakePosition();
    skin::Point SkinPoint(LPARAM at) const;
    RECT DeviceRect(const skin::Rect& area) const;

    skin::Form& form_;
    skin::BandComposer bands_;
    HWND window_ = nullptr;
    HintTip hintTip_;
    DpiScale scale_;
    // Where the outer frame is on screen, and what the form was told of it: moves asked in skin
    // pixels are applied to the first, so that they are exact at any scale.
    POINT framePosition_{};
    skin::Point reportedPosition_;
    // A move the form asked for, made once the handler that asked has returned: a handler may
    // set the left and the top one after the other, and two moves in a row can race with the
    // window manager's answer to the first (under Wine the window then ends where the first
    // put it).
    std::optional<skin::Point> pendingMove_;
    bool shownBefore_ = false;
    skin::Cursor cursor_ = skin::Cursor::Default;
    skin::Rect hintArea_;
    // Last: it refers to scale_.
    std::unique_ptr<WindowAccessibility> accessibility_;
};

} // namespace win32_host

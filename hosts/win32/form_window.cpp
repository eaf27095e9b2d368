#include "hosts/win32/form_window.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "hosts/win32/dpi_calls.h"
#include "hosts/win32/handler_errors.h"
#include "hosts/win32/text_conversion.h"
#include "hosts/win32/tuner_key.h"

namespace win32_host {
namespace {

constexpr wchar_t kClassName[] = L"VibralonForm";
constexpr UINT kApplyMoveMessage = WM_APP + 1;

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // Double-clicks reach the form's routing rules, which tell them from two clicks.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // No background brush: the form paints every pixel of the client area itself.
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the main window's class");
    }
}

LPCSTR StockCursor(skin::Cursor cursor) {
    switch (cursor) {
    case skin::Cursor::HandPoint: return IDC_HAND;
    case skin::Cursor::Help: return IDC_HELP;
    case skin::Cursor::Default: break;
    }
    return IDC_ARROW;
}

// What WinMain's nCmdShow says: the launcher's show command if it gave one. Not SW_SHOWDEFAULT
// alone, which Wine shows normal whatever the launcher asked.
int LauncherShowCommand() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

} // namespace

FormWindow::FormWindow(skin::Form& form, a11y::TunerAccess* access)
    : form_(form), scale_(static_cast<int>(SystemDpi())) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterFormClass(instance, &FormWindow::Procedure);
    const skin::Size client = form.ClientSize();
    RECT outer{0, 0, scale_.Device(client.width), scale_.Device(client.height)};
    AdjustWindowRectForDpi(outer, kStyle, 0, static_cast<UINT>(scale_.Dpi()));
    window_ = CreateWindowExW(0, kClassName, Utf16(form.Caption()).c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                              nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the main window");
    }
    hintTip_.Create(window_);
    TakeWindowColour();
    TakePosition();
    TakeArt();
    form_.AttachHost(this);
    if (access != nullptr) {
        accessibility_ = std::make_unique<WindowAccessibility>(window_, *access, scale_);
    }
}

FormWindow::~FormWindow() {
    form_.AttachHost(nullptr);
    if (window_ != nullptr) {
        // Gone with an error: it is no longer the main window, its end ends no loop.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void FormWindow::Show() {
    const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(primary, &monitor)) {
        const RECT& screen = monitor.rcMonitor;
        const skin::Size size{scale_.SkinExtent(screen.right - screen.left),
                              scale_.SkinExtent(screen.bottom - screen.top)};
        if (const auto at = form_.PlaceForFirstShowing(size)) {
            SetWindowPos(window_, nullptr, screen.left + scale_.Device(at->x),
                         screen.top + scale_.Device(at->y), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // The first time as whoever started the program asked (a shortcut set to run minimized,
    // say), later ones normal.
    ShowWindow(window_, std::exchange(shownBefore_, true) ? SW_SHOWNORMAL : LauncherShowCommand());
    UpdateWindow(window_);
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FormWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    GuardHandler([&] { result = self->Handle(message, wParam, lParam); });
    return result;
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: Press(skin::MouseButton::Left, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: Press(skin::MouseButton::Left, lParam, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: Press(skin::MouseButton::Right, lParam, false); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: Press(skin::MouseButton::Middle, lParam, false); return 0;
    case WM_LBUTTONUP: Release(skin::MouseButton::Left, lParam); return 0;
    case WM_RBUTTONUP: Release(skin::MouseButton::Right, lParam); return 0;
    case WM_MBUTTONUP: Release(skin::MouseButton::Middle, lParam); return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse mid-press: its release will not come here.
        if (reinterpret_cast<HWND>(lParam) != window_) {
            form_.CancelMouseHold();
        }
        return 0;
    case WM_CANCELMODE:
        // A menu, a dialog or the system ends whatever the mouse was doing here.
        form_.CancelMouseHold();
        if (GetCapture() == window_) {
            ReleaseCapture();
        }
        return 0;
    case WM_MOUSEMOVE: UpdateHint(SkinPoint(lParam)); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && ShowFormCursor()) {
            return TRUE;
        }
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            TakeClientSize();
        }
        return 0;
    case WM_MOVE: TakePosition(); return 0;
    case WM_DPICHANGED: {
        scale_ = DpiScale(HIWORD(wParam));
        // Another screen, another density: the art drawn for it.
        TakeArt();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        TakeClientSize();
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    }
    case kApplyMoveMessage: ApplyMove(); return 0;
    case WM_KEYDOWN:
        // No dialog manager runs: Tab reaches the window like any key.
        if (const std::optional<a11y::Key> key = TunerKey(wParam, lParam)) {
            form_.KeyPressed(*key);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (accessibility_) {
            accessibility_->WindowFocused();
        }
        break;
    case WM_GETOBJECT:
        if (LRESULT object = 0;
            accessibility_ && accessibility_->GetObject(wParam, lParam, &object)) {
            return object;
        }
        break;
    case WM_TIMER:
        if (accessibility_ && accessibility_->TimerFired(wParam)) {
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE: TakeWindowColour(); return 0;
    case WM_DESTROY:
        if (accessibility_) {
            accessibility_->WindowGone();
        }
        // The main window: its end ends the message loop.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        // The form's readings may still come (a wake queued before the close): with no window
        // they have nothing to paint.
        form_.AttachHost(nullptr);
        hintTip_.OwnerGone();
        const HWND window = std::exchange(window_, nullptr);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void FormWindow::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    // The skin pixels whose blocks cover what needs painting; one more each side is harmless,
    // since painting is clipped to the invalid region.
    const skin::Rect area =
        skin::Rect{scale_.Skin(paint.rcPaint.left) - 1, scale_.Skin(paint.rcPaint.top) - 1,
                   scale_.Skin(paint.rcPaint.right) + 1, scale_.Skin(paint.rcPaint.bottom) + 1}
            .Intersected(form_.ClientRect());
    const int art = form_.ArtScale();
    const skin::ScreenPainting painting = skin::PaintingFor(art, scale_.Ratio(), area);
    if (painting.smooth) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
    }
    bands_.Compose(form_, area, painting.bandRows,
                   [&](const skin::RgbPixels& pixels, const skin::Rect& band) {
                       // The form's pixels are 0xFFRRGGBB words, exactly a 32-bit DIB's: the
                       // band's rows, top-down, are handed over as they are.
                       BITMAPINFO info{};
                       info.bmiHeader.biSize = sizeof info.bmiHeader;
                       info.bmiHeader.biWidth = pixels.Width();
                       info.bmiHeader.biHeight = -band.Height() * art;
                       info.bmiHeader.biPlanes = 1;
                       info.bmiHeader.biBitCount = 32;
                       info.bmiHeader.biCompression = BI_RGB;
                       const RECT to = DeviceRect(band);
                       StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0,
                                     0, band.Width() * art, band.Height() * art, pixels.Data(),
                                     &info, DIB_RGB_COLORS, SRCCOPY);
                   });
    EndPaint(window_, &paint);
}

void FormWindow::Press(skin::MouseButton button, LPARAM at, bool doubleClick) {
    if (button == skin::MouseButton::Left) {
        // The release comes back here wherever the pointer then is.
        SetCapture(window_);
    }
    form_.MouseDown(button, SkinPoint(at), doubleClick);
}

void FormWindow::Release(skin::MouseButton button, LPARAM at) {
    const skin::Point point = SkinPoint(at);
    form_.MouseUp(button, point);
    if (button == skin::MouseButton::Left && GetCapture() == window_) {
        ReleaseCapture();
    }
}

bool FormWindow::ShowFormCursor() {
    POINT pointer{};
    if (!GetCursorPos(&pointer) || !ScreenToClient(window_, &pointer)) {
        return false;
    }
    // While a component holds the mouse the cursor stays as it was when it took it.
    if (form_.Captured() == nullptr) {
        cursor_ = form_.CursorAt({scale_.Skin(pointer.x), scale_.Skin(pointer.y)});
    }
    SetCursor(LoadCursorA(nullptr, StockCursor(cursor_)));
    return true;
}

void FormWindow::UpdateHint(skin::Point at) {
    if (form_.Captured() != nullptr) {
        return;
    }
    skin::Rect area;
    const std::string_view hint = form_.HintAt(at, &area);
    if (hint.empty()) {
        area = {};
    }
    if (area != hintArea_) {
        hintArea_ = area;
        hintTip_.Set(DeviceRect(area), hint);
    }
}

void FormWindow::TakeWindowColour() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    form_.SetWindowColour(skin::Rgb(GetRValue(face), GetGValue(face), GetBValue(face)));
}

void FormWindow::TakeArt() {
    form_.SetArtScale(skin::ArtScaleFor(scale_.Ratio()));
}

void FormWindow::TakeClientSize() {
    RECT client{};
    GetClientRect(window_, &client);
    form_.SetClientSize({scale_.SkinExtent(client.right), scale_.SkinExtent(client.bottom)});
}

void FormWindow::TakePosition() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    framePosition_ = {outer.left, outer.top};
    reportedPosition_ = {scale_.Skin(outer.left), scale_.Skin(outer.top)};
    form_.WindowMoved(reportedPosition_);
}

skin::Point FormWindow::SkinPoint(LPARAM at) const {
    // Signed: a captured release may lie left of or above the window.
    return {scale_.Skin(GET_X_LPARAM(at)), scale_.Skin(GET_Y_LPARAM(at))};
}

RECT FormWindow::DeviceRect(const skin::Rect& area) const {
    return {scale_.Device(area.left), scale_.Device(area.top), scale_.Device(area.right),
            scale_.Device(area.bottom)};
}

void FormWindow::InvalidateArea(const skin::Rect& clientArea) {
    const RECT area = DeviceRect(clientArea);
    InvalidateRect(window_, &area, FALSE);
}

void FormWindow::MoveWindow(skin::Point position) {
    if (!pendingMove_) {
        PostMessageW(window_, kApplyMoveMessage, 0, 0);
    }
    pendingMove_ = position;
}

void FormWindow::ApplyMove() {
    if (!pendingMove_) {
        return;
    }
    const skin::Point position = *std::exchange(pendingMove_, std::nullopt);
    const int x = framePosition_.x + scale_.Device(position.x - reportedPosition_.x);
    const int y = framePosition_.y + scale_.Device(position.y - reportedPosition_.y);
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::CloseWindow() {
    // Takes effect once the handler that asked has returned, and also when asked before the
    // message loop has started (the loop then ends as soon as it runs).
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

} // namespace win32_host

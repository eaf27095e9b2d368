#include "hosts/win32/message_boxes.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "hosts/win32/dpi_calls.h"
#include "hosts/win32/text_conversion.h"

namespace win32_host {
namespace {

bool IsDialog(HWND window) {
    std::array<wchar_t, 16> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring_view(name.data()) == L"#32770";
}

std::wstring Caption(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int CaptionTextWidth(HWND box, const std::wstring& caption, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!NonClientMetricsForDpi(metrics, dpi)) {
        return 0;
    }
    const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    const HDC dc = GetDC(box);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    DeleteObject(font);
    return extent.cx;
}

struct Shift {
    HWND box;
    int dx;
};

BOOL CALLBACK ShiftChild(HWND child, LPARAM context) {
    const auto* shift = reinterpret_cast<const Shift*>(context);
    // Only the box's own controls: their children move with them.
    if (GetParent(child) != shift->box) {
        return TRUE;
    }
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, shift->box, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(child, nullptr, place.left + shift->dx, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

} // namespace

CaptionWideBoxes::CaptionWideBoxes()
    : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, &CaptionWideBoxes::AfterMessage, nullptr,
                              GetCurrentThreadId())) {
    if (hook_ == nullptr) {
        throw std::runtime_error("cannot watch the program's message boxes");
    }
}

CaptionWideBoxes::~CaptionWideBoxes() {
    UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK CaptionWideBoxes::AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    // Once the box has laid out its text and buttons, before it shows: Wine activates a box
    // before it places its buttons, so its activation would be too early.
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG && IsDialog(message->hwnd)) {
        Widen(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int CaptionWideBoxes::WidthForCaption(HWND box) {
    const UINT dpi = WindowDpi(box);
    const int textWidth = CaptionTextWidth(box, Caption(box), dpi);
    // A window manager that draws the title itself (Wine on X11 does) may use a wider font
    // than the system's caption font: half as wide again covers the usual desktop fonts.
    // Around the text: the system menu's icon, four title bar buttons (a window manager may add
    // one the box does not ask for), the frame and some room.
    const int icon = SystemMetricForDpi(SM_CXSMICON, dpi);
    const int button = SystemMetricForDpi(SM_CXSIZE, dpi);
    const int frame =
        SystemMetricForDpi(SM_CXFIXEDFRAME, dpi) + SystemMetricForDpi(SM_CXPADDEDBORDER, dpi);
    return textWidth * 3 / 2 + icon + 4 * button + 2 * frame +
           MulDiv(32, static_cast<int>(dpi), 96);
}

void CaptionWideBoxes::Widen(HWND box) {
    RECT outer{};
    GetWindowRect(box, &outer);
    const int width = outer.right - outer.left;
    const int wanted = WidthForCaption(box);
    if (wanted <= width) {
        return;
    }
    // Grown equally on both sides, kept on its monitor's work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int newWidth = std::min<int>(wanted, area.right - area.left);
    const int grown = newWidth - width;
    const int left = std::clamp<int>(outer.left - grown / 2, area.left, area.right - newWidth);
    SetWindowPos(box, nullptr, left, outer.top, newWidth, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const Shift shift{box, grown / 2};
    EnumChildWindows(box, &ShiftChild, reinterpret_cast<LPARAM>(&shift));
}

void ShowErrorBox(std::string_view title, std::string_view message) {
    // A quit message left by the loop that the error ended would close the box at once.
    MSG quit{};
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    MessageBoxW(nullptr, Utf16(message).c_str(), Utf16(title).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace win32_host

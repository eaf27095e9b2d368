// Windows: gives a window of its own the help button's hover hint through the Win32 host, as the
// tuner does, and prints the ANSI code page it ran under and the text the tip control then
// holds (ASCII as it is, other characters as \uXXXX), for the Wine test to read.
//
//   hint_probe.exe
#include "hosts/win32/hint_tip.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>

#include "hosts/win32/win32_host.h"
#include "ui/form1_description.h"

namespace {

BOOL CALLBACK KeepTipControl(HWND window, LPARAM found) {
    std::array<wchar_t, 32> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    if (std::wstring_view(name.data()) == TOOLTIPS_CLASSW) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main() {
    win32_host::Application app("Vibralon");
    const HWND owner = CreateWindowExW(0, L"STATIC", L"hint probe", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                       100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    win32_host::HintTip tip;
    tip.Create(owner);
    tip.Set(RECT{10, 10, 50, 50}, form1::Component("Image2").hint);

    HWND control = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &KeepTipControl, reinterpret_cast<LPARAM>(&control));
    if (control == nullptr) {
        std::fputs("no tip control\n", stderr);
        return 1;
    }
    std::wstring shown(256, L'\0');
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = 1;
    tool.lpszText = shown.data();
    SendMessageW(control, TTM_GETTEXTW, shown.size(), reinterpret_cast<LPARAM>(&tool));
    shown.resize(std::wcslen(shown.c_str()));

    std::printf("code page %u\n", GetACP());
    for (const wchar_t c : shown) {
        if (c >= 0x20 && c < 0x7F) {
            std::putchar(static_cast<char>(c));
        } else {
            std::printf("\\u%04x", static_cast<unsigned>(c));
        }
    }
    std::putchar('\n');
    DestroyWindow(owner);
    return 0;
}

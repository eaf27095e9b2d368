// Windows: gives a window of its own the hover hint the tuner would, through the Win32 host, and
// prints the text the tip control holds, in UTF-8, for the Wine test to compare with what it set.
//
//   hint_probe.exe TEXT
#include "hosts/win32/hint_tip.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>

#include "hosts/win32/text_conversion.h"
#include "hosts/win32/win32_host.h"

namespace {

// The command line as typed, whatever the ANSI code page.
std::string Utf8Argument(int index) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string utf8;
    if (arguments != nullptr && index < count) {
        const int length =
            WideCharToMultiByte(CP_UTF8, 0, arguments[index], -1, nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(length > 0 ? length - 1 : 0));
        WideCharToMultiByte(CP_UTF8, 0, arguments[index], -1, utf8.data(), length, nullptr,
                            nullptr);
    }
    LocalFree(arguments);
    return utf8;
}

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
    const std::string text = Utf8Argument(1);
    if (text.empty()) {
        std::fputs("usage: hint_probe TEXT\n", stderr);
        return 2;
    }
    win32_host::Application app("Vibralon");
    const HWND owner = CreateWindowExW(0, L"STATIC", L"hint probe", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                       100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    win32_host::HintTip tip;
    tip.Create(owner);
    tip.Set(RECT{10, 10, 50, 50}, text);

    HWND control = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &KeepTipControl, reinterpret_cast<LPARAM>(&control));
    std::wstring shown(256, L'\0');
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = 1;
    tool.lpszText = shown.data();
    if (control == nullptr ||
        !SendMessageW(control, TTM_GETTEXTW, shown.size(), reinterpret_cast<LPARAM>(&tool))) {
        std::fputs("no tip control\n", stderr);
        return 1;
    }
    shown.resize(std::wcslen(shown.c_str()));
    const std::wstring expected = win32_host::Utf16(text);
    std::string utf8(shown.size() * 4, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, shown.data(), static_cast<int>(shown.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    DestroyWindow(owner);
    return shown == expected ? 0 : 1;
}

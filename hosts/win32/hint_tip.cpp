#include "hosts/win32/hint_tip.h"

#include <commctrl.h>

#include <string>

#include "hosts/win32/text_conversion.h"

namespace win32_host {
namespace {

constexpr UINT_PTR kTool = 1;

} // namespace

void HintTip::Create(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tip_ == nullptr) {
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = kTool;
    tool.lpszText = const_cast<LPWSTR>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintTip::Set(const RECT& area, std::string_view text) {
    if (tip_ == nullptr) {
        return;
    }
    // In UTF-16: the ANSI code page of many systems has no "é" or "à".
    std::wstring wide = Utf16(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_;
    tool.uId = kTool;
    tool.rect = text.empty() ? RECT{} : area;
    tool.lpszText = wide.data();
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace win32_host

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
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = kTool;
    tool.lpszText = const_cast<LPSTR>("");
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintTip::Set(const RECT& area, std::string_view text) {
    if (tip_ == nullptr) {
        return;
    }
    // The tip control takes its text in the system's ANSI code page ("é" is 0xE9 in cp1252).
    std::string ansi = Ansi(text);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_;
    tool.uId = kTool;
    tool.rect = text.empty() ? RECT{} : area;
    tool.lpszText = ansi.data();
    SendMessageA(tip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace win32_host

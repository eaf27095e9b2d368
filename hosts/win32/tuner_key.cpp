#include "hosts/win32/tuner_key.h"

namespace win32_host {
namespace {

bool Held(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

} // namespace

std::optional<a11y::Key> TunerKey(WPARAM virtualKey, LPARAM flags) {
    // Alt alone arrives as WM_SYSKEYDOWN, which never comes here; AltGr is Ctrl+Alt.
    if (Held(VK_CONTROL) || Held(VK_MENU)) {
        return std::nullopt;
    }
    const bool shift = Held(VK_SHIFT);
    if (virtualKey == VK_TAB) {
        return a11y::KeyFor({a11y::CodeTab, shift});
    }
    // Bit 30: the key was already down (auto-repeat); only Tab repeats.
    if ((flags & (LPARAM{1} << 30)) != 0) {
        return std::nullopt;
    }
    switch (virtualKey) {
    case VK_SPACE: return a11y::KeyFor({a11y::CodeSpace, shift});
    case VK_RETURN: return a11y::KeyFor({a11y::CodeEnter, shift});
    case VK_ESCAPE: return a11y::KeyFor({a11y::CodeEscape, shift});
    case VK_F1: return a11y::KeyFor({a11y::CodeF1, shift});
    default: break;
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return a11y::KeyFor({static_cast<char32_t>('0' + (virtualKey - VK_NUMPAD0)), shift});
    }
    // Virtual keys of letters and digits are their upper-case ASCII codes.
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return a11y::KeyFor({static_cast<char32_t>(virtualKey), shift});
    }
    return std::nullopt;
}

} // namespace win32_host

#include "hosts/win32/msaa_keys.h"

namespace win32_host {
namespace {

bool Held(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

} // namespace

std::optional<a11y::Key> TunerKey(WPARAM virtualKey, LPARAM flags) {
    using a11y::Key;
    // Alt alone arrives as WM_SYSKEYDOWN, which never comes here; AltGr is Ctrl+Alt.
    if (Held(VK_CONTROL) || Held(VK_MENU)) {
        return std::nullopt;
    }
    if (virtualKey == VK_TAB) {
        return Held(VK_SHIFT) ? Key::BackTab : Key::Tab;
    }
    // Bit 30: the key was already down (auto-repeat).
    if ((flags & (LPARAM{1} << 30)) != 0) {
        return std::nullopt;
    }
    if (virtualKey >= '1' && virtualKey <= '6') {
        return static_cast<Key>(static_cast<int>(Key::Digit1) + static_cast<int>(virtualKey - '1'));
    }
    if (virtualKey >= VK_NUMPAD1 && virtualKey <= VK_NUMPAD6) {
        return static_cast<Key>(static_cast<int>(Key::Digit1) +
                                static_cast<int>(virtualKey - VK_NUMPAD1));
    }
    switch (virtualKey) {
    case VK_SPACE:
        return Key::Space;
    case VK_RETURN:
        return Key::Enter;
    case VK_ESCAPE:
        return Key::Escape;
    case VK_F1:
        return Key::F1;
    case 'R':
        return Key::ReadReading;
    default:
        return std::nullopt;
    }
}

} // namespace win32_host

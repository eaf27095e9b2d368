// A window's hover hint: one tool of a tip control, moved to the area of whatever hint lies
// under the pointer. The tip control watches the window's mouse messages itself.
#pragma once

#include <string_view>

#include "hosts/win32/windows_names.h"

namespace win32_host {

class HintTip {
public:
    // Creates the tip control for `owner`; without one, hints are simply not shown.
    void Create(HWND owner);
    // Shows `text` (UTF-8) while the pointer stays in `area` (client pixels); empty: no hint.
    void Set(const RECT& area, std::string_view text);
    // The tip control goes with its owner.
    void OwnerGone() { tip_ = nullptr; }

private:
    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
};

} // namespace win32_host

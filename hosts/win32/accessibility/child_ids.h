// The ids under which MSAA clients see the window's client area and its parts: 0
// (CHILDID_SELF) is the client area itself, 1 to 8 TunerAccess's children 0 to 7, and 9 the
// announcement, the live region whose name is the words last spoken.
#pragma once

#include "hosts/win32/windows_names.h"
#include "ui/a11y/tuner_access.h"

namespace win32_host {

inline constexpr LONG kAnnouncementId = a11y::TunerAccess::ChildCount + 1;
inline constexpr LONG kChildIds = kAnnouncementId;

// The id of TunerAccess's `child`; NoChild is the client area.
constexpr LONG ChildId(int child) {
    return child == a11y::TunerAccess::NoChild ? CHILDID_SELF : child + 1;
}

} // namespace win32_host

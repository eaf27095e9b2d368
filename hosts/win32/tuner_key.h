// The window's keys as Windows sends them (WM_KEYDOWN) turned into the tuner's own.
#pragma once

#include <optional>

#include "hosts/win32/windows_names.h"
#include "ui/a11y/key.h"

namespace win32_host {

// The key a WM_KEYDOWN stands for, or none: keys held with Ctrl or Alt belong to the system,
// and only Tab repeats (a held digit would pick and let go by turns). Reads the modifiers'
// state as of that message.
std::optional<a11y::Key> TunerKey(WPARAM virtualKey, LPARAM flags);

} // namespace win32_host

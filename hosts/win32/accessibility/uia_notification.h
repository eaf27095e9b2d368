// Words for a screen reader to speak now through UI Automation's notification event, where the
// system has it (Windows 10 1709 on; Wine has none): looked up at run time, so that the
// program starts without it.
#pragma once

#include <string_view>

#include "hosts/win32/windows_names.h"

namespace win32_host {

// Raises the notification on `window`'s element; does nothing where it is missing.
void RaiseUiaNotification(HWND window, std::string_view text);

} // namespace win32_host

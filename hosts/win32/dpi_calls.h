// The per-monitor DPI calls of user32 that came with Windows 10 version 1607, looked up when
// first needed: the program also starts on Windows 7 and 8.1, where they are missing and the
// system DPI (the screen's logical pixels per inch) stands in for every window's.
#pragma once

#include "hosts/win32/windows_names.h"

namespace win32_host {

UINT SystemDpi();
UINT WindowDpi(HWND window);
// The outer rectangle of a window whose client area is `rect`, at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
int SystemMetricForDpi(int index, UINT dpi);
// The non-client metrics (caption font and so on) at `dpi`; false if the system gave none.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);

} // namespace win32_host

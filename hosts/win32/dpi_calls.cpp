#include "hosts/win32/dpi_calls.h"

namespace win32_host {
namespace {

// `Call` has the type of the user32 function named `name`; null where user32 lacks it.
template <typename Call> Call Lookup(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    // Through void (*)(), which any function pointer type may be cast from and to.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

// The function pointers, looked up once each.
#define VIBRALON_USER32_CALL(name) static const auto name##Call = Lookup<decltype(&::name)>(#name)

int ScaledFromSystem(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

} // namespace

UINT SystemDpi() {
    VIBRALON_USER32_CALL(GetDpiForSystem);
    if (GetDpiForSystemCall != nullptr) {
        return GetDpiForSystemCall();
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
    VIBRALON_USER32_CALL(GetDpiForWindow);
    if (GetDpiForWindowCall != nullptr) {
        const UINT dpi = GetDpiForWindowCall(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    VIBRALON_USER32_CALL(AdjustWindowRectExForDpi);
    if (AdjustWindowRectExForDpiCall != nullptr) {
        AdjustWindowRectExForDpiCall(&rect, style, FALSE, exStyle, dpi);
    } else {
        // Before per-monitor DPI a window's frame is the system DPI's everywhere.
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

int SystemMetricForDpi(int index, UINT dpi) {
    VIBRALON_USER32_CALL(GetSystemMetricsForDpi);
    if (GetSystemMetricsForDpiCall != nullptr) {
        return GetSystemMetricsForDpiCall(index, dpi);
    }
    return ScaledFromSystem(GetSystemMetrics(index), dpi);
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    metrics.cbSize = sizeof metrics;
    VIBRALON_USER32_CALL(SystemParametersInfoForDpi);
    if (SystemParametersInfoForDpiCall != nullptr) {
        return SystemParametersInfoForDpiCall(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                              dpi) != FALSE;
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return false;
    }
    metrics.lfCaptionFont.lfHeight = ScaledFromSystem(metrics.lfCaptionFont.lfHeight, dpi);
    return true;
}

} // namespace win32_host

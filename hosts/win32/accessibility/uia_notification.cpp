#include "hosts/win32/accessibility/uia_notification.h"

#include <unknwn.h>

#include "hosts/win32/text_conversion.h"

namespace win32_host {
namespace {

// As uiautomationcoreapi.h declares them, the provider taken as the IUnknown it is: MinGW-w64's
// header lacks the notification call, and nothing else of UI Automation is used.
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
constexpr int kNotificationKindOther = 4;
constexpr int kNotificationProcessingMostRecent = 3;

struct UiaCalls {
    HostProviderFromHwnd hostProvider = nullptr;
    RaiseNotificationEvent raise = nullptr;
};

const UiaCalls& Calls() {
    static const UiaCalls calls = [] {
        UiaCalls found;
        // Kept loaded for the program's life, as the calls found in it are.
        const HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
        if (core != nullptr) {
            found.hostProvider = reinterpret_cast<HostProviderFromHwnd>(
                reinterpret_cast<void*>(GetProcAddress(core, "UiaHostProviderFromHwnd")));
            found.raise = reinterpret_cast<RaiseNotificationEvent>(
                reinterpret_cast<void*>(GetProcAddress(core, "UiaRaiseNotificationEvent")));
        }
        return found;
    }();
    return calls;
}

} // namespace

void RaiseUiaNotification(HWND window, std::string_view text) {
    const UiaCalls& calls = Calls();
    if (calls.hostProvider == nullptr || calls.raise == nullptr) {
        return;
    }
    IUnknown* provider = nullptr;
    if (FAILED(calls.hostProvider(window, &provider)) || provider == nullptr) {
        return;
    }
    const BSTR words = SysAllocString(Utf16(text).c_str());
    const BSTR activity = SysAllocString(L"Vibralon.Reading");
    if (words != nullptr && activity != nullptr) {
        calls.raise(provider, kNotificationKindOther, kNotificationProcessingMostRecent, words,
                    activity);
    }
    SysFreeString(words);
    SysFreeString(activity);
    provider->Release();
}

} // namespace win32_host

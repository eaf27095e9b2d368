#include "hosts/win32/ui_waker.h"

#include <stdexcept>

#include "hosts/win32/handler_errors.h"

namespace win32_host {
namespace {

constexpr wchar_t kClassName[] = L"VibralonUiWaker";
constexpr UINT kWakeMessage = WM_APP + 1;

} // namespace

MessageWindowWaker::MessageWindowWaker() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MessageWindowWaker::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    // Registered once per process; a second MessageWindowWaker reuses the class.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the UI thread's window class");
    }
    window_ =
        CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the UI thread's message window");
    }
}

MessageWindowWaker::~MessageWindowWaker() {
    DestroyWindow(window_);
}

void MessageWindowWaker::Wake() {
    // One message at a time is enough: its handler takes everything waiting when it runs.
    if (!wakePosted_.exchange(true, std::memory_order_acq_rel)) {
        PostMessageW(window_, kWakeMessage, 0, 0);
    }
}

LRESULT CALLBACK MessageWindowWaker::Procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindowWaker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kWakeMessage) {
        // One left queued while this window goes has no waker to wake.
        if (self == nullptr) {
            return 0;
        }
        // Cleared before the handler runs, so a wake during it posts again.
        self->wakePosted_.store(false, std::memory_order_release);
        GuardHandler([self] {
            if (self->drain_ != nullptr) {
                self->drain_->DeliverUpdates();
            }
        });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace win32_host

#include "hosts/win32/accessibility/window_accessibility.h"

#include <algorithm>
#include <chrono>

#include "hosts/win32/accessibility/child_ids.h"
#include "hosts/win32/accessibility/uia_notification.h"

namespace win32_host {
namespace {

constexpr UINT_PTR kAnnouncementTimer = 0xA11;

} // namespace

WindowAccessibility::WindowAccessibility(HWND window, a11y::TunerAccess& access,
                                         const DpiScale& scale)
    : window_(window), access_(access),
      client_(new AccessibleClient(window, access, scale, announcement_)) {
    // Handing the client area to another process marshals it: COM must run on this thread.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    access_.SetObserver(this);
}

WindowAccessibility::~WindowAccessibility() {
    WindowGone();
    if (comStarted_) {
        CoUninitialize();
    }
}

bool WindowAccessibility::GetObject(WPARAM flags, LPARAM objectId, LRESULT* result) {
    if (client_ == nullptr || static_cast<LONG>(objectId) != OBJID_CLIENT) {
        return false;
    }
    *result = LresultFromObject(__uuidof(IAccessible), flags, client_);
    return true;
}

bool WindowAccessibility::TimerFired(UINT_PTR timer) {
    if (timer != kAnnouncementTimer) {
        return false;
    }
    KillTimer(window_, kAnnouncementTimer);
    access_.Woken();
    return true;
}

void WindowAccessibility::WindowGone() {
    if (client_ == nullptr) {
        return;
    }
    access_.SetObserver(nullptr);
    KillTimer(window_, kAnnouncementTimer);
    client_->Disconnect();
    client_->Release();
    client_ = nullptr;
}

void WindowAccessibility::ChildChanged(int child) {
    // A string's change is its check; the reading's, its words.
    const DWORD event = child == a11y::TunerAccess::ReadingText ? EVENT_OBJECT_NAMECHANGE
                                                                : EVENT_OBJECT_STATECHANGE;
    NotifyWinEvent(event, window_, OBJID_CLIENT, ChildId(child));
}

void WindowAccessibility::WindowFocused() {
    // As a list does for its current item: a reader coming back to the window hears where the
    // keyboard is, not only the window's name.
    if (access_.Focus() != a11y::TunerAccess::NoChild) {
        FocusMoved(access_.Focus());
    }
}

void WindowAccessibility::FocusMoved(int child) {
    if (GetFocus() == window_) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, ChildId(child));
    }
}

void WindowAccessibility::Announce(std::string_view text) {
    // The announcement takes the words: its live region's event has readers speak them.
    announcement_ = text;
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, kAnnouncementId);
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window_, OBJID_CLIENT, kAnnouncementId);
    RaiseUiaNotification(window_, text);
}

void WindowAccessibility::WakeAt(a11y::Clock::time_point when) {
    using std::chrono::milliseconds;
    // Rounded up: a timer that fires early is only set again.
    const auto wait = std::chrono::ceil<milliseconds>(when - a11y::Clock::now());
    const auto delay = static_cast<UINT>(std::max<milliseconds::rep>(wait.count(), 1));
    SetTimer(window_, kAnnouncementTimer, delay, nullptr);
}

} // namespace win32_host

// Waking the UI thread from the analysis worker, in order and without allocating: a wake posts
// one message to a message-only window of the UI thread, whose handler then runs the drain
// once for every wake that came before it.
#pragma once

#include <atomic>

#include "hosts/win32/windows_names.h"
#include "worker/ui_waker.h"

namespace win32_host {

class MessageWindowWaker final : public DrainingWaker {
public:
    // On the UI thread.
    MessageWindowWaker();
    ~MessageWindowWaker();

    // Any thread: never blocks, never allocates and posts at most one message until that
    // message is handled.
    void Wake() override;
    void SetDrain(UpdateDrain* drain) override { drain_ = drain; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::atomic<bool> wakePosted_{false};
    UpdateDrain* drain_ = nullptr;
};

} // namespace win32_host

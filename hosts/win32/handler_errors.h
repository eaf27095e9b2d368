// Keeps an exception thrown by a window's handler from unwinding through the system's frames:
// the first one is kept and ends the message loop (and any modal loop running inside it);
// the loop's owner rethrows it once the loop has returned. UI thread only.
#pragma once

#include <exception>
#include <utility>

namespace win32_host {

void KeepHandlerError(std::exception_ptr error);
// Rethrows the kept error, if any, and forgets it.
void RethrowHandlerError();

template <typename Handler> void GuardHandler(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        KeepHandlerError(std::current_exception());
    }
}

} // namespace win32_host

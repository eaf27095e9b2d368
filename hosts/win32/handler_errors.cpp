#include "hosts/win32/handler_errors.h"

#include "hosts/win32/windows_names.h"

namespace win32_host {
namespace {

// The UI thread's: handlers run on no other.
thread_local std::exception_ptr pending;

} // namespace

void KeepHandlerError(std::exception_ptr error) {
    if (!pending) {
        pending = std::move(error);
    }
    PostQuitMessage(1);
}

void RethrowHandlerError() {
    if (pending) {
        std::rethrow_exception(std::exchange(pending, nullptr));
    }
}

} // namespace win32_host

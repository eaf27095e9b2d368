// What both systems' desktop layers share: the message-box handler a program may register, and
// the slot that keeps a registered handler. A worker thread may show a box while the host
// registers, so the slot is read and swapped under a lock.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>

namespace desktop {

// Shows a modal message; returns the button pressed (IDOK for an OK-only box).
using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

template <typename Handler> class HandlerSlot {
public:
    // Returns the handler it replaces.
    Handler Swap(Handler handler) {
        std::lock_guard lock(mutex_);
        std::swap(handler_, handler);
        return handler;
    }
    Handler Get() const {
        std::lock_guard lock(mutex_);
        return handler_;
    }

private:
    mutable std::mutex mutex_;
    Handler handler_;
};

} // namespace desktop

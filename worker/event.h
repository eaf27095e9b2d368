// An unnamed auto-reset event, non-signalled when made. Its handle is what the wave-input device
// sets when a block completes.
#pragma once

#include "platform/winapi.h"

class Event {
public:
    // Throws std::runtime_error when the system cannot make one: a worker without its event
    // could never be woken.
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // Blocks until set, and takes the setting. False only when waiting itself failed.
    bool Wait();
    void Signal();
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_;
};

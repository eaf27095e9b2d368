// The devices a wave-input layer has opened and not closed, by the handles it gave out. The
// calls on an open device (prepare, unprepare, add, start, reset, close) are answered here for
// every layer alike (open_devices.cpp): a stale or foreign handle is refused rather than
// followed, and a call in progress keeps its device alive. Each layer opens its own devices.
#pragma once

#include <memory>

#include "platform/wavein/block_queue.h"
#include "platform/winapi.h"

// One open device as its layer keeps it.
class OpenDevice {
public:
    virtual ~OpenDevice() = default;
    virtual BlockQueue& Queue() = 0;
    virtual void Start() = 0;
    virtual void Reset() = 0;
    // Refused while blocks are queued; the handle is let go once it succeeds.
    virtual MMRESULT Close() = 0;
};

namespace open_devices {

// Registers an opened device: its handle is its address, unique while it is open.
HWAVEIN Add(std::shared_ptr<OpenDevice> device);
// Lets go of a handle whose device did not open after all.
void Remove(HWAVEIN handle);

} // namespace open_devices

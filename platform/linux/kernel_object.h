// What a HANDLE of our layer points at: an event or a thread. Waiting and closing work on
// either, as on Windows.
#pragma once

#include "platform/winapi.h"

namespace linux_layer {

class KernelObject {
public:
    KernelObject() = default;
    virtual ~KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    // WAIT_OBJECT_0 once signalled (taking the setting of an auto-reset event), WAIT_TIMEOUT
    // when the time runs out first.
    virtual DWORD Wait(DWORD milliseconds) = 0;
};

inline KernelObject* AsKernelObject(HANDLE handle) {
    return static_cast<KernelObject*>(handle);
}

} // namespace linux_layer

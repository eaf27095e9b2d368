// The devices a wave-input layer has opened and not closed, by the handles it gave out. The
// calls on an open device (prepare, unprepare, add, start, reset, close) are answered here for
// every layer alike (open_devices.cpp): a handle that was closed, or never given out, is refused
// with MMSYSERR_INVALHANDLE, as winmm refuses it, and a call in progress keeps its device alive.
// Each layer opens its own devices.
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

// The checks every layer makes of an open call before its own: a format, only the flags the
// portable code uses (the query, an event or no callback, and `layerFlags`, the ones of ours this
// layer takes), and, to open, a handle to fill and the event to set.
MMRESULT CheckOpen(LPHWAVEIN handle, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD flags,
                   DWORD layerFlags);

// Registers an opened device under a handle never given out before: a handle kept after its
// close names nothing, whatever is opened later.
HWAVEIN Add(std::shared_ptr<OpenDevice> device);
// Lets go of a handle whose device did not open after all.
void Remove(HWAVEIN handle);

} // namespace open_devices

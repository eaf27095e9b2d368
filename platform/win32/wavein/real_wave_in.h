// One device of the system's own wave input (winmm), recording into buffers of its own, which
// it fills in queue order, and setting an event of its own: the only file of the layer that
// calls winmm. Neither is the caller's, so a device that will not close can be let go with them,
// and the caller's blocks given to a new one.
//
// One thread at a time: made and opened on one, then used on another only.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h first: mmsystem.h needs its types.
#include <windows.h>

#include <mmsystem.h>

class RealWaveIn {
public:
    // Whether `device` records `format` (winmm's format query).
    static MMRESULT Query(UINT device, const WAVEFORMATEX& format, DWORD flags);

    RealWaveIn();
    // Closes a device still open.
    ~RealWaveIn();
    RealWaveIn(const RealWaveIn&) = delete;
    RealWaveIn& operator=(const RealWaveIn&) = delete;

    // Opens `device` in `format`.
    MMRESULT Open(UINT device, const WAVEFORMATEX& format);
    bool IsOpen() const { return handle_ != nullptr; }
    // Set by the system on open, on each filled buffer and on close; while open.
    HANDLE Event() const { return event_; }
    // Gives the device its buffers, about a tenth of a second each.
    void QueueBuffers();
    void Start();
    // Hands each buffer filled since the last call to `take`, in the order they were queued,
    // and queues it again. Returns how many were taken.
    int TakeFilled(const std::function<void(const char* bytes, std::size_t count)>& take);
    // Stops and closes the device. Where the device refuses to close (still holding buffers),
    // everything it may still touch is let go for good, whole: its handle, its buffers and its
    // event, never freed (a closed event's value could go to a new object that the old driver
    // would then set), never used again.
    void Close();

private:
    struct Buffers;

    HWAVEIN handle_ = nullptr;
    HANDLE event_ = nullptr;
    std::unique_ptr<Buffers> buffers_;
    std::size_t next_ = 0;
};

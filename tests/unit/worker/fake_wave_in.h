// A wave-input device driven by the test: it opens, queues and resets like the real layer, and
// fills the head of its queue only when the test says so. Selected as the back end while an
// object of this class lives; one at a time.
#pragma once

#include <mutex>

#include "platform/posix/wavein/wave_in_driver.h"

class FakeWaveIn {
public:
    static constexpr int MaxQueued = 8;

    FakeWaveIn();
    ~FakeWaveIn();
    FakeWaveIn(const FakeWaveIn&) = delete;
    FakeWaveIn& operator=(const FakeWaveIn&) = delete;

    // Fills the oldest queued block with a 16-bit sine of `hertz` (at 11025 Hz) and marks it
    // done, as the device would; false when nothing is queued. Sets the event when `signal`.
    bool CompleteBlock(double hertz, bool signal = true);
    // Sets the completion event, as a device does for a completion merged with another.
    void Signal();

    bool IsOpen() const;
    int Queued() const;
    int Unprepares() const;

    // The driver table's entry points.
    static UINT NumDevs();
    static MMRESULT DevCaps(UINT_PTR device, LPWAVEINCAPSA caps, UINT size);
    static MMRESULT Open(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback,
                         DWORD_PTR instance, DWORD flags);
    static MMRESULT Prepare(HWAVEIN handle, LPWAVEHDR header, UINT size);
    static MMRESULT Unprepare(HWAVEIN handle, LPWAVEHDR header, UINT size);
    static MMRESULT AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size);
    static MMRESULT StartDevice(HWAVEIN handle);
    static MMRESULT StopDevice(HWAVEIN handle);
    static MMRESULT Reset(HWAVEIN handle);
    static MMRESULT Close(HWAVEIN handle);

private:
    static void SetFlags(WAVEHDR& header, DWORD flags);
    static DWORD Flags(const WAVEHDR& header);
    void PopFront();

    mutable std::mutex mutex_;
    bool open_ = false;
    HANDLE event_ = nullptr;
    WAVEHDR* queue_[MaxQueued] = {};
    int first_ = 0;
    int count_ = 0;
    int unprepares_ = 0;
    long phase_ = 0;
    const WaveInDriver* previous_;
};

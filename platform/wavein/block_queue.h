// The buffer queue of one open wave-input device, as both our wave-input layers keep it (its
// threading contract is the back ends', in platform/linux/wavein/wave_in_backend.h, which the
// Windows layer follows too). Headers are linked through their own lpNext field, as Windows does,
// so queueing allocates nothing.
#pragma once

#include <cstddef>
#include <mutex>

#include "platform/winapi.h"

class BlockQueue {
public:
    MMRESULT Prepare(WAVEHDR* header, UINT size);
    MMRESULT Unprepare(WAVEHDR* header, UINT size);
    MMRESULT Add(WAVEHDR* header, UINT size);

    // Capture fills blocks only between Start and Reset.
    void Start();
    // Stops filling and hands back every queued header done. Returns the number completed.
    int Reset();

    // Capture thread: appends sound to the queue, head first. `bytes` null means silence.
    // Sound that finds no queued block is dropped, as a device with no buffer drops it.
    // Returns the number of blocks completed, so the caller knows whether to signal.
    int Write(const void* bytes, std::size_t count);

    // The input went: the sound in the head block is from before, and is dropped, so that the
    // block is filled with what comes after the return alone.
    void DropBegun();

    bool Empty() const;

private:
    MMRESULT MarkPrepared(WAVEHDR* header, UINT size, bool prepared);

    // Marks the head done and unlinks it; the mutex is held.
    void CompleteHead();

    mutable std::mutex mutex_;
    WAVEHDR* head_ = nullptr;
    WAVEHDR* tail_ = nullptr;
    bool recording_ = false;
};

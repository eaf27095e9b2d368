// One wave-input device as the caller sees it, kept alive over the system's own (winmm). The
// caller's blocks wait in our queue and are filled from a real device that a thread of ours
// keeps: when no block has come for a while with capture started, it closes the real device and
// opens device `id` again at once, then again every second while the open fails, and every
// NoBlockTimeout (3 s) while it opens but brings no block (capture_watch.h); with no word to the
// user, until blocks come again. The caller's blocks then go on filling in queue order.
//
// The contract is the one of the Linux layer (platform/linux/wavein/wave_in_backend.h): the
// caller's event is set on open, after each filled block (WHDR_DONE set first, with a release
// store) and on close; Reset hands every queued block back done; Close is refused while blocks
// are queued. Close never waits on a device that is gone: the thread checks the stop between
// its steps, and Close waits for it a bounded time, then lets it end by itself. A thread left so
// is inside a driver that hangs (its server stopped, say); the process then ends at once, without
// unloading the drivers (see kept_device.cpp for why).
//
// Threads: the caller's calls come from its threads, one at a time; the real device is used
// only on our thread, once its first opening, made on the caller's, is done.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/wavein/block_queue.h"
#include "platform/wavein/open_devices.h"
#include "platform/win32/wavein/real_wave_in.h"

class KeptDevice final : public OpenDevice {
public:
    // Opens device `id` in `format`, setting `event`. With `await`, a device that cannot be
    // opened now (none there yet) is kept all the same and opened once it can be.
    static MMRESULT Open(UINT id, const WAVEFORMATEX& format, HANDLE event, bool await,
                         std::shared_ptr<KeptDevice>& opened);

    KeptDevice(UINT id, const WAVEFORMATEX& format, HANDLE event);
    ~KeptDevice();
    KeptDevice(const KeptDevice&) = delete;
    KeptDevice& operator=(const KeptDevice&) = delete;

    BlockQueue& Queue() override { return queue_; }
    void Start() override;
    void Reset() override;
    MMRESULT Close() override;

private:
    // Our thread: keeps the real device and fills the queue from it until Close.
    void Keep();
    void Deliver(const char* bytes, std::size_t count);
    bool Stopping() const { return stop_.load(std::memory_order_acquire); }

    const UINT id_;
    const WAVEFORMATEX format_;
    // The caller's event; not set after Close.
    const HANDLE event_;
    BlockQueue queue_;
    RealWaveIn real_;
    // Woken when capture starts or stops, and to stop.
    const HANDLE wake_;
    // Set by our thread as it ends.
    const HANDLE ended_;
    // Whether our thread ended, or Close stopped waiting for it, whichever came first.
    enum class Ending { Running, Ended, LeftInDriver };
    std::atomic<Ending> ending_{Ending::Running};
    std::atomic<bool> started_{false};
    std::atomic<bool> stop_{false};
    // Held while the event is set for a delivery, and by Close before its last setting.
    std::mutex signalMutex_;
    bool closed_ = false;
};

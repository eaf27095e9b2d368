// One open wave-input device as the core keeps it: its block queue, the event it sets and the
// back end's stream that delivers into the queue (see wave_in_backend.h for the contract).
#pragma once

#include <cstddef>

#include "platform/linux/wavein/wave_in_backend.h"
#include "platform/wavein/block_queue.h"
#include "platform/wavein/open_devices.h"
#include "platform/winapi.h"

class OpenWaveIn final : public WaveInSink, public OpenDevice {
public:
    OpenWaveIn(const WaveInBackend& backend, HANDLE event) : backend_(backend), event_(event) {}
    // Closes a stream still open, as at exit with a device nobody closed.
    ~OpenWaveIn();
    OpenWaveIn(const OpenWaveIn&) = delete;
    OpenWaveIn& operator=(const OpenWaveIn&) = delete;

    // Opens the back end's stream; sets the event once it is open.
    MMRESULT Open(const WaveInSource& source, const WAVEFORMATEX& format);

    BlockQueue& Queue() override { return queue_; }
    void Start() override;
    void Reset() override;
    // Refused while blocks are queued; sets the event one last time once the stream is closed.
    MMRESULT Close() override;

    void Deliver(const void* bytes, std::size_t count) override;
    void Lost() override { queue_.DropBegun(); }

private:
    // The back end's entries, or the core's defaults where it has none.
    MMRESULT CloseStream();
    // The event is set after the done bits, so a woken reader finds the blocks done.
    void Signal(int completedBlocks) const;

    const WaveInBackend& backend_;
    HANDLE event_;
    BlockQueue queue_;
    WaveInStream* stream_ = nullptr;
};

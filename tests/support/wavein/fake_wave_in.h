// The test device: an ordinary wave-input back end that a test drives by hand, behind the real
// core. It records every entry-point call as the caller made it (wave_in_calls.cpp stands in
// front of the entry points at link time), answers with the results the test sets, and captures
// only when the test says so. Constructing one selects it behind waveIn...; destroying it
// selects the previous back end again. One may exist at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/linux/wavein/wave_in_backend.h"
#include "platform/winapi.h"

namespace wavein_testing {

// The entry points, one a call.
enum class Call {
    GetNumDevs,
    GetDevCaps,
    Open,
    Prepare,
    Unprepare,
    AddBuffer,
    Start,
    Reset,
    Close
};

struct RecordedCall {
    Call call;
    UINT device = 0;                      // GetDevCaps, Open
    std::optional<WAVEFORMATEX> format{}; // Open, as passed
    bool handleGiven = false;             // Open: whether a handle was asked for
    DWORD_PTR callback = 0;               // Open
    DWORD flags = 0;                      // Open
    HWAVEIN handle = nullptr;             // calls on an open device
    WAVEHDR* header = nullptr;            // header calls
    UINT size = 0;                        // header calls
    WAVEHDR headerAtCall{};               // header calls: the header as it was passed
};

class FakeWaveIn {
public:
    FakeWaveIn();
    ~FakeWaveIn();
    FakeWaveIn(const FakeWaveIn&) = delete;
    FakeWaveIn& operator=(const FakeWaveIn&) = delete;

    // What the device answers.
    void SetDeviceCount(UINT count) { Set(devices_, count); }
    void SetQueryResult(MMRESULT result) { Set(queryResult_, result); }
    void SetOpenResult(MMRESULT result) { Set(openResult_, result); }
    void SetCloseResult(MMRESULT result) { Set(closeResult_, result); }

    // Runs after the core has answered each call, on the caller's thread and outside every
    // lock, so a test can act in the middle of the caller's sequence (complete a block while
    // the caller is still starting, say). Empty: nothing runs.
    void SetCallHook(std::function<void(Call)> hook);

    // Calls are kept unless the test turns that off (keeping them allocates).
    void KeepCalls(bool keep);
    std::vector<RecordedCall> Calls() const;
    std::vector<RecordedCall> CallsOf(Call call) const;
    void ClearCalls();
    int Unprepares() const { return unprepares_.load(); }

    bool IsOpen() const;
    // Blocks queued with the device and not yet filled.
    int Queued() const;

    // Capture, into the stream opened last; each returns false when no block is queued or
    // capture is stopped.
    // Fills the rest of the head block with `fill`; allocates nothing.
    bool CompleteHead(char fill = 0);
    // Fills the head block with a 16-bit sine of `hertz` at the opened rate, continuing the
    // phase of the blocks before; allocates nothing.
    bool CompleteBlock(double hertz);
    // Fills one block per tone in one delivery: the completions merge into one event setting.
    bool CompleteBlocks(std::initializer_list<double> hertz);
    // Captures `count` bytes (from any thread), completing blocks as they fill.
    void Feed(const void* bytes, std::size_t count);
    // Sets the open device's event with no block done, as a stray setting.
    void Signal() const;
    // Takes a setting of the open device's event (the one made on open, say) before any waiting
    // thread does, so that it wakes that thread no more; false when the event was not set.
    bool TakeSignal() const;
    // Whether the open device's event is set and not yet taken by a waiting thread.
    bool SignalWaiting() const;

private:
    friend struct FakeBackend;
    friend void CallArrived(const RecordedCall& call);
    friend void CallAnswered(Call call);

    template <typename T> void Set(T& answer, T value) {
        std::lock_guard lock(mutex_);
        answer = value;
    }
    // Bytes still to fill in the head block, the queued one added first; 0 when nothing is
    // queued or capture is stopped.
    std::size_t HeadRoom() const;
    // An AddBuffer call: `header` goes to the end of the queue unless it is there already.
    void NoteAdded(const WAVEHDR* header);
    // Fills the rest of the head block, `write` making its samples piece by piece; allocates
    // nothing. False when no block is queued or capture is stopped.
    template <typename Write> bool FillHead(Write write);
    // The tone's next samples, continuing its phase.
    void WriteTone(double hertz, std::span<std::int16_t> samples);

    mutable std::mutex mutex_;
    std::vector<RecordedCall> calls_;
    bool keepCalls_ = true;
    std::atomic<int> unprepares_{0};
    UINT devices_ = 1;
    MMRESULT queryResult_ = MMSYSERR_NOERROR;
    MMRESULT openResult_ = MMSYSERR_NOERROR;
    MMRESULT closeResult_ = MMSYSERR_NOERROR;
    int openStreams_ = 0;
    WaveInSink* sink_ = nullptr;
    WAVEFORMATEX format_{};
    HANDLE event_ = nullptr;
    // The headers ever queued, to count those still queued; the recorder has eight.
    static constexpr int MaxHeaders = 16;
    const WAVEHDR* headers_[MaxHeaders] = {};
    long addedAt_[MaxHeaders] = {};
    int headerCount_ = 0;
    long adds_ = 0;
    bool recording_ = false;
    long phase_ = 0;
    std::function<void(Call)> hook_;
    const WaveInBackend* previous_ = nullptr;
};

// What the entry points tell the device (wave_in_calls.cpp), on the caller's thread: each call
// before the core checks it, and each once it has been answered and no lock of the core is held.
// With no device, nothing.
void CallArrived(const RecordedCall& call);
void CallAnswered(Call call);

} // namespace wavein_testing

// A wave-input device that a test drives by hand. It records every call with its arguments,
// answers with the results the test sets, and fills blocks only when the test says so, through
// the same block queue as the real back ends. Constructing one selects it behind waveIn...;
// destroying it selects the previous back end again. One may exist at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/posix/wavein/block_queue.h"
#include "platform/posix/wavein/wave_in_driver.h"
#include "platform/winapi.h"

namespace wavein_testing {

enum class Call {
    GetNumDevs,
    GetDevCaps,
    Open,
    Prepare,
    Unprepare,
    AddBuffer,
    Start,
    Stop,
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
    void SetDeviceCount(UINT count);
    void SetQueryResult(MMRESULT result);
    void SetOpenResult(MMRESULT result);
    void SetCloseResult(MMRESULT result);

    // Runs after the device has answered each call, on the caller's thread and outside the
    // fake's lock, so a test can act in the middle of the caller's sequence (complete a block
    // while the caller is still starting, say). Empty: nothing runs.
    void SetCallHook(std::function<void(Call)> hook);

    std::vector<RecordedCall> Calls() const;
    std::vector<RecordedCall> CallsOf(Call call) const;
    void ClearCalls();

    bool IsOpen() const;
    HANDLE Event() const;

    // The device fills the rest of the head-of-queue block with `fill`, marks it done and sets
    // the event. False when nothing is queued or capture is not running.
    bool CompleteHead(char fill = 0);
    // The device captures `count` bytes (from any thread), completing blocks as they fill.
    int Feed(const void* bytes, std::size_t count);

private:
    friend struct FakeDriverCalls;

    mutable std::mutex mutex_;
    std::vector<RecordedCall> calls_;
    UINT devices_ = 1;
    MMRESULT queryResult_ = MMSYSERR_NOERROR;
    MMRESULT openResult_ = MMSYSERR_NOERROR;
    MMRESULT closeResult_ = MMSYSERR_NOERROR;
    bool open_ = false;
    HANDLE event_ = nullptr;
    BlockQueue queue_;
    std::function<void(Call)> hook_;
    const WaveInDriver* previous_ = nullptr;
};

} // namespace wavein_testing

// The analysis worker: sleeps on the device's completion event and turns each completed block
// into one lamp change and one reading for the window.
//
// Threads and stopping (the one contract every user of the worker follows):
// - UI thread: construction, Resume, Start, SetUpdateWaker, DeliverUpdates, Stop, WaitFor,
//   destruction. Worker thread: Execute and ProcessBlock, under the lock.
// - Start and ProcessBlock both hold the lock, so no block is handled while the device opens.
// - Stop stores the stop flag, closes the hand-over to the window, then sets the event; the
//   worker sees the flag at that wake-up and ends. From Stop on, nothing reaches the view.
// - Shutdown: Stop, WaitFor, then destroy. Destroying a worker whose thread still runs does
//   the Stop and WaitFor first, so no member goes while Execute may use it. Members then go in
//   reverse order of declaration: the lock, the Fft, the Recorder (which closes the device and
//   so sets the event once more) and last the event.
#pragma once

#include <atomic>

#include "platform/wavein/block_pace.h"
#include "worker/event.h"
#include "worker/mutex.h"
#include "worker/thread.h"
#include "worker/tuner_view.h"
#include "worker/view_updates.h"
#include "worker/xptr.h"

class Display final : public TThread, public UpdateDrain {
public:
    // The window's configuration: the capture's blocks, each one transform long.
    static constexpr int BlockLength = block_pace::BlockLength;
    static constexpr int SampleRate = block_pace::SampleRate;
    static constexpr int FftLength = BlockLength;

    // Makes the event, a 16-bit mono recorder and the Fft; touches no device. The thread runs
    // at once unless `createSuspended` (the window always passes true and resumes it itself).
    // `view` must outlive the worker.
    Display(bool createSuspended, int blockLength, int sampleRate, int fftLength, TunerView& view);
    ~Display() override;

    // Under the lock, opens and starts the recorder with this worker's event. The recorder has
    // told the user about a failure by the time false is returned.
    bool Start();
    // Asks the thread to end at its next wake-up, and wakes it.
    void Stop();

    // Sets who the worker wakes when updates are waiting for DeliverUpdates.
    void SetUpdateWaker(UiWaker* waker) { updates_.SetWaker(waker); }
    // Applies the waiting lamp changes and readings to the view, in order; nothing after Stop.
    // Returns how many were applied.
    int DeliverUpdates() override;

protected:
    void Execute() override;

private:
    void ProcessBlock();
    // The lamp's state for this block; the next block shows the other.
    bool ToggleLamp();

    std::atomic<bool> stop_{false};
    Event event_;
    PtrRecorder recorder_;
    PtrFft fft_;
    Mutex mutex_;
    bool lampState_ = true;

    TunerView& view_;
    ViewUpdates updates_;
};

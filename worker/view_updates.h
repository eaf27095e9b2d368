// Carries the worker's lamp changes and readings to the UI thread, in order.
//
// The worker thread pushes each block's lamp change and reading as one update (no allocation,
// never waiting on the UI thread) and then calls the wake function once, which tells the UI
// thread to Drain. Drain applies the pending updates to the view in the order they were pushed,
// each block's lamp before its reading. Stop closes the hand-over for good: pushes after it are
// refused and wake no one, and a Drain after it applies nothing, so once Stop has been called
// on the UI thread nothing more reaches the window, also from a block being processed then.
//
// When the UI thread falls behind by more than Capacity blocks the oldest are discarded: what
// reaches the window is always an in-order run of the newest blocks, which is what a display of
// the current sound wants.
#pragma once

#include <atomic>

#include "analysis/tuner_reading.h"
#include "worker/mutex.h"
#include "worker/tuner_view.h"
#include "worker/ui_waker.h"

// What one block asks of the window: the lamp's state, then the block's reading.
struct ViewUpdate {
    bool lit = false;
    TunerReading reading{};
    int frequency = 0; // the reading's strongest frequency, whole hertz
};

class ViewUpdates {
public:
    static constexpr int Capacity = 8; // blocks

    ViewUpdates() = default;
    ViewUpdates(const ViewUpdates&) = delete;
    ViewUpdates& operator=(const ViewUpdates&) = delete;

    // Sets who is woken after each push (nullptr for none). Once Stop has returned it is never
    // woken again.
    void SetWaker(UiWaker* waker);

    // Worker thread: one update and one wake-up for the block's lamp and reading, so that the UI
    // thread is not woken again for the reading just after it woke for the lamp.
    void PushBlock(bool lit, const TunerReading& reading, int frequency = 0);

    // UI thread. Stop is final.
    void Stop();
    bool Stopped() const { return stopped_.load(std::memory_order_acquire); }
    // Applies the pending updates to `view` in order and returns how many lamp changes and
    // readings it showed (two a block); after Stop it discards them and returns 0.
    int Drain(TunerView& view);

private:
    Mutex mutex_;
    ViewUpdate ring_[Capacity];
    int first_ = 0;
    int count_ = 0;
    std::atomic<bool> stopped_{false};
    UiWaker* waker_ = nullptr;
};

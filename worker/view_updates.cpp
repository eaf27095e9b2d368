#include "worker/view_updates.h"

void ViewUpdates::SetWaker(UiWaker* waker) {
    Lock lock(mutex_);
    waker_ = waker;
}

void ViewUpdates::PushBlock(bool lit, const TunerReading& reading, int frequency) {
    Lock lock(mutex_);
    // Checked under the lock that Stop also takes: once Stop has returned, no push gets through
    // and no wake-up is in progress.
    if (Stopped()) {
        return;
    }
    if (count_ == Capacity) { // the oldest block makes room
        first_ = (first_ + 1) % Capacity;
        --count_;
    }
    ring_[(first_ + count_) % Capacity] = ViewUpdate{lit, reading, frequency};
    ++count_;
    if (waker_ != nullptr) {
        waker_->Wake();
    }
}

void ViewUpdates::Stop() {
    Lock lock(mutex_);
    stopped_.store(true, std::memory_order_release);
    count_ = 0;
}

int ViewUpdates::Drain(TunerView& view) {
    // Taken out under the lock and applied outside it, so the worker never waits on painting.
    ViewUpdate pending[Capacity];
    int taken = 0;
    {
        Lock lock(mutex_);
        for (; taken < count_; ++taken) {
            pending[taken] = ring_[(first_ + taken) % Capacity];
        }
        first_ = 0;
        count_ = 0;
    }
    // A view that stops the worker from one of its own calls gets nothing after that one.
    int shown = 0;
    for (int k = 0; k < taken && !Stopped(); ++k) {
        view.ShowLamp(pending[k].lit);
        ++shown;
        if (Stopped()) {
            break;
        }
        view.ShowHeard(pending[k].reading, pending[k].frequency);
        ++shown;
    }
    return shown;
}

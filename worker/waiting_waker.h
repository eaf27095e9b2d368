// A waker for a program without a window: its own thread waits here and drains the worker's
// updates whenever it is woken. Wake may come from the worker (under the hand-over's lock) or
// from anyone else who wants the waiting thread to look again (a signal, a console control).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "worker/ui_waker.h"

class WaitingWaker final : public UiWaker {
public:
    WaitingWaker() = default;
    WaitingWaker(const WaitingWaker&) = delete;
    WaitingWaker& operator=(const WaitingWaker&) = delete;

    void Wake() override {
        {
            std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wokenChanged_.notify_one();
    }

    // The waiting thread: true when woken within `timeout` (wake-ups since the last wait count).
    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        const bool woken = wokenChanged_.wait_for(lock, timeout, [this] { return woken_; });
        woken_ = false;
        return woken;
    }

private:
    std::mutex mutex_;
    std::condition_variable wokenChanged_;
    bool woken_ = false;
};

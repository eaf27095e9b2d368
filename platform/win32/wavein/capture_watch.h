// When a kept wave-input device counts as lost, and when to try it again. The system says
// nothing when a device goes (no error, no event), so only time without a block tells: with
// capture started, LossAfter without one means the device is gone; a gone device is opened
// again at once, then every RetryEvery until it opens. An open device is given LossAfter again
// for its first block, which can take over two seconds to come.
//
// Portable and clock-free: every call is given the time, so the rule can be followed with any
// clock and checked without waiting.
#pragma once

#include <algorithm>
#include <chrono>

#include "platform/wavein/block_pace.h"

class CaptureWatch {
public:
    using Time = std::chrono::steady_clock::time_point;
    using Duration = std::chrono::steady_clock::duration;
    static constexpr Duration LossAfter = block_pace::NoBlockTimeout;
    static constexpr Duration RetryEvery = std::chrono::seconds(1);

    // The device is open (again): its first block has LossAfter to come.
    void Opened(Time now) {
        open_ = true;
        lastBlock_ = now;
    }
    // Opening failed: the next try is RetryEvery away.
    void OpenFailed(Time now) {
        open_ = false;
        nextTry_ = now + RetryEvery;
    }
    // The device was closed as lost: the next try is at once.
    void Closed(Time now) {
        open_ = false;
        nextTry_ = now;
    }
    void Started(Time now) {
        started_ = true;
        lastBlock_ = now;
    }
    void Stopped() { started_ = false; }
    void BlockCame(Time now) { lastBlock_ = now; }

    bool IsOpen() const { return open_; }
    bool IsStarted() const { return started_; }
    // An open device, capture started, and no block for LossAfter.
    bool Lost(Time now) const { return open_ && started_ && now - lastBlock_ >= LossAfter; }
    bool TryDue(Time now) const { return !open_ && now >= nextTry_; }
    // How long from `now` until the rule has something to say (at most `longest`).
    Duration Quiet(Time now, Duration longest) const {
        Time due = now + longest;
        if (!open_) {
            due = std::min(due, nextTry_);
        } else if (started_) {
            due = std::min(due, lastBlock_ + LossAfter);
        }
        return std::max(due - now, Duration::zero());
    }

private:
    bool open_ = false;
    bool started_ = false;
    Time lastBlock_{};
    Time nextTry_{};
};

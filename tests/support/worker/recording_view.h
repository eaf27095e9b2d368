// A tuner view that records what reaches it, and can hold the worker inside a block: the worker
// reads the selected string in the middle of each block, so a read that waits keeps it there.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/eventually.h"
#include "worker/tuner_view.h"
#include "worker/view_updates.h"

// One call the view received: a lamp change or a reading.
struct Shown {
    enum class Kind : unsigned char { Lamp, Reading };

    Kind kind = Kind::Lamp;
    bool lit = false;       // Lamp
    TunerReading reading{}; // Reading
};

class RecordingView : public TunerView {
public:
    int SelectedString() const override {
        reads_.fetch_add(1);
        std::unique_lock lock(mutex_);
        if (holdNext_) {
            holdNext_ = false;
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !held_; });
        }
        return selected_.load();
    }
    void ShowLamp(bool lit) override { shown.push_back({.kind = Shown::Kind::Lamp, .lit = lit}); }
    void ShowReading(const TunerReading& reading) override {
        shown.push_back({.kind = Shown::Kind::Reading, .reading = reading});
    }

    void Select(int string) { selected_.store(string); }
    int Reads() const { return reads_.load(); }

    // The next read of the selected string waits until Release.
    void HoldNextRead() {
        std::lock_guard lock(mutex_);
        holdNext_ = true;
    }
    void WaitUntilHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return held_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }

    // What was applied, in order (UI thread only).
    std::vector<Shown> shown;

private:
    std::atomic<int> selected_{-1};
    mutable std::atomic<int> reads_{0};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable bool holdNext_ = false;
    mutable bool held_ = false;
};

// Counts the worker's wake-ups, from any thread.
class CountingWaker final : public UiWaker {
public:
    void Wake() override { wakes.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<int> wakes{0};
};

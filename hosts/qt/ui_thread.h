// Running work on the UI thread, in order, from any thread, without allocating.
//
// Two ways in, both safe from any thread:
// - Post(task): a small callable is copied into a fixed ring and run on the UI thread; tasks
//   run in the order they were posted. A full ring refuses the task (Post returns false).
// - Wake(context): matches a plain `void(void*)` wake-up hook, such as the analysis worker's;
//   it only signals, and the UI thread then runs the wake handler once for any number of wakes
//   that came before it.
// The signal is an eventfd watched by the UI thread's event loop: posting and waking take a
// short lock and write eight bytes, nothing more. Stop (UI thread) is final: pending tasks are
// dropped, later posts are refused and wakes do nothing. Destroy the UiThread only once no
// other thread can reach it any more.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>

namespace qt_host {

// A callable of at most Capacity bytes that can be copied as plain bytes (a lambda capturing
// pointers and numbers), so that a ring of them never allocates.
class UiTask {
public:
    static constexpr std::size_t Capacity = 48;

    UiTask() = default;
    template <typename F>
    requires(!std::is_same_v<std::decay_t<F>, UiTask>) UiTask(F function)
        : invoke_(&Invoke<F>) { // NOLINT: converting on purpose
        static_assert(sizeof(F) <= Capacity, "capture less: a UI task holds at most 48 bytes");
        static_assert(alignof(F) <= alignof(std::max_align_t));
        static_assert(std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                      "a UI task must be copyable as bytes: capture pointers and values only");
        std::memcpy(storage_, &function, sizeof(F));
    }

    explicit operator bool() const { return invoke_ != nullptr; }
    void operator()() { invoke_(storage_); }

private:
    template <typename F> static void Invoke(void* storage) {
        (*std::launder(reinterpret_cast<F*>(storage)))();
    }

    using Invoker = void (*)(void*);
    Invoker invoke_ = nullptr;
    alignas(std::max_align_t) unsigned char storage_[Capacity] = {};
};

class UiThread {
public:
    static constexpr int Capacity = 256;

    // On the UI thread, once the application exists.
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    bool Post(UiTask task);
    // `context` is the UiThread; the signature fits a `void(void*)` wake hook.
    static void Wake(void* context);
    // UI thread: what a wake runs (after any tasks posted before it).
    void SetWakeHandler(std::function<void()> handler);
    void Stop();
    bool Stopped() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qt_host

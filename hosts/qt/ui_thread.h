// Bringing the analysis worker's wake-ups to the UI thread, from any thread, without allocating.
//
// Wake(context) matches a plain `void(void*)` wake-up hook, such as the analysis worker's; it
// only signals, and the UI thread then runs the wake handler once for any number of wakes that
// came before it. The signal is an eventfd watched by the UI thread's event loop: a wake writes
// eight bytes, nothing more. Stop (UI thread) is final: later wakes do nothing. Destroy the
// UiThread only once no other thread can reach it any more.
#pragma once

#include <functional>
#include <memory>

namespace qt_host {

class UiThread {
public:
    // On the UI thread, once the application exists.
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // `context` is the UiThread; the signature fits a `void(void*)` wake hook.
    static void Wake(void* context);
    // UI thread: what a wake runs.
    void SetWakeHandler(std::function<void()> handler);
    void Stop();
    bool Stopped() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qt_host

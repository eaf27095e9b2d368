// Brings the analysis worker's wake-ups to the UI thread, from any thread, without allocating.
//
// Wake only signals; the UI thread then runs the drain once for any number of wakes that came
// before it. The signal is an eventfd watched by the UI thread's event loop: a wake writes
// eight bytes, nothing more. Destroy it only once no other thread can reach it any more.
#pragma once

#include <memory>

#include "worker/ui_waker.h"

namespace qt_host {

class QtUiWaker final : public DrainingWaker {
public:
    // On the UI thread, once the application exists.
    QtUiWaker();
    ~QtUiWaker();

    void Wake() override;
    void SetDrain(UpdateDrain* drain) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qt_host

// What the worker calls when lamp changes and readings wait for the UI thread. Each window host
// implements it by posting a wake-up to its UI thread, which then drains the updates.
#pragma once

class UiWaker {
public:
    // Worker thread, after each update, with the hand-over's lock held: it must be quick, must
    // not allocate and must not call back into the worker (post a wake-up and return).
    virtual void Wake() = 0;

protected:
    ~UiWaker() = default;
};

// The way from the worker to the window: the worker wakes the UI thread when lamp changes and
// readings wait, and a window host's waker then runs the drain that applies them there.
#pragma once

class UiWaker {
public:
    // Worker thread, after each update, with the hand-over's lock held: it must be quick, must
    // not allocate and must not call back into the worker (post a wake-up and return).
    virtual void Wake() = 0;

protected:
    ~UiWaker() = default;
};

class UpdateDrain {
public:
    // UI thread: applies the waiting updates to the window in order; returns how many.
    virtual int DeliverUpdates() = 0;

protected:
    ~UpdateDrain() = default;
};

// A window host's waker: for one wake or many, its UI thread runs the drain once. It belongs to
// its UI thread: never copied.
class DrainingWaker : public UiWaker {
public:
    DrainingWaker() = default;
    DrainingWaker(const DrainingWaker&) = delete;
    DrainingWaker& operator=(const DrainingWaker&) = delete;

    // UI thread: nullptr for none. Cleared before the drain goes: no pending wake reaches it.
    virtual void SetDrain(UpdateDrain* drain) = 0;

protected:
    ~DrainingWaker() = default;
};

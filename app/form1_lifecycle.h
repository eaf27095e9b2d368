// The main window's create and destroy handlers: the start-up checks of the sound input, and
// the analysis worker's start and stop. Portable: it speaks to the sound input and the user
// through winapi.h (message boxes go to whatever the platform layer has registered).
//
// UI thread only, in this order: construct, FormCreate once the window is made, close the
// window if CloseRequested, the message loop, FormDestroy, JoinWorker.
#pragma once

#include <memory>

#include "ui/tform1.h"
#include "worker/display.h"
#include "worker/ui_waker.h"

class Form1Lifecycle {
public:
    // Captions of the start-up checks' message boxes (their body is empty).
    static constexpr const char* NoSoundCardCaption = "No sound card installed !";
    static constexpr const char* NoCapabilitiesCaption =
        "Cannot determine sound card capabilities !";

    // `waker` is woken by the worker, on its thread, when updates wait; it drains the worker
    // from FormCreate to JoinWorker. `form` and `waker` must outlive this object.
    Form1Lifecycle(TForm1& form, DrainingWaker& waker) : form_(form), waker_(waker) {}
    // Stops and joins a worker still running.
    ~Form1Lifecycle();
    Form1Lifecycle(const Form1Lifecycle&) = delete;
    Form1Lifecycle& operator=(const Form1Lifecycle&) = delete;

    // Always all three steps, in order: count the input devices, read device 0's capabilities,
    // then create the worker suspended, resume it and start capture. A failed check tells the
    // user and asks for the window to close, which the caller does once this has returned.
    void FormCreate();
    bool CloseRequested() const { return closeRequested_; }

    // Tells the worker to stop; from here on nothing reaches the window. Does not wait.
    void FormDestroy();
    // Waits for the worker's thread to end, then destroys the worker, which closes the device.
    void JoinWorker();

private:
    void Tell(const char* caption);

    TForm1& form_;
    DrainingWaker& waker_;
    std::unique_ptr<Display> worker_;
    bool closeRequested_ = false;
};

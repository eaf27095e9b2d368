// The main window's create and destroy handlers: the start-up checks of the sound input, and
// the analysis worker's start and stop. Portable: it speaks to the sound input and the user
// through winapi.h (message boxes go to whatever the platform layer has registered).
//
// UI thread only. Order of use:
//   Form1Lifecycle lifecycle(form, waker);
//   lifecycle.FormCreate();             // after the window's constructor
//   if (lifecycle.CloseRequested()) ... // a failed check: close the window, now that it returned
//   ... message loop, with DeliverUpdates run whenever `waker` was woken ...
//   lifecycle.FormDestroy();            // the window goes: the worker stops
//   lifecycle.JoinWorker();             // its thread ends and the device closes
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

    // `waker` is woken by the worker, on its thread, when updates wait for DeliverUpdates.
    // `form` and `waker` must outlive this object.
    Form1Lifecycle(TForm1& form, UiWaker& waker) : form_(form), waker_(waker) {}
    // Stops and joins a worker still running.
    ~Form1Lifecycle();
    Form1Lifecycle(const Form1Lifecycle&) = delete;
    Form1Lifecycle& operator=(const Form1Lifecycle&) = delete;

    // Always all three steps, in order: count the input devices, read device 0's capabilities,
    // then create the worker suspended, resume it and start capture. A failed check tells the
    // user and asks for the window to close, which the caller does once this has returned.
    void FormCreate();
    bool CloseRequested() const { return closeRequested_; }

    // Applies the worker's waiting lamp changes and readings to the window, in order; nothing
    // once FormDestroy has run. Returns how many it applied.
    int DeliverUpdates();

    // Tells the worker to stop; from here on nothing reaches the window. Does not wait.
    void FormDestroy();
    // Waits for the worker's thread to end, then destroys the worker, which closes the device.
    void JoinWorker();

private:
    void Tell(const char* caption);

    TForm1& form_;
    UiWaker& waker_;
    std::unique_ptr<Display> worker_;
    bool closeRequested_ = false;
};

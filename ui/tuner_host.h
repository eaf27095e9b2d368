// What a window host provides to run the tuner on its platform.
#pragma once

#include <memory>
#include <string_view>

#include "worker/ui_waker.h"

class TForm1;

class TunerWindow {
public:
    virtual ~TunerWindow() = default;
    virtual void Show() = 0;
};

class TunerHost {
public:
    TunerHost(const TunerHost&) = delete;
    TunerHost& operator=(const TunerHost&) = delete;

    // The art scale of the screen the window opens on, for making the form.
    virtual int ArtScale() const = 0;
    // The main window for `form`, not yet shown; `form` must outlive it.
    virtual std::unique_ptr<TunerWindow> MakeWindow(TForm1& form) = 0;
    // The message loop, until the window is gone; returns its exit code. An exception that a
    // handler lets out ends the loop (nested ones too) and comes out here.
    virtual int Run() = 0;
    // The platform's standard report of an error: a modal box showing `message`, titled with
    // the program.
    virtual void ShowException(std::string_view message) = 0;
    virtual DrainingWaker& Ui() = 0;
    // Whether destroying the host can hang; the program then ends without that.
    virtual bool TeardownCanHang() const { return false; }

protected:
    TunerHost() = default;
    ~TunerHost() = default;
};

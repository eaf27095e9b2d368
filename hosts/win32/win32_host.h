// The Win32 window host, seen from the program: the application is the tuner's host, and
// the main window is a FormWindow (form_window.h). The worker wakes the UI thread through
// app.Ui() (see ui_waker.h).
#pragma once

#include <string>
#include <string_view>

#include "hosts/win32/form_window.h"
#include "hosts/win32/message_boxes.h"
#include "hosts/win32/ui_waker.h"
#include "ui/tuner_host.h"

namespace win32_host {

class Application final : public TunerHost {
public:
    // On the thread that becomes the UI thread; `title` captions the standard error box.
    explicit Application(std::string_view title);

    int ArtScale() const override;
    std::unique_ptr<TunerWindow> MakeWindow(TForm1& form) override;
    // The loop runs until the main window is destroyed. An exception cannot travel through
    // the system's frames, so the window procedure keeps it and the loop rethrows it here.
    int Run() override;
    // A modal box with the error icon.
    void ShowException(std::string_view message) override;
    MessageWindowWaker& Ui() override { return ui_; }

private:
    std::string title_;
    CaptionWideBoxes wideBoxes_;
    MessageWindowWaker ui_;
};

} // namespace win32_host

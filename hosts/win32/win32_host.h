// The Win32 window host, seen from the program (the same shape as the Qt host):
//
//   win32_host::Application app("Vibralon");  // common controls, message boxes widened
//   TForm1 form;                               // any skin::Form
//   win32_host::Window window(form);
//   window.Show();                             // centred the first time
//   return app.Run();                          // until the main window is destroyed
//
// The worker wakes the UI thread through app.Ui() (see ui_waker.h).
#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <string_view>

#include "hosts/win32/form_window.h"
#include "hosts/win32/message_boxes.h"
#include "hosts/win32/ui_waker.h"
#include "ui/skin/form.h"

namespace win32_host {

class Application {
public:
    // On the thread that becomes the UI thread; `title` captions the standard error box.
    explicit Application(std::string_view title);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the message loop until the main window is destroyed; returns the loop's exit code.
    // An exception that a handler lets out ends the loop (nested ones too) and is rethrown
    // here, since it cannot travel through the system's frames.
    int Run();
    // The standard report of an error: a modal box with the error icon titled with the
    // application's title, showing `message`.
    void ShowException(std::string_view message);
    UiWaker& Ui() { return ui_; }

private:
    std::string title_;
    CaptionWideBoxes wideBoxes_;
    UiWaker ui_;
};

class Window {
public:
    // The main window for `form`, not yet shown; `form` must outlive the window.
    explicit Window(skin::Form& form) : window_(form) {}
    // A form with an accessible face (the tuner's) is also served to screen readers.
    template <typename AccessibleForm>
    requires requires(AccessibleForm& form) {
        { form.Access() } -> std::same_as<a11y::TunerAccess&>;
    }
    explicit Window(AccessibleForm& form) : window_(form, &form.Access()) {}

    void Show() { window_.Show(); }
    HWND Handle() const { return window_.Handle(); }

private:
    FormWindow window_;
};

} // namespace win32_host

// The Qt window host, seen from the program: no Qt type appears here.
//
//   qt_host::Application app(argc, argv, "Vibralon");  // registers message boxes and opener
//   TForm1 form;                                        // any skin::Form
//   qt_host::Window window(form);
//   window.Show();                                      // centred the first time
//   return app.Run();                                   // until the last window closes
//
// Work for the UI thread from other threads goes through app.Ui() (see ui_waker.h).
#pragma once

#include <concepts>
#include <memory>
#include <string_view>

#include "hosts/qt/ui_waker.h"
#include "ui/skin/form.h"

namespace a11y {
class TunerAccess;
}

namespace qt_host {

class FormWindow;

class Application {
public:
    // Creates the toolkit's application object on the calling thread, which becomes the UI
    // thread; `title` names the program on the task bar. `argc` and `argv` must outlive it.
    // Registers the real message box and document opener for MessageBoxA and ShellExecuteA.
    Application(int& argc, char** argv, std::string_view title);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the message loop until the last window has closed; returns the loop's exit code.
    // An exception that a handler lets out ends the loop (nested ones too) and is rethrown
    // here, since the toolkit cannot carry it through its own frames.
    int Run();
    // Handles pending events without waiting (for tests and start-up sequences); rethrows as
    // Run does.
    void ProcessEvents();
    // The toolkit's standard report of an error: a modal critical message box titled with the
    // application's title, showing `message`.
    void ShowException(std::string_view message);
    UiWaker& Ui() { return *ui_; }
    // Whether destroying this object can hang: Qt 6.4's Wayland client joins its event threads
    // then, and one can wait forever for a read the other never makes. A program whose own
    // work is done ends with std::_Exit instead where this is true.
    bool TeardownCanHang() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<UiWaker> ui_;
};

class Window {
public:
    // The top-level window for `form`, not yet shown; `form` must outlive the window.
    explicit Window(skin::Form& form);
    // The same, shown to assistive technology (screen readers) through `access`, which must
    // outlive the window too.
    Window(skin::Form& form, a11y::TunerAccess& access);
    // A form with an accessible face (the tuner's) is shown to assistive technology through it.
    template <typename AccessibleForm>
    requires requires(AccessibleForm& form) {
        { form.Access() } -> std::same_as<a11y::TunerAccess&>;
    }
    explicit Window(AccessibleForm& form) : Window(form, form.Access()) {}
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Show();
    void Close();
    bool Visible() const;
    // The platform's id of the window (an X11 window id on X11), for tests and tools.
    unsigned long long NativeId();
    FormWindow& Host() { return *window_; }

private:
    std::unique_ptr<FormWindow> window_;
};

} // namespace qt_host

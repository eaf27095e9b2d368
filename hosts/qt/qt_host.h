// The Qt window host, seen from the program: no Qt type appears here. Tests and tools also put
// any skin::Form in a Window; other threads reach the UI thread through app.Ui().
#pragma once

#include <memory>
#include <string_view>

#include "hosts/qt/ui_waker.h"
#include "ui/skin/form.h"
#include "ui/tuner_host.h"

namespace qt_host {

class FormWindow;

class Application final : public TunerHost {
public:
    // Creates the toolkit's application object on the calling thread, which becomes the UI
    // thread; `title` names the program on the task bar. `argc` and `argv` must outlive it.
    // Registers the real message box and document opener for MessageBoxA and ShellExecuteA.
    Application(int& argc, char** argv, std::string_view title);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    int ArtScale() const override;
    std::unique_ptr<TunerWindow> MakeWindow(TForm1& form) override;
    // Runs the message loop until the last window has closed; returns the loop's exit code.
    // An exception that a handler lets out ends the loop (nested ones too) and is rethrown
    // here, since the toolkit cannot carry it through its own frames.
    int Run() override;
    // The toolkit's standard report of an error: a modal critical message box titled with the
    // application's title, showing `message`.
    void ShowException(std::string_view message) override;
    QtUiWaker& Ui() override { return *ui_; }
    // Whether destroying this object can hang: Qt 6.4's Wayland client joins its event threads
    // then, and one can wait forever for a read the other never makes. A program whose own
    // work is done ends with std::_Exit instead where this is true.
    bool TeardownCanHang() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<QtUiWaker> ui_;
};

class Window final : public TunerWindow {
public:
    // The top-level window for `form`, not yet shown; `form` must outlive the window.
    explicit Window(skin::Form& form);
    // The tuner's, shown to assistive technology (screen readers) too.
    explicit Window(TForm1& form);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Show() override;
    void Close();
    bool Visible() const;
    // The platform's id of the window (an X11 window id on X11), for tests and tools.
    unsigned long long NativeId();
    FormWindow& Host() { return *window_; }

private:
    std::unique_ptr<FormWindow> window_;
};

} // namespace qt_host

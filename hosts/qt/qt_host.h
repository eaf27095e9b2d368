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

    int ArtScale() const override;
    std::unique_ptr<TunerWindow> MakeWindow(TForm1& form) override;
    // The loop runs until the last window has closed. The toolkit cannot carry an exception
    // through its own frames, so the loop keeps it and rethrows it here.
    int Run() override;
    // The toolkit's own critical message box.
    void ShowException(std::string_view message) override;
    QtUiWaker& Ui() override { return *ui_; }
    // True where Qt 6.4's Wayland client joins its event threads on teardown: one can wait
    // forever for a read the other never makes.
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

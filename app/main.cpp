// The tuner's entry: the application, its main window and the message loop. The exit code is
// 0 in every case, also after an error has been shown.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>

#include "app/form1_lifecycle.h"
#include "hosts/qt/qt_host.h"
#include "ui/tform1.h"

namespace {

struct WakeHandlerReset {
    qt_host::UiThread& ui;
    ~WakeHandlerReset() { ui.SetWakeHandler(nullptr); }
};

void RunTuner(qt_host::Application& app) {
    TForm1 form;
    qt_host::Window window(form);
    Form1Lifecycle lifecycle(form, &qt_host::UiThread::Wake, &app.Ui());
    app.Ui().SetWakeHandler([&lifecycle] { lifecycle.DeliverUpdates(); });
    // Goes first on every way out, so that no wake-up left pending reaches a lifecycle gone
    // (the error box runs a loop of its own).
    const WakeHandlerReset resetWakeHandler{app.Ui()};

    lifecycle.FormCreate();
    if (lifecycle.CloseRequested()) {
        // Never shown: the loop only sees the close through, once it runs.
        form.Close();
    } else {
        window.Show();
    }
    app.Run();

    // The window is done with: stop the worker, then let its thread end and the device close
    // before the window and the application go, so nothing reaches either afterwards.
    lifecycle.FormDestroy();
    lifecycle.JoinWorker();
}

void Report(std::optional<qt_host::Application>& app, const char* message) {
    if (app) {
        app->ShowException(message);
    } else {
        std::fprintf(stderr, "Vibralon: %s\n", message);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::optional<qt_host::Application> app;
    try {
        app.emplace(argc, argv, "Vibralon");
        RunTuner(*app);
    } catch (const std::exception& error) {
        Report(app, error.what());
    } catch (...) {
        Report(app, "Unexpected error");
    }
    // Everything of ours is done: where the toolkit's teardown can hang, end without it.
    if (app && app->TeardownCanHang()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}

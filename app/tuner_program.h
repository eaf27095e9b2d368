// The tuner's entry around a window host: the application, its main window and the message
// loop, with one lifecycle on every platform. The exit code is 0 in every case, also after an
// error has been shown.
//
// A host provides an Application (made on the UI thread; Run(), ShowException(message), and
// Ui(), a UiWaker with SetWakeHandler(std::function<void()>)) and a
// Window(skin::Form&) with Show(); and may say with TeardownCanHang() that destroying its
// Application can hang, when the program then ends without that.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <type_traits>

#include "app/form1_lifecycle.h"
#include "ui/tform1.h"

namespace tuner_program {

template <typename Window, typename Application> void RunTuner(Application& app) {
    TForm1 form;
    Window window(form);
    Form1Lifecycle lifecycle(form, app.Ui());
    app.Ui().SetWakeHandler([&lifecycle] { lifecycle.DeliverUpdates(); });
    // Goes first on every way out, so that no wake-up left pending reaches a lifecycle gone
    // (the error box runs a loop of its own).
    struct WakeHandlerReset {
        Application& app;
        ~WakeHandlerReset() { app.Ui().SetWakeHandler(nullptr); }
    } const resetWakeHandler{app};

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

// `create(app)` emplaces the application into the optional it is given; `reportWithoutApp`
// tells of an error raised before there was an application to show it.
template <typename Application, typename Window, typename Create, typename Report>
int Run(Create create, Report reportWithoutApp) {
    std::optional<Application> app;
    const auto report = [&](const char* message) {
        if (app) {
            app->ShowException(message);
        } else {
            reportWithoutApp(message);
        }
    };
    try {
        create(app);
        RunTuner<Window>(*app);
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("Unexpected error");
    }
    // Everything of ours is done: where the host's own teardown can hang, end without it.
    if constexpr (requires { app->TeardownCanHang(); }) {
        if (app && app->TeardownCanHang()) {
            std::fflush(nullptr);
            std::_Exit(0);
        }
    }
    return 0;
}

} // namespace tuner_program

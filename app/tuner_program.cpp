#include "app/tuner_program.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/form1_lifecycle.h"
#include "ui/tform1.h"

namespace tuner_program {

void Run(TunerHost& host) {
    try {
        TForm1 form(host.ArtScale());
        const std::unique_ptr<TunerWindow> window = host.MakeWindow(form);
        // Drains into the form through the host's waker until the worker goes, on every way
        // out: no wake-up left pending (the error box runs a loop of its own) reaches it gone.
        Form1Lifecycle lifecycle(form, host.Ui());
        lifecycle.FormCreate();
        if (lifecycle.CloseRequested()) {
            // Never shown: the loop only sees the close through, once it runs.
            form.Close();
        } else {
            window->Show();
        }
        host.Run();
        // The window is done with: stop the worker, then let its thread end and the device
        // close before the window and the application go, so nothing reaches either after.
        lifecycle.FormDestroy();
        lifecycle.JoinWorker();
    } catch (const std::exception& error) {
        host.ShowException(error.what());
    } catch (...) {
        host.ShowException("Unexpected error");
    }
    // Everything of ours is done: where the host's own teardown can hang, end without it.
    if (host.TeardownCanHang()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
}

} // namespace tuner_program

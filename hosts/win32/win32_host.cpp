#include "hosts/win32/win32_host.h"

#include <commctrl.h>

#include "hosts/win32/dpi_calls.h"
#include "hosts/win32/handler_errors.h"
#include "ui/tform1.h"

namespace win32_host {
namespace {

std::string_view CommonControlsReady(std::string_view title) {
    // The hint's tip control lives in common controls (version 6, by the manifest).
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    return title;
}

} // namespace

Application::Application(std::string_view title) : title_(CommonControlsReady(title)) {}

int Application::ArtScale() const {
    return skin::ArtScaleFor(static_cast<double>(SystemDpi()) / DpiScale::SkinDpi);
}

std::unique_ptr<TunerWindow> Application::MakeWindow(TForm1& form) {
    return std::make_unique<FormWindow>(form, &form.Access());
}

int Application::Run() {
    // An error caught before the loop (in a message box's loop, say) ends it at once.
    RethrowHandlerError();
    MSG message{};
    int code = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) {
            code = 1;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RethrowHandlerError();
    return code;
}

void Application::ShowException(std::string_view message) {
    ShowErrorBox(title_, message);
}

} // namespace win32_host

// The tuner's entry on Windows: the Win32 window host. The command line and the environment
// are not read.
#include "app/tuner_program.h"
#include "hosts/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return tuner_program::Run<win32_host::Application, win32_host::Window>(
        [](std::optional<win32_host::Application>& app) { app.emplace("Vibralon"); },
        [](const char* message) { win32_host::ShowErrorBox("Vibralon", message); });
}

// The tuner's entry on Windows: the Win32 window host. The command line and the environment
// are not read.
#include <exception>

#include "app/tuner_program.h"
#include "hosts/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        win32_host::Application app("Vibralon");
        tuner_program::Run(app);
    } catch (const std::exception& error) {
        win32_host::ShowErrorBox("Vibralon", error.what());
    } catch (...) {
        win32_host::ShowErrorBox("Vibralon", "Unexpected error");
    }
    return 0;
}

// The tuner's entry on Windows: the Win32 window host. The command line and the environment
// are not read.
#include "app/tuner_program.h"
#include "hosts/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        win32_host::Application app("Vibralon");
        tuner_program::Run(app);
    } catch (...) {
        win32_host::ShowErrorBox("Vibralon", tuner_program::CurrentError());
    }
    return 0;
}

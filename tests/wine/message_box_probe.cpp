// Windows: shows one message box exactly as the tuner shows its own (through the Win32 host, so
// widened to its caption), for the Wine test to compare the tuner's boxes with.
//
//   message_box_probe.exe CAPTION TEXT
#include <cstdlib>

#include "hosts/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3) {
        return 2;
    }
    win32_host::Application app("Vibralon");
    return MessageBoxA(nullptr, __argv[2], __argv[1], MB_OK) == IDOK ? 0 : 1;
}

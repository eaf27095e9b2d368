// Windows: shows one message box exactly as the tuner shows its own (through the Win32 host, so
// widened to its caption), for the Wine test to compare the tuner's boxes with. Given an owner
// (the title of another program's window), the box is that window's modal box: the window is
// disabled while it shows, as under any dialog opened over it.
//
//   message_box_probe.exe CAPTION TEXT [OWNER_TITLE]
#include <cstdlib>

#include "hosts/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3 && __argc != 4) {
        return 2;
    }
    const HWND owner = __argc == 4 ? FindWindowA(nullptr, __argv[3]) : nullptr;
    if (__argc == 4 && owner == nullptr) {
        return 3;
    }
    win32_host::Application app("Vibralon");
    return MessageBoxA(owner, __argv[2], __argv[1], MB_OK) == IDOK ? 0 : 1;
}

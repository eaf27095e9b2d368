// Shows one message box exactly as the tuner shows its own, for the end-to-end test to compare
// the tuner's boxes with pixel for pixel (the box's text cannot be read back from the screen).
//
//   message_box_probe CAPTION TEXT        a box of ours (MessageBoxA)
//   message_box_probe --exception TEXT    the toolkit's box for an error that reached the top
#include <cstdlib>
#include <string_view>

#include "hosts/qt/qt_host.h"
#include "platform/winapi.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    int qtArgc = 1;
    qt_host::Application app(qtArgc, argv, "Vibralon");
    int code = 0;
    if (std::string_view(argv[1]) == "--exception") {
        app.ShowException(argv[2]);
    } else {
        code = MessageBoxA(nullptr, argv[2], argv[1], MB_OK) == IDOK ? 0 : 1;
    }
    if (app.TeardownCanHang()) {
        std::_Exit(code);
    }
    return code;
}

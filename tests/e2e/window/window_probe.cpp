// Opens the tuner's window on a real display for the end-to-end test script: prints the window
// id once it is painted, dumps the composed client area, and prints every routed mouse event.
//
//   window_probe [--demo] [--dump FILE.ppm] [--message-box CAPTION]
//
// --demo        shows a reading (A, in tune, string A5 selected, lamp lit) before showing
// --dump        writes the form's composed client area as a binary PPM once painted
// --message-box after the window is up, shows an OK-only message box with that caption and
//               prints what it returned
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hosts/qt/qt_host.h"
#include "platform/winapi.h"
#include "tests/support/image/client_picture.h"
#include "tests/support/image/ppm_file.h"
#include "tests/support/routing/event_recorder.h"
#include "ui/tform1.h"

namespace {

void ShowDemoReading(TForm1& form) {
    form.Liste.Draw(form.Shape1, 16, 23, 9);
    form.Shape1.FillRect({80, 138, 84, 169}, skin::Rgb(64, 255, 64));
    form.A5.Hide();
    form.LA5.Show();
    form.Off.Hide();
    form.On.Show();
}

} // namespace

int main(int argc, char** argv) {
    bool demo = false;
    std::string dumpPath;
    std::string messageCaption;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) {
            dumpPath = argv[++i];
        } else if (std::strcmp(argv[i], "--message-box") == 0 && i + 1 < argc) {
            messageCaption = argv[++i];
        }
    }
    int qtArgc = 1;
    qt_host::Application app(qtArgc, argv, "Vibralon");
    TForm1 form;
    const test_routing::EventRecorder recorder(form, [](const test_routing::RoutedEvent& e) {
        std::printf("event %s\n", test_routing::ToString(e).c_str());
        std::fflush(stdout);
    });
    if (demo) {
        ShowDemoReading(form);
    }
    qt_host::Window window(form);
    window.Show();

    // The composition at the form's art scale, written whole (by renaming) so that a reader never
    // sees half a file. A window that learns its screen's scale late (a compositor's output scale
    // arrives after the first frame on a busy machine) changes size: it is written again then.
    skin::Size dumped{};
    const auto dump = [&] {
        const skin::RgbPixels picture = test_image::ClientPicture(form);
        if (dumpPath.empty() || picture.Dimensions() == dumped) {
            return;
        }
        const std::string part = dumpPath + ".part";
        if (!test_image::WritePpm(picture, part.c_str()) ||
            std::rename(part.c_str(), dumpPath.c_str()) != 0) {
            std::fprintf(stderr, "cannot write %s\n", dumpPath.c_str());
            return;
        }
        dumped = picture.Dimensions();
    };
    QTimer redump;
    QObject::connect(&redump, &QTimer::timeout, dump);
    // Once the window is on screen and painted: dump, announce, and maybe ask something.
    QTimer::singleShot(700, [&] {
        dump();
        redump.start(250);
        std::printf("ready %llu %d %d\n", window.NativeId(), form.Left(), form.Top());
        std::fflush(stdout);
        if (!messageCaption.empty()) {
            const int answer = MessageBoxA(nullptr, "", messageCaption.c_str(), MB_OK);
            std::printf("message box returned %d\n", answer);
            std::fflush(stdout);
            window.Close();
        }
    });
    const int code = app.Run();
    std::printf("exit %d\n", code);
    if (app.TeardownCanHang()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

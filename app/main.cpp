// The tuner's entry on Linux: the Qt window host.
#include <clocale>
#include <cstdio>

#include "app/skin_pages_posix.h"
#include "app/tuner_program.h"
#include "hosts/qt/qt_host.h"
#include "platform/posix/wavein/pulse/pulse_backend.h"

namespace {

// The Qt window, made once the form has decoded its bitmaps: from here on the skin files' own
// pages are not needed.
class TunerWindow : public qt_host::Window {
public:
    explicit TunerWindow(skin::Form& form) : qt_host::Window(form) { ReleaseEmbeddedSkinPages(); }
};

} // namespace

int main(int argc, char** argv) {
    // The locale Qt sets as it starts, set before the sound server's thread begins: that thread
    // reads the locale's name (for the connection's language), and setlocale() replacing the
    // name under it would race. Setting the same locale again later keeps the name as it is.
    std::setlocale(LC_ALL, "");
    // The sound server answers while Qt starts; the device checks come once the form is made.
    ConnectToSoundServerAhead();
    return tuner_program::Run<qt_host::Application, TunerWindow>(
        [&](std::optional<qt_host::Application>& app) { app.emplace(argc, argv, "Vibralon"); },
        [](const char* message) { std::fprintf(stderr, "Vibralon: %s\n", message); });
}

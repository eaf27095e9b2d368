// The tuner's entry on Linux: the Qt window host.
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/tuner_program.h"
#include "hosts/qt/qt_host.h"
#include "platform/linux/wavein/pulse/pulse_backend.h"

int main(int argc, char** argv) {
    // The locale Qt sets as it starts, set before the sound server's thread begins: that thread
    // reads the locale's name (for the connection's language), and setlocale() replacing the
    // name under it would race. Setting the same locale again later keeps the name as it is.
    std::setlocale(LC_ALL, "");
    SetDefaultWaveInBackend(PulseWaveInBackend());
    // The sound server answers while Qt starts; the device checks come once the form is made.
    ConnectToSoundServerAhead();
    try {
        qt_host::Application app(argc, argv, "Vibralon");
        tuner_program::Run(app);
    } catch (const std::exception& error) {
        // The application could not be made (Run shows its own errors): no box to show it in.
        std::fprintf(stderr, "Vibralon: %s\n", error.what());
    } catch (...) {
        std::fputs("Vibralon: Unexpected error\n", stderr);
    }
    return 0;
}

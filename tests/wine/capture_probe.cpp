// What wave input on Windows says of device 0, one fact a line, for the Wine capture test to
// judge (vibralon-listen.exe is what runs the capture itself). Console program.
//
//   capture_probe devices          devices N / capabilities R / query R (R: MMRESULT)
#include <cstdio>
#include <cstring>

#include "platform/winapi.h"
#include "worker/display.h"

namespace {

int Devices() {
    std::printf("devices %u\n", waveInGetNumDevs());
    WAVEINCAPSA caps{};
    std::printf("capabilities %u\n", waveInGetDevCapsA(0, &caps, sizeof caps));
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, Display::SampleRate, 2 * Display::SampleRate, 2, 16, 0};
    std::printf("query %u\n", waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY));
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: capture_probe devices\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "devices") == 0) {
        return Devices();
    }
    return Usage();
}

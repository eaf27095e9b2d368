// A machine without sound input: every entry is the core's default, so nothing opens.
#include "platform/linux/wavein/wave_in_backend.h"

namespace {

constexpr WaveInBackend nullBackend{.name = "none", .driverVersion = 0};

} // namespace

const WaveInBackend& NullWaveInBackend() {
    return nullBackend;
}

// A machine without sound input: no sources, so nothing opens.
#include "platform/posix/wavein/wave_in_backend.h"

namespace {

bool NoSources(std::vector<WaveInSource>&) {
    return false;
}
MMRESULT NoFormat(const WaveInSource&, const WAVEFORMATEX&) {
    return MMSYSERR_NODRIVER;
}
MMRESULT NoOpen(const WaveInSource&, const WAVEFORMATEX&, WaveInSink&, WaveInStream*&) {
    return MMSYSERR_NODRIVER;
}
void NoChange(WaveInStream*) {}
MMRESULT NoClose(WaveInStream*) {
    return MMSYSERR_NOERROR;
}

constexpr WaveInBackend nullBackend{.name = "none",
                                    .driverVersion = 0,
                                    .listSources = NoSources,
                                    .queryFormat = NoFormat,
                                    .open = NoOpen,
                                    .start = NoChange,
                                    .stop = NoChange,
                                    .close = NoClose,
                                    .observe = nullptr,
                                    .answered = nullptr};

} // namespace

const WaveInBackend& NullWaveInBackend() {
    return nullBackend;
}

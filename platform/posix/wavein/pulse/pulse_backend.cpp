#include "platform/posix/wavein/pulse/pulse_backend.h"

#include <memory>

#include <pulse/version.h>

#include "platform/posix/wavein/pulse/pulse_format.h"
#include "platform/posix/wavein/pulse/pulse_record_stream.h"
#include "platform/posix/wavein/pulse/pulse_sources.h"

namespace {

PulseRecordStream* StreamOf(WaveInStream* stream) {
    return reinterpret_cast<PulseRecordStream*>(stream);
}

// The server converts from whatever its source delivers.
MMRESULT QueryFormat(const WaveInSource&, const WAVEFORMATEX&) {
    return MMSYSERR_NOERROR;
}

MMRESULT Open(const WaveInSource& source, const WAVEFORMATEX& format, WaveInSink& sink,
              WaveInStream*& stream) {
    std::unique_ptr<PulseRecordStream> opened;
    const MMRESULT result =
        PulseRecordStream::Open(source.name, PulseSampleFormat(format), sink, opened);
    if (result == MMSYSERR_NOERROR) {
        stream = reinterpret_cast<WaveInStream*>(opened.release());
    }
    return result;
}

// The stream runs from open to close; the core keeps what arrives only while recording.
void Start(WaveInStream*) {}
void Stop(WaveInStream*) {}

MMRESULT Close(WaveInStream* stream) {
    delete StreamOf(stream);
    return MMSYSERR_NOERROR;
}

constexpr WaveInBackend pulseBackend{.name = "pulseaudio",
                                     .driverVersion = (PA_MAJOR << 8) | PA_MINOR,
                                     .listSources = ListPulseSources,
                                     .queryFormat = QueryFormat,
                                     .open = Open,
                                     .start = Start,
                                     .stop = Stop,
                                     .close = Close,
                                     .observe = nullptr,
                                     .answered = nullptr};

} // namespace

const WaveInBackend& PulseWaveInBackend() {
    return pulseBackend;
}

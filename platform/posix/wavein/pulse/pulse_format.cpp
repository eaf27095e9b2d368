#include "platform/posix/wavein/pulse/pulse_format.h"

pa_sample_spec PulseSampleFormat(const WAVEFORMATEX& format) {
    pa_sample_spec sampleFormat{};
    // Windows PCM: 8-bit samples are unsigned, 16-bit ones signed little-endian.
    sampleFormat.format = format.wBitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    sampleFormat.rate = format.nSamplesPerSec;
    sampleFormat.channels = static_cast<uint8_t>(format.nChannels);
    return sampleFormat;
}

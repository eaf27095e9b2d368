#include "platform/posix/wavein/pulse/pulse_format.h"

std::optional<pa_sample_spec> PulseSampleFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return std::nullopt;
    }
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) {
        return std::nullopt;
    }
    if (format.nChannels < 1 || format.nChannels > 2) {
        return std::nullopt;
    }
    if (format.nSamplesPerSec < 8000 || format.nSamplesPerSec > 48000) {
        return std::nullopt;
    }
    const unsigned frameBytes = format.nChannels * format.wBitsPerSample / 8u;
    if (format.nBlockAlign != frameBytes ||
        format.nAvgBytesPerSec != format.nSamplesPerSec * frameBytes) {
        return std::nullopt;
    }
    pa_sample_spec sampleFormat{};
    // Windows PCM: 8-bit samples are unsigned, 16-bit ones signed little-endian.
    sampleFormat.format = format.wBitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    sampleFormat.rate = format.nSamplesPerSec;
    sampleFormat.channels = static_cast<uint8_t>(format.nChannels);
    return sampleFormat;
}

#include "platform/linux/wavein/wave_in_format.h"

bool IsRecordableFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return false;
    }
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) {
        return false;
    }
    if (format.nChannels < 1 || format.nChannels > 2) {
        return false;
    }
    if (format.nSamplesPerSec < 8000 || format.nSamplesPerSec > 48000) {
        return false;
    }
    const unsigned frameBytes = format.nChannels * format.wBitsPerSample / 8u;
    return format.nBlockAlign == frameBytes &&
           format.nAvgBytesPerSec == format.nSamplesPerSec * frameBytes;
}

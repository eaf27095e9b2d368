// The 16-bit mono recorder.
#pragma once

#include "capture/recorder.h"

class RecorderM16 : public Recorder {
public:
    RecorderM16(int samplesPerBlock, int sampleRate);

    // Little-endian signed 16-bit at byte offset 2 * index, sign-extended.
    int GetSample(const char* data, int index) const override;
};

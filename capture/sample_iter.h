// A cursor over the samples of one completed block, decoded by the recorder that holds it.
#pragma once

#include "capture/recorder.h"

struct SampleIter {
    // Points at the recorder's current block; keep it across BlockDone, which moves current on.
    explicit SampleIter(const Recorder& source)
        : data(source.CurrentBlockData()), recorder(&source), index(0),
          count(source.SamplesPerBlock()) {}

    const char* data;
    const Recorder* recorder;
    int index;
    int count;
};

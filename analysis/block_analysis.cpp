#include "analysis/block_analysis.h"

int BlockFrequency(Fft& fft, SampleIter& iter) {
    fft.CopyIn(iter);
    fft.Transform();
    return fft.GetFrequency();
}

// What the tuner makes of one completed block, written once for the worker, the block scanner
// and the benchmark: copy it into the Fft, transform, take the peak and name its note.
#pragma once

#include "analysis/fft.h"
#include "analysis/identify_note.h"
#include "analysis/tuner_reading.h"

struct BlockAnalysis {
    int frequency; // the block's strongest frequency, whole hertz
    TunerReading reading;
};

// Copies the iterator's block into `fft`, transforms it and returns its peak frequency.
int BlockFrequency(Fft& fft, SampleIter& iter);

// The whole step. `selectedString` is called once, after the transform, for the string picked
// at that moment (-1 for none, else 0..5).
template <typename SelectedString>
BlockAnalysis AnalyseBlock(Fft& fft, SampleIter& iter, SelectedString&& selectedString) {
    const int frequency = BlockFrequency(fft, iter);
    return {frequency, IdentifyNote(frequency, selectedString())};
}

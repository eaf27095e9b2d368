// Names the note nearest a peak frequency, how far off it lies, and which way to tune.
#pragma once

#include "analysis/tuner_reading.h"

// The note table's entry nearest a frequency and the step it lies at, as a reading names them.
struct NoteMatch {
    static constexpr int NoNote = -1;
    static constexpr int StepsPerNote = 10; // a step is a tenth of a semitone

    int note = NoNote; // NoteTable index, octave included
    int step = 0;      // truncated toward zero, as the meter shows it
    // Steps from the table's first note: readings that differ by a semitone lie 10 apart.
    int Position() const { return note * StepsPerNote + step; }
};

NoteMatch MatchNote(int frequency);

// `selectedString` is -1 for none, else 0..5 (E6 A5 D4 G3 B2 E1). Pure; runs once per block.
TunerReading IdentifyNote(int frequency, int selectedString);

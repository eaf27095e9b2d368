// What one analysed block shows: the note frame, how far off it is, and which way to tune.
#pragma once

struct TunerReading {
    static constexpr int NoNoteFrame = 12;
    static constexpr int NoNoteStep = -6;

    int frame = NoNoteFrame; // 0..11 for C..B, 12 when no note was found
    int step = NoNoteStep;   // deviation truncated toward zero; -6 when no note
    int direction = 0;       // +1 tune up, -1 tune down, 0 none

    friend bool operator==(const TunerReading&, const TunerReading&) = default;
};

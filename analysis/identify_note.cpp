#include "analysis/identify_note.h"

#include "analysis/note_table.h"

namespace {

struct Match {
    int note = NoteMatch::NoNote;
    double deviation = 0.0;
};

// Between two neighbouring notes the frequency goes to the nearer one, the midpoint to the upper;
// the deviation is scaled so that half the gap counts as 5 steps.
Match FindNote(int frequency) {
    if (frequency < NoteTable[0].frequency) {
        return {};
    }
    for (int i = 0; i < NoteCount; ++i) {
        const int entry = NoteTable[i].frequency;
        if (entry == frequency) {
            return {i, 0.0};
        }
        if (entry < frequency) {
            continue;
        }
        const int lower = NoteTable[i - 1].frequency;
        const int half = (entry - lower) / 2;
        const int midpoint = lower + half;
        const double scale = 50.0 / half;
        const int note = midpoint > frequency ? i - 1 : i;
        const int difference = frequency - NoteTable[note].frequency;
        return {note, difference * scale * 0.1};
    }
    return {};
}

} // namespace

NoteMatch MatchNote(int frequency) {
    const Match match = FindNote(frequency);
    return {match.note, static_cast<int>(match.deviation)};
}

TunerReading IdentifyNote(int frequency, int selectedString) {
    const NoteMatch match = MatchNote(frequency);
    TunerReading reading;
    if (match.note == NoteMatch::NoNote) {
        return reading;
    }
    reading.frame = match.note % NotesPerOctave;
    reading.step = match.step;
    // The window only ever passes -1 or 0..5; the upper bound is a guard of ours against an
    // obvious fault (a string index past the six), which would otherwise read beyond
    // StringTargets. Any other value counts as no string selected.
    if (selectedString >= 0 && selectedString < StringCount) {
        const int target = StringTargets[selectedString];
        reading.direction = match.note < target ? 1 : (match.note > target ? -1 : 0);
    }
    return reading;
}

// The reading in words for a screen reader: the note, how far off, and which way to tune.
#pragma once

#include <string>

#include "analysis/tuner_reading.h"

namespace a11y {

// What a reading says, cheap to compare on every block: readings that read alike are equal.
struct Spoken {
    enum class Kind { NoNote, Note, NotListening };

    Kind kind = Kind::NoNote;
    int frame = 0;
    int step = 0;
    int direction = 0; // +1 tune up, -1 tune down, 0 none
    // The picked string's own note heard in another octave: `direction` then says which way
    // the string's note lies, and the words say "octave above" or "below" instead.
    bool otherOctave = false;

    friend bool operator==(const Spoken&, const Spoken&) = default;
};

// `selectedString` is the picked string, 0 (E6) to 5 (E1), or -1 for none.
Spoken Describe(const TunerReading& reading, int selectedString);
inline constexpr Spoken NotListening{Spoken::Kind::NotListening};

// "No note", "A, in tune", "C sharp, 2 flat", "A, 2 sharp, tune down", "A, 4 flat, octave
// above", "Not listening". Steps count meter bars from the middle one.
std::string Words(const Spoken& spoken);

} // namespace a11y

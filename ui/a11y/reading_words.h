// The reading in words for a screen reader: the note, how far off, and which way to tune.
#pragma once

#include <chrono>
#include <string>

#include "analysis/tuner_reading.h"
#include "platform/wavein/block_pace.h"

namespace a11y {

// What a reading says, cheap to compare on every block: readings that read alike are equal.
struct Spoken {
    enum class Kind { NoNote, Note, OfString, NotListening, Listening };

    Kind kind = Kind::NoNote;
    int frame = 0;
    // For OfString, how far the picked string lies from pitch, whichever partial was heard.
    int step = 0;
    int direction = 0; // +1 tune up, -1 tune down, 0 none
    // The picked string's own note heard in another octave: `direction` then says which way
    // the string's note lies, and the words say "octave above" or "below" instead.
    bool otherOctave = false;

    friend bool operator==(const Spoken&, const Spoken&) = default;
};

// `frequency` is the block's strongest frequency the reading was made from (0 when unknown);
// `selectedString` the picked string, 0 (E6) to 5 (E1), or -1 for none. With a string picked,
// a reading within a semitone of one of its partials speaks of the string alone.
Spoken Describe(const TunerReading& reading, int frequency, int selectedString);
// "Not listening" once no block has come for this long: the capture's own measure of silence.
inline constexpr std::chrono::seconds ListeningTimeout = block_pace::NoBlockTimeout;
inline constexpr Spoken NotListening{Spoken::Kind::NotListening};
inline constexpr Spoken Listening{Spoken::Kind::Listening};

// "No note", "A, in tune", "C sharp, 2 flat", "A, 2 sharp, tune down", "A, 4 flat, octave
// above", "in tune", "3 flat", "Not listening", "Listening". Steps count meter bars from the
// middle one.
std::string Words(const Spoken& spoken);

} // namespace a11y

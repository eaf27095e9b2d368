#include "ui/a11y/reading_words.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "analysis/note_table.h"

namespace a11y {

namespace {

// Spelt out: screen readers say "#" as "number" or "pound".
constexpr std::array<std::string_view, NotesPerOctave> NoteNames{
    "C", "C sharp", "D", "D sharp", "E", "F", "F sharp", "G", "G sharp", "A", "A sharp", "B",
};

} // namespace

Spoken Describe(const TunerReading& reading, int selectedString) {
    if (reading.frame < 0 || reading.frame >= NotesPerOctave) {
        return {};
    }
    Spoken spoken{Spoken::Kind::Note, reading.frame, reading.step, reading.direction};
    // The arrow compares whole notes, octave included: a string at pitch whose overtone an
    // octave up is heard shows "tune down". Said so, it would send the player the wrong way.
    if (selectedString >= 0 && selectedString < StringCount && reading.direction != 0 &&
        reading.frame == StringTargets[static_cast<std::size_t>(selectedString)] % NotesPerOctave) {
        spoken.otherOctave = true;
    }
    return spoken;
}

std::string Words(const Spoken& spoken) {
    switch (spoken.kind) {
    case Spoken::Kind::NoNote: return "No note";
    case Spoken::Kind::NotListening: return "Not listening";
    case Spoken::Kind::Note: break;
    }
    std::string words(NoteNames[static_cast<std::size_t>(spoken.frame)]);
    if (spoken.step == 0) {
        words += ", in tune";
    } else {
        words += ", " + std::to_string(std::abs(spoken.step));
        words += spoken.step > 0 ? " sharp" : " flat";
    }
    if (spoken.otherOctave) {
        // Heard above the string's note, the arrow says tune down.
        words += spoken.direction < 0 ? ", octave above" : ", octave below";
    } else if (spoken.direction > 0) {
        words += ", tune up";
    } else if (spoken.direction < 0) {
        words += ", tune down";
    }
    return words;
}

} // namespace a11y

#include "ui/a11y/reading_words.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "analysis/note_table.h"
#include "analysis/string_partials.h"

namespace a11y {

namespace {

// Spelt out: screen readers say "#" as "number" or "pound".
constexpr std::array<std::string_view, NotesPerOctave> NoteNames{
    "C", "C sharp", "D", "D sharp", "E", "F", "F sharp", "G", "G sharp", "A", "A sharp", "B",
};

// How far the string lies from pitch when `frequency` is one of its partials, within a
// semitone; none when it is no partial of the string's.
std::optional<int> OffsetOfString(int frequency, int string) {
    const NoteMatch match = MatchNote(frequency);
    if (match.note == NoteMatch::NoNote) {
        return std::nullopt;
    }
    const int position = match.Position();
    std::optional<int> nearest;
    for (const PartialReadings& partial : AtPitchReadings(string)) {
        const int offset = position < partial.lowest    ? position - partial.lowest
                           : position > partial.highest ? position - partial.highest
                                                        : 0;
        if (std::abs(offset) <= NoteMatch::StepsPerNote &&
            (!nearest || std::abs(offset) < std::abs(*nearest))) {
            nearest = offset;
        }
    }
    return nearest;
}

} // namespace

Spoken Describe(const TunerReading& reading, int frequency, int selectedString) {
    if (reading.frame < 0 || reading.frame >= NotesPerOctave) {
        return {};
    }
    const bool picked = selectedString >= 0 && selectedString < StringCount;
    // Overtones read as other notes, with an arrow that points away from the string's pitch:
    // what the player needs is how far the string itself is off.
    if (const auto offset =
            picked && frequency > 0 ? OffsetOfString(frequency, selectedString) : std::nullopt) {
        return {Spoken::Kind::OfString, 0, *offset};
    }
    Spoken spoken{Spoken::Kind::Note, reading.frame, reading.step, reading.direction};
    // The arrow compares whole notes, octave included: a string at pitch whose overtone an
    // octave up is heard shows "tune down". Said so, it would send the player the wrong way.
    if (picked && reading.direction != 0 &&
        reading.frame == StringTargets[static_cast<std::size_t>(selectedString)] % NotesPerOctave) {
        spoken.otherOctave = true;
    }
    return spoken;
}

std::string Words(const Spoken& spoken) {
    switch (spoken.kind) {
    case Spoken::Kind::NoNote: return "No note";
    case Spoken::Kind::NotListening: return "Not listening";
    case Spoken::Kind::Listening: return "Listening";
    case Spoken::Kind::OfString:
    case Spoken::Kind::Note: break;
    }
    // Flat and sharp alone tell a guitarist which way to turn.
    std::string offset = spoken.step == 0 ? std::string("in tune")
                                          : std::to_string(std::abs(spoken.step)) +
                                                (spoken.step > 0 ? " sharp" : " flat");
    if (spoken.kind == Spoken::Kind::OfString) {
        return offset;
    }
    std::string words =
        std::string(NoteNames[static_cast<std::size_t>(spoken.frame)]) + ", " + offset;
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

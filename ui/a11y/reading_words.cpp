#include "ui/a11y/reading_words.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace a11y {

namespace {

// Spelt out: screen readers say "#" as "number" or "pound".
constexpr std::array<std::string_view, 12> NoteNames{
    "C", "C sharp", "D", "D sharp", "E", "F", "F sharp", "G", "G sharp", "A", "A sharp", "B",
};

bool HasNote(const TunerReading& reading) {
    return reading.frame >= 0 && reading.frame < static_cast<int>(NoteNames.size());
}

} // namespace

std::string ReadingWords(const TunerReading& reading) {
    if (!HasNote(reading)) {
        return "No note";
    }
    std::string words(NoteNames[static_cast<std::size_t>(reading.frame)]);
    if (reading.step == 0) {
        words += ", in tune";
    } else {
        words += ", " + std::to_string(std::abs(reading.step));
        words += reading.step > 0 ? " sharp" : " flat";
    }
    if (reading.direction > 0) {
        words += ", tune up";
    } else if (reading.direction < 0) {
        words += ", tune down";
    }
    return words;
}

bool SameWords(const TunerReading& a, const TunerReading& b) {
    if (!HasNote(a) || !HasNote(b)) {
        return HasNote(a) == HasNote(b);
    }
    return a == b;
}

} // namespace a11y

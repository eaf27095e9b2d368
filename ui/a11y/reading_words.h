// The reading in words for a screen reader: the note, how far off, and which way to tune.
#pragma once

#include <string>

#include "analysis/tuner_reading.h"

namespace a11y {

// "No note", "A, in tune", "C sharp, 2 flat", "A, 2 sharp, tune down". Steps count meter bars
// from the middle one; the direction is only ever set while a string is picked.
std::string ReadingWords(const TunerReading& reading);

// Whether two readings read alike: every reading without a note is the same "No note".
bool SameWords(const TunerReading& a, const TunerReading& b);

} // namespace a11y

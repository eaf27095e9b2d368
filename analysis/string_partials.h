// What the tuner reads for a guitar string at pitch, partial by partial. The strongest bin of a
// string is often an overtone, and a string at pitch need not read "step 0" on any of them (the
// low E's target lies between two bins), so "in tune" is whatever the analysis itself makes of
// exact tones a few cents either side of each partial.
#pragma once

#include <vector>

#include "analysis/identify_note.h"

// One partial of a string at pitch, as NoteMatch positions: a string within a few cents of
// pitch reads from `lowest` to `highest` (two readings where a bin boundary lies there).
struct PartialReadings {
    int multiple; // of the string's target frequency, in halves: 2 is the target itself
    int lowest;
    int highest;
};

// How far from pitch, in cents, a string still counts as in tune.
inline constexpr double InTuneCents = 3.0;

// The partials of string 0..5 (E6 A5 D4 G3 B2 E1) that the tuner can name, lowest first: the
// target's first six multiples, and for the low E, whose target is its second partial, its
// fundamental too. Worked out once, at the first call, through the tuner's own transform and
// note table; empty for a string outside 0..5.
const std::vector<PartialReadings>& AtPitchReadings(int string);

// The target frequency of string 0..5 in equal temperament (A = 440 Hz), in hertz.
double TargetFrequency(int string);

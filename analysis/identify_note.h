// Names the note nearest a peak frequency, how far off it lies, and which way to tune.
#pragma once

#include "analysis/tuner_reading.h"

// `selectedString` is -1 for none, else 0..5 (E6 A5 D4 G3 B2 E1). Pure; runs once per block.
TunerReading IdentifyNote(int frequency, int selectedString);

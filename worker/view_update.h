// One change the worker asks of the window: the lamp, or a reading.
#pragma once

#include "analysis/tuner_reading.h"

struct ViewUpdate {
    enum class Kind : unsigned char { Lamp, Reading };

    Kind kind = Kind::Lamp;
    bool lit = false;       // Lamp
    TunerReading reading{}; // Reading
};

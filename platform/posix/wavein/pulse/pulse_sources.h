// The capture sources the sound server offers, as wave-input devices: device 0 is the server's
// default source (its name left empty: the server picks it), the others follow in the server's
// order.
#pragma once

#include <vector>

#include "platform/posix/wavein/wave_in_backend.h"

// False when no server answered in time; an empty list when it has no source.
bool ListPulseSources(std::vector<WaveInSource>& sources);

// The wave-input back end over the PulseAudio client library (PipeWire desktops serve it too).
#pragma once

#include "platform/posix/wavein/wave_in_driver.h"

const WaveInDriver& PulseWaveInDriver();

// What a sound-server failure means to a wave-input caller.
#pragma once

#include "platform/winapi.h"

// Maps a PulseAudio error code (PA_ERR_...) to the wave-input result code we report.
MMRESULT WaveInResultFromPulse(int pulseError);

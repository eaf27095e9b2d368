// The wave-input back end over the PulseAudio client library (PipeWire desktops serve it too):
// sources are the server's, each open device one record stream on the shared connection.
#pragma once

#include "platform/posix/wavein/wave_in_backend.h"

const WaveInBackend& PulseWaveInBackend();

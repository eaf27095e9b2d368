// The wave-input back end over the PulseAudio client library (PipeWire desktops serve it too):
// device 0 is the server's default source, the others follow in the server's order, and each
// open device is one record stream on the program's one connection.
#pragma once

#include "platform/linux/wavein/wave_in_backend.h"

const WaveInBackend& PulseWaveInBackend();

// Returns at once, having started a thread that loads the client library, connects and lists
// the sources while the rest of start-up goes on (the window system's connection, the
// pictures): the first wave-input call then finds the connection made and the first listing
// taken, or waits only for what is left of them, never longer than it would have waited
// anyway. Never asked for, it ends with the program.
void ConnectToSoundServerAhead();

// The one connection the program keeps to the sound server: the start-up checks, the format
// query and the record stream all go through it, rather than each connecting anew.
#pragma once

#include <memory>

#include "platform/posix/wavein/pulse/pulse_session.h"

// The connection, made now when there is none or the one there was has failed; null when no
// server answered in time, with the PulseAudio error code in `error`.
std::shared_ptr<PulseSession> SharedPulseSession(int& error);

// Compiled into every program that links the sound-server back end (an interface source of
// vibralon_wavein_pulse): such a program records from the sound server unless a test selects
// another back end.
#include "platform/posix/wavein/pulse/pulse_backend.h"

namespace {

[[maybe_unused]] const bool pulseIsDefault = SetDefaultWaveInBackend(PulseWaveInBackend());

} // namespace

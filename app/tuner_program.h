// The tuner's lifecycle on any window host, the same on every platform.
#pragma once

#include "ui/tuner_host.h"

namespace tuner_program {

// The form at the host's art scale and its window, the start-up checks, the loop and the
// worker's end, any error shown by the host. Where the host's teardown can hang, the program
// ends here (exit code 0) instead of returning.
void Run(TunerHost& host);

} // namespace tuner_program

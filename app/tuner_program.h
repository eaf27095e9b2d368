// The tuner's lifecycle on any window host, the same on every platform.
#pragma once

#include "ui/tuner_host.h"

namespace tuner_program {

// Makes the form at the host's art scale and its window, runs the start-up checks, shows the
// window (or closes it when a check failed), runs the loop, then stops the worker. An error
// on the way is shown by the host. Where the host's teardown can hang, the program ends here
// with exit code 0 instead of returning.
void Run(TunerHost& host);

// In a catch handler only: the message of the exception being handled.
const char* CurrentError();

} // namespace tuner_program

// How a wave format translates to the sound server's sample format.
#pragma once

#include <pulse/sample.h>

#include "platform/winapi.h"

// `format` is one the wave-input core accepts (8- or 16-bit PCM, one or two channels).
pa_sample_spec PulseSampleFormat(const WAVEFORMATEX& format);

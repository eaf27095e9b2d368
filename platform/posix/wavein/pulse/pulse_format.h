// Which wave formats the sound server records for us, and how they translate.
#pragma once

#include <optional>

#include <pulse/sample.h>

#include "platform/winapi.h"

// PCM, 8- or 16-bit, one or two channels, 8000 to 48000 Hz, with consistent block alignment and
// byte rate: the server converts from whatever its source delivers. Anything else: empty.
std::optional<pa_sample_spec> PulseSampleFormat(const WAVEFORMATEX& format);

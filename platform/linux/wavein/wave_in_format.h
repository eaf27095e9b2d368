// Which wave formats wave input records here.
#pragma once

#include "platform/winapi.h"

// PCM, 8- or 16-bit, one or two channels, 8000 to 48000 Hz, with consistent block alignment and
// byte rate: every back end converts from whatever its source delivers.
bool IsRecordableFormat(const WAVEFORMATEX& format);

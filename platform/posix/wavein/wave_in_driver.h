// A wave-input back end: one table of functions, in the shape of the Windows calls. The
// waveIn... functions of winapi.h forward to the selected back end.
#pragma once

#include "platform/winapi.h"

struct WaveInDriver {
    using OpenFunction = MMRESULT(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format,
                                  DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    using HeaderFunction = MMRESULT(HWAVEIN handle, LPWAVEHDR header, UINT size);
    using HandleFunction = MMRESULT(HWAVEIN handle);

    const char* name;
    UINT (*getNumDevs)();
    MMRESULT (*getDevCaps)(UINT_PTR device, LPWAVEINCAPSA caps, UINT size);
    OpenFunction* open;
    HeaderFunction* prepareHeader;
    HeaderFunction* unprepareHeader;
    HeaderFunction* addBuffer;
    HandleFunction* start;
    HandleFunction* stop;
    HandleFunction* reset;
    HandleFunction* close;
};

// The back end used when none is selected: the platform's sound server.
const WaveInDriver& DefaultWaveInDriver();
// A back end with no devices at all.
const WaveInDriver& NullWaveInDriver();

// Selects the back end behind waveIn...; nullptr selects the default. Returns the previous one.
// Select before any device is opened.
const WaveInDriver* SelectWaveInDriver(const WaveInDriver* driver);
const WaveInDriver& CurrentWaveInDriver();

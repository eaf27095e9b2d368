// A wave-input back end: one table of functions, in the shape of the Windows calls. The
// waveIn... functions of winapi.h forward to the selected back end.
#pragma once

#include "platform/win32/winapi.h"

struct WaveInDriver {
    const char* name;
    UINT (*getNumDevs)();
    MMRESULT (*getDevCaps)(UINT_PTR device, LPWAVEINCAPSA caps, UINT size);
    MMRESULT (*open)
    (LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
     DWORD flags);
    MMRESULT (*prepareHeader)(HWAVEIN handle, LPWAVEHDR header, UINT size);
    MMRESULT (*unprepareHeader)(HWAVEIN handle, LPWAVEHDR header, UINT size);
    MMRESULT (*addBuffer)(HWAVEIN handle, LPWAVEHDR header, UINT size);
    MMRESULT (*start)(HWAVEIN handle);
    MMRESULT (*stop)(HWAVEIN handle);
    MMRESULT (*reset)(HWAVEIN handle);
    MMRESULT (*close)(HWAVEIN handle);
};

// The back end used when none is selected: the platform's sound server.
const WaveInDriver& DefaultWaveInDriver();
// A back end with no devices at all.
const WaveInDriver& NullWaveInDriver();

// Selects the back end behind waveIn...; nullptr selects the default. Returns the previous one.
// Select before any device is opened.
const WaveInDriver* SelectWaveInDriver(const WaveInDriver* driver);
const WaveInDriver& CurrentWaveInDriver();

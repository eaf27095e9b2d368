// The wave-input calls on an open device, answered by our layer over the system's winmm (see
// kept_device.h). On Windows, platform/winapi.h gives these the Windows names for the portable
// code; the calls that need no open device (the count, the capabilities, the error texts) stay
// the system's own.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h first: mmsystem.h needs its types.
#include <windows.h>

#include <mmsystem.h>

MMRESULT KeptWaveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                        DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT KeptWaveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT KeptWaveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT KeptWaveInAddBuffer(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT KeptWaveInStart(HWAVEIN hwi);
MMRESULT KeptWaveInReset(HWAVEIN hwi);
MMRESULT KeptWaveInClose(HWAVEIN hwi);

// A machine without sound input: no devices, nothing opens.
#include "platform/posix/wavein/wave_in_driver.h"

namespace {

UINT NoDevices() {
    return 0;
}
MMRESULT NoCaps(UINT_PTR, LPWAVEINCAPSA, UINT) {
    return MMSYSERR_BADDEVICEID;
}
MMRESULT NoOpen(LPHWAVEIN, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) {
    return MMSYSERR_BADDEVICEID;
}
MMRESULT NoHeader(HWAVEIN, LPWAVEHDR, UINT) {
    return MMSYSERR_INVALHANDLE;
}
MMRESULT NoHandle(HWAVEIN) {
    return MMSYSERR_INVALHANDLE;
}

constexpr WaveInDriver nullDriver{"none",   NoDevices, NoCaps,   NoOpen,   NoHeader, NoHeader,
                                  NoHeader, NoHandle,  NoHandle, NoHandle, NoHandle};

} // namespace

const WaveInDriver& NullWaveInDriver() {
    return nullDriver;
}

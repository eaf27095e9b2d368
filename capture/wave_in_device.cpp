#include "capture/wave_in_device.h"

WaveInDevice::~WaveInDevice() {
    // Only a device still open (a close that failed earlier) needs shutting here.
    if (status == MMSYSERR_NOERROR) {
        waveInReset(handle);
        waveInClose(handle);
    }
}

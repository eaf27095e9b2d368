// The open: the checks every layer makes, and each device opened a KeptDevice. The calls on an
// open device are the ones every layer shares (platform/wavein/open_devices.cpp).
#include "platform/win32/wavein/kept_wave_in.h"

#include <memory>

#include "platform/win32/wavein/kept_device.h"

MMRESULT KeptWaveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                        DWORD_PTR, DWORD fdwOpen) {
    if (const MMRESULT checked =
            open_devices::CheckOpen(phwi, pwfx, dwCallback, fdwOpen, WAVE_OPEN_AWAIT_DEVICE);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    const DWORD flags = fdwOpen & ~WAVE_OPEN_AWAIT_DEVICE;
    if (flags & WAVE_FORMAT_QUERY) {
        return RealWaveIn::Query(uDeviceID, *pwfx, flags);
    }
    const HANDLE event = (flags & CALLBACK_TYPEMASK) == CALLBACK_EVENT
                             ? reinterpret_cast<HANDLE>(dwCallback)
                             : nullptr;
    std::shared_ptr<KeptDevice> device;
    const MMRESULT opened =
        KeptDevice::Open(uDeviceID, *pwfx, event, (fdwOpen & WAVE_OPEN_AWAIT_DEVICE) != 0, device);
    if (opened != MMSYSERR_NOERROR) {
        return opened;
    }
    *phwi = open_devices::Add(std::move(device));
    return MMSYSERR_NOERROR;
}

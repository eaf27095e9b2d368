// The open: its argument checks, and each device opened a KeptDevice. The calls on an open
// device are the ones every layer shares (platform/wavein/open_devices.cpp).
#include "platform/win32/wavein/kept_wave_in.h"

#include <memory>

#include "platform/win32/wavein/kept_device.h"

namespace {

constexpr DWORD CallbackTypeMask = 0x00070000;

} // namespace

MMRESULT KeptWaveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                        DWORD_PTR, DWORD fdwOpen) {
    if (pwfx == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const DWORD flags = fdwOpen & ~WAVE_OPEN_AWAIT_DEVICE;
    if (flags & WAVE_FORMAT_QUERY) {
        return RealWaveIn::Query(uDeviceID, *pwfx, flags);
    }
    // Only the callbacks the portable code uses: an event, or none.
    const DWORD callbackType = flags & CallbackTypeMask;
    if (flags != callbackType ||
        (callbackType != CALLBACK_EVENT && callbackType != CALLBACK_NULL)) {
        return MMSYSERR_INVALFLAG;
    }
    if (phwi == nullptr || (callbackType == CALLBACK_EVENT && dwCallback == 0)) {
        return MMSYSERR_INVALPARAM;
    }
    const HANDLE event =
        callbackType == CALLBACK_EVENT ? reinterpret_cast<HANDLE>(dwCallback) : nullptr;
    std::shared_ptr<KeptDevice> device;
    const MMRESULT opened =
        KeptDevice::Open(uDeviceID, *pwfx, event, (fdwOpen & WAVE_OPEN_AWAIT_DEVICE) != 0, device);
    if (opened != MMSYSERR_NOERROR) {
        return opened;
    }
    *phwi = open_devices::Add(std::move(device));
    return MMSYSERR_NOERROR;
}

// The entry points: argument checks and the handles we gave out; each open device is a
// KeptDevice.
#include "platform/win32/wavein/kept_wave_in.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/win32/wavein/kept_device.h"

namespace {

constexpr DWORD CallbackTypeMask = 0x00070000;

// Handles we gave out and have not closed, so that a stale or foreign one is refused rather
// than followed. Shared ownership: a call in progress keeps its device alive.
std::mutex registryMutex;
std::map<HWAVEIN, std::shared_ptr<KeptDevice>> registry;

std::shared_ptr<KeptDevice> Find(HWAVEIN handle) {
    std::lock_guard lock(registryMutex);
    const auto found = registry.find(handle);
    return found != registry.end() ? found->second : nullptr;
}

template <typename Action> MMRESULT OnDevice(HWAVEIN handle, Action action) {
    const std::shared_ptr<KeptDevice> device = Find(handle);
    return device != nullptr ? action(*device) : MMSYSERR_INVALHANDLE;
}

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
    const auto handle = reinterpret_cast<HWAVEIN>(device.get());
    {
        std::lock_guard lock(registryMutex);
        registry.emplace(handle, std::move(device));
    }
    *phwi = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT KeptWaveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](KeptDevice& device) { return device.Queue().Prepare(pwh, cbwh); });
}

MMRESULT KeptWaveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](KeptDevice& device) { return device.Queue().Unprepare(pwh, cbwh); });
}

MMRESULT KeptWaveInAddBuffer(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](KeptDevice& device) { return device.Queue().Add(pwh, cbwh); });
}

MMRESULT KeptWaveInStart(HWAVEIN hwi) {
    return OnDevice(hwi, [](KeptDevice& device) {
        device.Start();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT KeptWaveInReset(HWAVEIN hwi) {
    return OnDevice(hwi, [](KeptDevice& device) {
        device.Reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT KeptWaveInClose(HWAVEIN hwi) {
    return OnDevice(hwi, [hwi](KeptDevice& device) {
        const MMRESULT closed = device.Close();
        if (closed == MMSYSERR_NOERROR) {
            std::lock_guard lock(registryMutex);
            registry.erase(hwi);
        }
        return closed;
    });
}

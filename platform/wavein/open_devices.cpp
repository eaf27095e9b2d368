#include "platform/wavein/open_devices.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace {

std::mutex devicesMutex;
std::map<HWAVEIN, std::shared_ptr<OpenDevice>> devices;
// The number the next handle is made of. Never reused, so a handle kept after its close can
// never reach a device opened later, even one that lands at the same address.
std::uintptr_t nextHandle = 1;

template <typename Action> MMRESULT OnDevice(HWAVEIN handle, Action action) {
    std::shared_ptr<OpenDevice> device;
    {
        std::lock_guard lock(devicesMutex);
        const auto found = devices.find(handle);
        if (found != devices.end()) {
            device = found->second;
        }
    }
    return device != nullptr ? action(*device) : MMSYSERR_INVALHANDLE;
}

} // namespace

namespace open_devices {

MMRESULT CheckOpen(LPHWAVEIN handle, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD flags,
                   DWORD layerFlags) {
    if (format == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if ((flags & ~(CALLBACK_TYPEMASK | WAVE_FORMAT_QUERY | layerFlags)) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if ((flags & WAVE_FORMAT_QUERY) != 0) {
        return MMSYSERR_NOERROR;
    }
    const DWORD callbackType = flags & CALLBACK_TYPEMASK;
    if (callbackType != CALLBACK_EVENT && callbackType != CALLBACK_NULL) {
        return MMSYSERR_INVALFLAG;
    }
    if (handle == nullptr || (callbackType == CALLBACK_EVENT && callback == 0)) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

HWAVEIN Add(std::shared_ptr<OpenDevice> device) {
    std::lock_guard lock(devicesMutex);
    const auto handle = reinterpret_cast<HWAVEIN>(nextHandle++);
    devices.emplace(handle, std::move(device));
    return handle;
}

void Remove(HWAVEIN handle) {
    std::lock_guard lock(devicesMutex);
    devices.erase(handle);
}

} // namespace open_devices

// On Windows platform/winapi.h names these our layer's (KeptWaveIn...) in place of winmm's.
MMRESULT waveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](OpenDevice& device) { return device.Queue().Prepare(pwh, cbwh); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](OpenDevice& device) { return device.Queue().Unprepare(pwh, cbwh); });
}

MMRESULT waveInAddBuffer(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh) {
    return OnDevice(hwi, [&](OpenDevice& device) { return device.Queue().Add(pwh, cbwh); });
}

MMRESULT waveInStart(HWAVEIN hwi) {
    return OnDevice(hwi, [](OpenDevice& device) {
        device.Start();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT waveInReset(HWAVEIN hwi) {
    return OnDevice(hwi, [](OpenDevice& device) {
        device.Reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT waveInClose(HWAVEIN hwi) {
    return OnDevice(hwi, [hwi](OpenDevice& device) {
        const MMRESULT closed = device.Close();
        if (closed == MMSYSERR_NOERROR) {
            open_devices::Remove(hwi);
        }
        return closed;
    });
}

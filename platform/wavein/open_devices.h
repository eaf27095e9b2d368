// The devices a wave-input layer has opened and not closed, by the handles it gave out, and the
// calls on them that every layer answers alike: a stale or foreign handle is refused rather
// than followed. Shared ownership: a call in progress keeps its device alive. `Device` has
// Queue() (a BlockQueue), Start(), Reset() and Close().
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/winapi.h"

template <typename Device> class OpenDevices {
public:
    // The handle is the device's address: unique while it is open.
    HWAVEIN Add(std::shared_ptr<Device> device) {
        const auto handle = reinterpret_cast<HWAVEIN>(device.get());
        std::lock_guard lock(mutex_);
        devices_.emplace(handle, std::move(device));
        return handle;
    }
    void Remove(HWAVEIN handle) {
        std::lock_guard lock(mutex_);
        devices_.erase(handle);
    }

    MMRESULT Prepare(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        return On(handle, [&](Device& device) { return device.Queue().Prepare(header, size); });
    }
    MMRESULT Unprepare(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        return On(handle, [&](Device& device) { return device.Queue().Unprepare(header, size); });
    }
    MMRESULT AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        return On(handle, [&](Device& device) { return device.Queue().Add(header, size); });
    }
    MMRESULT Start(HWAVEIN handle) {
        return On(handle, [](Device& device) {
            device.Start();
            return MMSYSERR_NOERROR;
        });
    }
    MMRESULT Reset(HWAVEIN handle) {
        return On(handle, [](Device& device) {
            device.Reset();
            return MMSYSERR_NOERROR;
        });
    }
    // The handle is let go once its device closed.
    MMRESULT Close(HWAVEIN handle) {
        return On(handle, [&](Device& device) {
            const MMRESULT closed = device.Close();
            if (closed == MMSYSERR_NOERROR) {
                Remove(handle);
            }
            return closed;
        });
    }

private:
    template <typename Action> MMRESULT On(HWAVEIN handle, Action action) {
        std::shared_ptr<Device> device;
        {
            std::lock_guard lock(mutex_);
            const auto found = devices_.find(handle);
            if (found != devices_.end()) {
                device = found->second;
            }
        }
        return device != nullptr ? action(*device) : MMSYSERR_INVALHANDLE;
    }

    std::mutex mutex_;
    std::map<HWAVEIN, std::shared_ptr<Device>> devices_;
};

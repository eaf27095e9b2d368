// The wave-input device handle and the result of its last open.
#pragma once

#include "platform/winapi.h"

struct WaveInDevice {
    // Status of a device that is not open; 0 means open, anything else is a failed open's code.
    static constexpr MMRESULT NotOpen = 2;

    WaveInDevice() = default;
    ~WaveInDevice();
    WaveInDevice(const WaveInDevice&) = delete;
    WaveInDevice& operator=(const WaveInDevice&) = delete;

    HWAVEIN handle{};
    MMRESULT status = NotOpen;
};

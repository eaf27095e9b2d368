#include "fake_wave_in.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

FakeWaveIn* current = nullptr;
// Any non-null value: the fake has one device.
HWAVEIN const fakeHandle = reinterpret_cast<HWAVEIN>(static_cast<std::uintptr_t>(0x5a));

constexpr WaveInDriver fakeDriver{
    "fake",
    FakeWaveIn::NumDevs,
    FakeWaveIn::DevCaps,
    FakeWaveIn::Open,
    FakeWaveIn::Prepare,
    FakeWaveIn::Unprepare,
    FakeWaveIn::AddBuffer,
    FakeWaveIn::StartDevice,
    FakeWaveIn::StopDevice,
    FakeWaveIn::Reset,
    FakeWaveIn::Close,
};

} // namespace

FakeWaveIn::FakeWaveIn() : previous_(SelectWaveInDriver(&fakeDriver)) {
    current = this;
}

FakeWaveIn::~FakeWaveIn() {
    SelectWaveInDriver(previous_);
    current = nullptr;
}

// The recorder reads the done bit from the worker thread through an atomic view; the fake
// writes it the same way, after the block's bytes, as a device would.
void FakeWaveIn::SetFlags(WAVEHDR& header, DWORD flags) {
    std::atomic_ref<DWORD>(header.dwFlags).store(flags, std::memory_order_release);
}

DWORD FakeWaveIn::Flags(const WAVEHDR& header) {
    return std::atomic_ref<DWORD>(const_cast<DWORD&>(header.dwFlags))
        .load(std::memory_order_acquire);
}

bool FakeWaveIn::CompleteBlock(double hertz, bool signal) {
    HANDLE event = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (count_ == 0) {
            return false;
        }
        WAVEHDR& header = *queue_[first_];
        PopFront();
        const int samples = static_cast<int>(header.dwBufferLength / 2);
        auto* bytes = reinterpret_cast<unsigned char*>(header.lpData);
        for (int n = 0; n < samples; ++n, ++phase_) {
            const double angle =
                2.0 * std::numbers::pi * hertz * static_cast<double>(phase_) / 11025.0;
            const auto value = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(angle)));
            const auto bits = static_cast<std::uint16_t>(value);
            bytes[2 * n] = static_cast<unsigned char>(bits & 0xFF);
            bytes[2 * n + 1] = static_cast<unsigned char>(bits >> 8);
        }
        header.dwBytesRecorded = header.dwBufferLength;
        SetFlags(header, (Flags(header) & ~WHDR_INQUEUE) | WHDR_DONE);
        event = event_;
    }
    if (signal) {
        SetEvent(event);
    }
    return true;
}

void FakeWaveIn::Signal() {
    std::lock_guard lock(mutex_);
    SetEvent(event_);
}

bool FakeWaveIn::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

int FakeWaveIn::Queued() const {
    std::lock_guard lock(mutex_);
    return count_;
}

int FakeWaveIn::Unprepares() const {
    std::lock_guard lock(mutex_);
    return unprepares_;
}

void FakeWaveIn::PopFront() {
    first_ = (first_ + 1) % MaxQueued;
    --count_;
}

UINT FakeWaveIn::NumDevs() {
    return 1;
}

MMRESULT FakeWaveIn::DevCaps(UINT_PTR device, LPWAVEINCAPSA caps, UINT) {
    if (device != 0 || caps == nullptr) {
        return MMSYSERR_BADDEVICEID;
    }
    *caps = WAVEINCAPSA{};
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::Open(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX, DWORD_PTR callback,
                          DWORD_PTR, DWORD flags) {
    if (device != 0) {
        return MMSYSERR_BADDEVICEID;
    }
    if (flags & WAVE_FORMAT_QUERY) {
        return MMSYSERR_NOERROR;
    }
    std::lock_guard lock(current->mutex_);
    if (current->open_) {
        return MMSYSERR_ALLOCATED;
    }
    current->open_ = true;
    current->event_ = reinterpret_cast<HANDLE>(callback);
    *handle = fakeHandle;
    // The device announces its opening, with no block done.
    SetEvent(current->event_);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::Prepare(HWAVEIN, LPWAVEHDR header, UINT) {
    std::lock_guard lock(current->mutex_);
    SetFlags(*header, Flags(*header) | WHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::Unprepare(HWAVEIN, LPWAVEHDR header, UINT) {
    std::lock_guard lock(current->mutex_);
    SetFlags(*header, Flags(*header) & ~WHDR_PREPARED);
    ++current->unprepares_;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::AddBuffer(HWAVEIN, LPWAVEHDR header, UINT) {
    std::lock_guard lock(current->mutex_);
    if (current->count_ == MaxQueued) {
        return MMSYSERR_NOMEM;
    }
    SetFlags(*header, (Flags(*header) & ~WHDR_DONE) | WHDR_INQUEUE);
    current->queue_[(current->first_ + current->count_) % MaxQueued] = header;
    ++current->count_;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::StartDevice(HWAVEIN) {
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::StopDevice(HWAVEIN) {
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::Reset(HWAVEIN) {
    std::lock_guard lock(current->mutex_);
    // Every queued block comes back marked done, as from the real layer.
    while (current->count_ > 0) {
        WAVEHDR& header = *current->queue_[current->first_];
        SetFlags(header, (Flags(header) & ~WHDR_INQUEUE) | WHDR_DONE);
        current->PopFront();
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveIn::Close(HWAVEIN) {
    std::lock_guard lock(current->mutex_);
    current->open_ = false;
    // Closing sets the event once more.
    SetEvent(current->event_);
    return MMSYSERR_NOERROR;
}

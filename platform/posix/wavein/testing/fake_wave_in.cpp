#include "platform/posix/wavein/testing/fake_wave_in.h"

#include <atomic>
#include <cassert>
#include <utility>
#include <vector>

namespace wavein_testing {
namespace {

std::atomic<FakeWaveIn*> active{nullptr};

} // namespace

// The driver table's functions; a friend so they can reach the fake's state.
struct FakeDriverCalls {
    static FakeWaveIn& Fake() {
        FakeWaveIn* fake = active.load();
        assert(fake != nullptr);
        return *fake;
    }

    static HWAVEIN HandleOf(const FakeWaveIn& fake) {
        return reinterpret_cast<HWAVEIN>(const_cast<FakeWaveIn*>(&fake));
    }

    static void Record(FakeWaveIn& fake, RecordedCall call) {
        std::lock_guard lock(fake.mutex_);
        fake.calls_.push_back(call);
    }

    // Made first in each call, so the test's hook runs once the call has been answered and
    // every lock of the fake is released.
    struct AfterCall {
        FakeWaveIn& fake;
        Call call;
        ~AfterCall() {
            std::function<void(Call)> hook;
            {
                std::lock_guard lock(fake.mutex_);
                hook = fake.hook_;
            }
            if (hook) {
                hook(call);
            }
        }
    };

    static UINT GetNumDevs() {
        FakeWaveIn& fake = Fake();
        const AfterCall after{fake, Call::GetNumDevs};
        Record(fake, {Call::GetNumDevs});
        std::lock_guard lock(fake.mutex_);
        return fake.devices_;
    }

    static MMRESULT GetDevCaps(UINT_PTR device, LPWAVEINCAPSA caps, UINT) {
        FakeWaveIn& fake = Fake();
        const AfterCall after{fake, Call::GetDevCaps};
        Record(fake, {.call = Call::GetDevCaps, .device = static_cast<UINT>(device)});
        std::lock_guard lock(fake.mutex_);
        if (device >= fake.devices_) {
            return MMSYSERR_BADDEVICEID;
        }
        *caps = WAVEINCAPSA{};
        caps->szPname[0] = 'F';
        caps->wChannels = 1;
        return MMSYSERR_NOERROR;
    }

    static MMRESULT Open(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback,
                         DWORD_PTR, DWORD flags) {
        FakeWaveIn& fake = Fake();
        const AfterCall after{fake, Call::Open};
        RecordedCall call{.call = Call::Open,
                          .device = device,
                          .handleGiven = handle != nullptr,
                          .callback = callback,
                          .flags = flags};
        if (format != nullptr) {
            call.format = *format;
        }
        Record(fake, call);
        std::lock_guard lock(fake.mutex_);
        if (flags & WAVE_FORMAT_QUERY) {
            return fake.queryResult_;
        }
        if (fake.openResult_ != MMSYSERR_NOERROR) {
            return fake.openResult_;
        }
        if (handle == nullptr || fake.open_) {
            return MMSYSERR_INVALPARAM;
        }
        fake.open_ = true;
        fake.event_ = reinterpret_cast<HANDLE>(callback);
        *handle = HandleOf(fake);
        if (fake.event_ != nullptr) {
            SetEvent(fake.event_);
        }
        return MMSYSERR_NOERROR;
    }

    // Records a header call; null when the handle is not the open device.
    static FakeWaveIn* HeaderCall(Call kind, HWAVEIN handle, LPWAVEHDR header, UINT size) {
        FakeWaveIn& fake = Fake();
        RecordedCall call{.call = kind, .handle = handle, .header = header, .size = size};
        if (header != nullptr) {
            call.headerAtCall = *header;
        }
        Record(fake, call);
        return ValidHandle(fake, handle) ? &fake : nullptr;
    }

    static bool ValidHandle(FakeWaveIn& fake, HWAVEIN handle) {
        std::lock_guard lock(fake.mutex_);
        return fake.open_ && handle == HandleOf(fake);
    }

    static MMRESULT Prepare(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        const AfterCall after{Fake(), Call::Prepare};
        FakeWaveIn* fake = HeaderCall(Call::Prepare, handle, header, size);
        return fake != nullptr ? fake->queue_.Prepare(header, size) : MMSYSERR_INVALHANDLE;
    }

    static MMRESULT Unprepare(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        const AfterCall after{Fake(), Call::Unprepare};
        FakeWaveIn* fake = HeaderCall(Call::Unprepare, handle, header, size);
        return fake != nullptr ? fake->queue_.Unprepare(header, size) : MMSYSERR_INVALHANDLE;
    }

    static MMRESULT AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size) {
        const AfterCall after{Fake(), Call::AddBuffer};
        FakeWaveIn* fake = HeaderCall(Call::AddBuffer, handle, header, size);
        return fake != nullptr ? fake->queue_.Add(header, size) : MMSYSERR_INVALHANDLE;
    }

    // Records a call on the device; null when the handle is not the open device.
    static FakeWaveIn* DeviceCall(Call kind, HWAVEIN handle) {
        FakeWaveIn& fake = Fake();
        Record(fake, {.call = kind, .handle = handle});
        return ValidHandle(fake, handle) ? &fake : nullptr;
    }

    static void Signal(FakeWaveIn& fake, int completed) {
        HANDLE event = fake.Event();
        if (completed > 0 && event != nullptr) {
            SetEvent(event);
        }
    }

    static MMRESULT Start(HWAVEIN handle) {
        const AfterCall after{Fake(), Call::Start};
        FakeWaveIn* fake = DeviceCall(Call::Start, handle);
        if (fake == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        fake->queue_.Start();
        return MMSYSERR_NOERROR;
    }

    static MMRESULT Stop(HWAVEIN handle) {
        const AfterCall after{Fake(), Call::Stop};
        FakeWaveIn* fake = DeviceCall(Call::Stop, handle);
        if (fake == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        Signal(*fake, fake->queue_.Stop());
        return MMSYSERR_NOERROR;
    }

    static MMRESULT Reset(HWAVEIN handle) {
        const AfterCall after{Fake(), Call::Reset};
        FakeWaveIn* fake = DeviceCall(Call::Reset, handle);
        if (fake == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        Signal(*fake, fake->queue_.Reset());
        return MMSYSERR_NOERROR;
    }

    static MMRESULT Close(HWAVEIN handle) {
        const AfterCall after{Fake(), Call::Close};
        FakeWaveIn* fake = DeviceCall(Call::Close, handle);
        if (fake == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        if (!fake->queue_.Empty()) {
            return WAVERR_STILLPLAYING;
        }
        HANDLE event = nullptr;
        {
            std::lock_guard lock(fake->mutex_);
            if (fake->closeResult_ != MMSYSERR_NOERROR) {
                return fake->closeResult_;
            }
            fake->open_ = false;
            std::swap(event, fake->event_);
        }
        if (event != nullptr) {
            SetEvent(event);
        }
        return MMSYSERR_NOERROR;
    }
};

namespace {

constexpr WaveInDriver fakeDriver{"fake",
                                  FakeDriverCalls::GetNumDevs,
                                  FakeDriverCalls::GetDevCaps,
                                  FakeDriverCalls::Open,
                                  FakeDriverCalls::Prepare,
                                  FakeDriverCalls::Unprepare,
                                  FakeDriverCalls::AddBuffer,
                                  FakeDriverCalls::Start,
                                  FakeDriverCalls::Stop,
                                  FakeDriverCalls::Reset,
                                  FakeDriverCalls::Close};

} // namespace

FakeWaveIn::FakeWaveIn() {
    FakeWaveIn* expected = nullptr;
    const bool alone = active.compare_exchange_strong(expected, this);
    assert(alone && "one FakeWaveIn at a time");
    (void)alone;
    previous_ = SelectWaveInDriver(&fakeDriver);
}

FakeWaveIn::~FakeWaveIn() {
    SelectWaveInDriver(previous_);
    active.store(nullptr);
}

void FakeWaveIn::SetDeviceCount(UINT count) {
    std::lock_guard lock(mutex_);
    devices_ = count;
}

void FakeWaveIn::SetQueryResult(MMRESULT result) {
    std::lock_guard lock(mutex_);
    queryResult_ = result;
}

void FakeWaveIn::SetOpenResult(MMRESULT result) {
    std::lock_guard lock(mutex_);
    openResult_ = result;
}

void FakeWaveIn::SetCloseResult(MMRESULT result) {
    std::lock_guard lock(mutex_);
    closeResult_ = result;
}

void FakeWaveIn::SetCallHook(std::function<void(Call)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

std::vector<RecordedCall> FakeWaveIn::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<RecordedCall> FakeWaveIn::CallsOf(Call call) const {
    std::vector<RecordedCall> found;
    for (const RecordedCall& recorded : Calls()) {
        if (recorded.call == call) {
            found.push_back(recorded);
        }
    }
    return found;
}

void FakeWaveIn::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

bool FakeWaveIn::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

HANDLE FakeWaveIn::Event() const {
    std::lock_guard lock(mutex_);
    return event_;
}

bool FakeWaveIn::CompleteHead(char fill) {
    const std::size_t room = queue_.HeadRoom();
    if (room == 0 || !queue_.Recording()) {
        return false;
    }
    const std::vector<char> bytes(room, fill);
    return Feed(bytes.data(), bytes.size()) > 0;
}

int FakeWaveIn::Feed(const void* bytes, std::size_t count) {
    const int completed = queue_.Write(bytes, count);
    FakeDriverCalls::Signal(*this, completed);
    return completed;
}

} // namespace wavein_testing

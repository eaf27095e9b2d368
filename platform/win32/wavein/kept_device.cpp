#include "platform/win32/wavein/kept_device.h"

#include <thread>

#include "platform/win32/wavein/capture_watch.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long Close waits for our thread to let go of the real device. Closing a healthy device
// takes milliseconds; one that hangs is left to our thread.
constexpr DWORD CloseWaitMs = 500;
// Our thread looks at its device at least this often.
constexpr Clock::duration LongestSleep = std::chrono::seconds(1);

// The codes of a device that is not there (yet): worth waiting for.
bool Absent(MMRESULT result) {
    return result == MMSYSERR_ERROR || result == MMSYSERR_BADDEVICEID ||
           result == MMSYSERR_NOTENABLED || result == MMSYSERR_NODRIVER;
}

DWORD Milliseconds(Clock::duration duration) {
    return static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(duration).count());
}

} // namespace

KeptDevice::KeptDevice(UINT id, const WAVEFORMATEX& format, HANDLE event)
    : id_(id), format_(format), event_(event), wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      filled_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      ended_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

KeptDevice::~KeptDevice() {
    for (HANDLE handle : {wake_, filled_, ended_}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
}

MMRESULT KeptDevice::Open(UINT id, const WAVEFORMATEX& format, HANDLE event, bool await,
                          std::shared_ptr<KeptDevice>& opened) {
    auto device = std::make_shared<KeptDevice>(id, format, event);
    if (device->wake_ == nullptr || device->filled_ == nullptr || device->ended_ == nullptr) {
        return MMSYSERR_NOMEM;
    }
    const MMRESULT result = device->real_.Open(id, format, device->filled_);
    if (result == MMSYSERR_NOERROR) {
        device->real_.QueueBuffers();
    } else if (!await || !Absent(result)) {
        return result;
    }
    // Our thread owns a share of the device: a Close that stops waiting for it leaves it
    // whole until the thread has ended.
    std::thread([device] { device->Keep(); }).detach();
    if (event != nullptr) {
        SetEvent(event);
    }
    opened = std::move(device);
    return MMSYSERR_NOERROR;
}

void KeptDevice::Start() {
    queue_.Start();
    started_.store(true, std::memory_order_release);
    SetEvent(wake_);
}

void KeptDevice::Reset() {
    started_.store(false, std::memory_order_release);
    SetEvent(wake_);
    if (queue_.Reset() > 0 && event_ != nullptr) {
        SetEvent(event_);
    }
}

MMRESULT KeptDevice::Close() {
    if (!queue_.Empty()) {
        return WAVERR_STILLPLAYING;
    }
    {
        std::lock_guard lock(signalMutex_);
        closed_ = true;
    }
    stop_.store(true, std::memory_order_release);
    SetEvent(wake_);
    WaitForSingleObject(ended_, CloseWaitMs);
    if (event_ != nullptr) {
        SetEvent(event_);
    }
    return MMSYSERR_NOERROR;
}

void KeptDevice::Deliver(const char* bytes, std::size_t count) {
    std::lock_guard lock(signalMutex_);
    if (!closed_ && queue_.Write(bytes, count) > 0 && event_ != nullptr) {
        SetEvent(event_);
    }
}

void KeptDevice::Keep() {
    CaptureWatch watch;
    bool realStarted = false;
    if (real_.IsOpen()) {
        watch.Opened(Clock::now());
    } else {
        watch.OpenFailed(Clock::now());
    }
    const HANDLE wakers[] = {wake_, filled_};
    while (!Stopping()) {
        const bool started = started_.load(std::memory_order_acquire);
        if (started != watch.IsStarted()) {
            if (started) {
                watch.Started(Clock::now());
            } else {
                watch.Stopped();
            }
        }
        if (real_.IsOpen()) {
            if (started && !realStarted) {
                real_.Start();
                realStarted = true;
            }
            const auto deliver = [this](const char* bytes, std::size_t count) {
                Deliver(bytes, count);
            };
            if (real_.TakeFilled(deliver) > 0) {
                watch.BlockCame(Clock::now());
            }
            if (watch.Lost(Clock::now())) {
                // What the head block holds is from before the loss.
                queue_.DropBegun();
                real_.Close();
                realStarted = false;
                watch.Closed(Clock::now());
            }
        }
        if (Stopping()) {
            break;
        }
        if (watch.TryDue(Clock::now())) {
            if (real_.Open(id_, format_, filled_) == MMSYSERR_NOERROR) {
                watch.Opened(Clock::now());
                if (Stopping()) {
                    break;
                }
                real_.QueueBuffers();
                continue; // started on the next turn, if capture is
            }
            watch.OpenFailed(Clock::now());
        }
        WaitForMultipleObjects(2, wakers, FALSE,
                               Milliseconds(watch.Quiet(Clock::now(), LongestSleep)));
    }
    real_.Close();
    SetEvent(ended_);
}

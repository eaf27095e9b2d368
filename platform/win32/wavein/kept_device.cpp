#include "platform/win32/wavein/kept_device.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
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

// Our threads that a Close stopped waiting for and that are still inside the driver.
std::atomic<int> leftInDriver{0};

// Whether this runs under Wine on a Linux host (Wine's ntdll says so; Windows' has no such call).
bool UnderWineOnLinux() {
    using HostVersion = void(CDECL*)(const char** system, const char** release);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const auto hostVersion = reinterpret_cast<HostVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_host_version")));
    const char* system = nullptr;
    const char* release = nullptr;
    if (hostVersion != nullptr) {
        hostVersion(&system, &release);
    }
    return system != nullptr && std::string_view(system) == "Linux";
}

// A driver whose sound server hangs (stopped, say) keeps a thread of its own waiting on the
// server, inside a pthread condition wait (Wine's PulseAudio driver waits so for each timing
// update). Under Wine, ending the process the usual way unloads the driver, which tears its
// connection down and wakes that thread into what it has just freed; TerminateProcess instead
// has each thread killed one by one, and a thread killed in that wait faults. Either way the
// process dies with SIGSEGV after its window has closed. So while a thread of ours is left
// inside a driver, a normal end (exit, where atexit's functions run, with the 0 the entry
// returns) ends the process at once: under Wine on Linux by the host's exit_group, which stops
// every thread together; on Windows by TerminateProcess. Nothing is unloaded; the system frees
// what the process held.
void EndAtOnceIfLeftInDriver() {
    if (leftInDriver.load(std::memory_order_acquire) == 0) {
        return;
    }
    std::fflush(nullptr);
    if (UnderWineOnLinux()) {
        constexpr long ExitGroup = 231; // x86-64 Linux
        asm volatile("syscall" : : "a"(ExitGroup), "D"(0L) : "rcx", "r11", "memory");
    }
    TerminateProcess(GetCurrentProcess(), 0);
}

} // namespace

KeptDevice::KeptDevice(UINT id, const WAVEFORMATEX& format, HANDLE event)
    : id_(id), format_(format), event_(event), wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      ended_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

KeptDevice::~KeptDevice() {
    for (HANDLE handle : {wake_, ended_}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
}

MMRESULT KeptDevice::Open(UINT id, const WAVEFORMATEX& format, HANDLE event, bool await,
                          std::shared_ptr<KeptDevice>& opened) {
    auto device = std::make_shared<KeptDevice>(id, format, event);
    if (device->wake_ == nullptr || device->ended_ == nullptr) {
        return MMSYSERR_NOMEM;
    }
    const MMRESULT result = device->real_.Open(id, format);
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
    if (WaitForSingleObject(ended_, CloseWaitMs) != WAIT_OBJECT_0) {
        auto running = Ending::Running;
        if (ending_.compare_exchange_strong(running, Ending::LeftInDriver)) {
            leftInDriver.fetch_add(1, std::memory_order_acq_rel);
            static std::once_flag registered;
            std::call_once(registered, [] { std::atexit(EndAtOnceIfLeftInDriver); });
        }
    }
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
            if (real_.Open(id_, format_) == MMSYSERR_NOERROR) {
                watch.Opened(Clock::now());
                if (Stopping()) {
                    break;
                }
                real_.QueueBuffers();
                continue; // started on the next turn, if capture is
            }
            watch.OpenFailed(Clock::now());
        }
        const HANDLE wakers[] = {wake_, real_.Event()};
        WaitForMultipleObjects(real_.IsOpen() ? 2 : 1, wakers, FALSE,
                               Milliseconds(watch.Quiet(Clock::now(), LongestSleep)));
    }
    real_.Close();
    if (ending_.exchange(Ending::Ended, std::memory_order_acq_rel) == Ending::LeftInDriver) {
        leftInDriver.fetch_sub(1, std::memory_order_acq_rel);
    }
    SetEvent(ended_);
}

// Events, waiting and closing handles over eventfd; critical sections over the C++ standard
// library.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/linux/kernel_object.h"
#include "platform/winapi.h"

namespace {

using linux_layer::KernelObject;

class EventObject final : public KernelObject {
public:
    // An eventfd: its counter is the setting. A setter makes one system call and touches the
    // object no more, so a waiter woken by it may close the event at once; and the waiter is
    // woken once, not a second time for a lock the setter still holds.
    EventObject(bool manualReset, bool signalled)
        : manualReset_(manualReset), fd_(eventfd(signalled ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~EventObject() override {
        if (fd_ >= 0) {
            close(fd_);
        }
    }

    bool Made() const { return fd_ >= 0; }

    bool Set() const {
        const std::uint64_t one = 1;
        for (;;) {
            if (write(fd_, &one, sizeof one) == sizeof one) {
                return true;
            }
            // EAGAIN: the counter is full, which still reads as set.
            if (errno != EINTR) {
                return errno == EAGAIN;
            }
        }
    }

    DWORD Wait(DWORD milliseconds) override {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            int timeout = -1;
            if (milliseconds != INFINITE) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
                timeout =
                    static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
            }
            pollfd ready{fd_, POLLIN, 0};
            const int polled = poll(&ready, 1, timeout);
            if (polled < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return WAIT_FAILED;
            }
            if (polled == 0) {
                return WAIT_TIMEOUT;
            }
            // A manual-reset event stays set for every waiter. An auto-reset one is taken by
            // reading the counter; another waiter that read it first sends this one back to wait.
            if (manualReset_) {
                return WAIT_OBJECT_0;
            }
            std::uint64_t count = 0;
            if (read(fd_, &count, sizeof count) == sizeof count) {
                return WAIT_OBJECT_0;
            }
            if (errno != EAGAIN && errno != EINTR) {
                return WAIT_FAILED;
            }
        }
    }

private:
    const bool manualReset_;
    const int fd_;
};

EventObject* AsEvent(HANDLE handle) {
    return dynamic_cast<EventObject*>(linux_layer::AsKernelObject(handle));
}

} // namespace

HANDLE CreateEventA(LPVOID, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
    auto event = std::make_unique<EventObject>(bManualReset != FALSE, bInitialState != FALSE);
    if (!event->Made()) {
        return nullptr; // out of descriptors: the caller sees the failure, as on Windows
    }
    return static_cast<KernelObject*>(event.release());
}

BOOL SetEvent(HANDLE hEvent) {
    EventObject* event = AsEvent(hEvent);
    if (event == nullptr) {
        return FALSE;
    }
    return event->Set() ? TRUE : FALSE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    KernelObject* object = linux_layer::AsKernelObject(hHandle);
    return object == nullptr ? WAIT_FAILED : object->Wait(dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) {
    if (hObject == nullptr) {
        return FALSE;
    }
    delete linux_layer::AsKernelObject(hObject);
    return TRUE;
}

// Windows sections are recursive: the owning thread may enter again.
void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    section->impl = new std::recursive_mutex;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    static_cast<std::recursive_mutex*>(section->impl)->lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    static_cast<std::recursive_mutex*>(section->impl)->unlock();
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    delete static_cast<std::recursive_mutex*>(section->impl);
    section->impl = nullptr;
}

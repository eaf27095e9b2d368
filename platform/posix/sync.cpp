// Events, waiting, closing handles and critical sections over the C++ standard library.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/posix/kernel_object.h"
#include "platform/winapi.h"

namespace {

using posix_layer::KernelObject;

class EventObject final : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled)
        : manualReset_(manualReset), signalled_(signalled) {}

    void Set() {
        // Notified under the lock: a woken waiter may close the event at once, and the notify
        // must not touch it after that.
        std::lock_guard lock(mutex_);
        signalled_ = true;
        // An auto-reset event releases one waiter; a manual one releases all.
        if (manualReset_) {
            changed_.notify_all();
        } else {
            changed_.notify_one();
        }
    }

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock lock(mutex_);
        const auto isSignalled = [this] { return signalled_; };
        if (milliseconds == INFINITE) {
            changed_.wait(lock, isSignalled);
        } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), isSignalled)) {
            return WAIT_TIMEOUT;
        }
        if (!manualReset_) {
            signalled_ = false;
        }
        return WAIT_OBJECT_0;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const bool manualReset_;
    bool signalled_;
};

EventObject* AsEvent(HANDLE handle) {
    return dynamic_cast<EventObject*>(posix_layer::AsKernelObject(handle));
}

} // namespace

HANDLE CreateEventA(LPVOID, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
    return static_cast<KernelObject*>(
        new EventObject(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent) {
    EventObject* event = AsEvent(hEvent);
    if (event == nullptr) {
        return FALSE;
    }
    event->Set();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    KernelObject* object = posix_layer::AsKernelObject(hHandle);
    return object == nullptr ? WAIT_FAILED : object->Wait(dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) {
    if (hObject == nullptr) {
        return FALSE;
    }
    delete posix_layer::AsKernelObject(hObject);
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

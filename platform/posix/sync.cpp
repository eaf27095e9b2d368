// Events and critical sections over the C++ standard library.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/winapi.h"

namespace {

struct EventObject {
    std::mutex mutex;
    std::condition_variable changed;
    bool manualReset;
    bool signalled;
};

EventObject* AsEvent(HANDLE handle) {
    return static_cast<EventObject*>(handle);
}

} // namespace

HANDLE CreateEventA(LPVOID, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
    return new EventObject{{}, {}, bManualReset != FALSE, bInitialState != FALSE};
}

BOOL SetEvent(HANDLE hEvent) {
    EventObject* event = AsEvent(hEvent);
    if (event == nullptr) {
        return FALSE;
    }
    // Notified under the lock: a woken waiter may close the event at once, and the notify must
    // not touch it after that.
    std::lock_guard lock(event->mutex);
    event->signalled = true;
    // An auto-reset event releases one waiter; a manual one releases all.
    if (event->manualReset) {
        event->changed.notify_all();
    } else {
        event->changed.notify_one();
    }
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
    EventObject* event = AsEvent(hEvent);
    if (event == nullptr) {
        return FALSE;
    }
    std::lock_guard lock(event->mutex);
    event->signalled = false;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    EventObject* event = AsEvent(hHandle);
    if (event == nullptr) {
        return WAIT_FAILED;
    }
    std::unique_lock lock(event->mutex);
    const auto isSignalled = [event] { return event->signalled; };
    if (dwMilliseconds == INFINITE) {
        event->changed.wait(lock, isSignalled);
    } else if (!event->changed.wait_for(lock, std::chrono::milliseconds(dwMilliseconds),
                                        isSignalled)) {
        return WAIT_TIMEOUT;
    }
    if (!event->manualReset) {
        event->signalled = false;
    }
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE hObject) {
    if (hObject == nullptr) {
        return FALSE;
    }
    delete AsEvent(hObject);
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

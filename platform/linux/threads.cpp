// Threads over the C++ standard library, with Windows' suspend count: a thread created
// suspended runs its routine only once resumed.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/linux/kernel_object.h"
#include "platform/winapi.h"

namespace {

using linux_layer::KernelObject;

std::atomic<DWORD> nextThreadId{1};
thread_local DWORD currentThreadId = 0;
thread_local DWORD lastError = 0;

// Shared by the handle and the running thread, so either may go first.
struct ThreadState {
    std::mutex mutex;
    std::condition_variable changed;
    DWORD suspendCount = 0;
    // The handle was closed before the thread was ever resumed: it ends without running.
    bool abandoned = false;
    bool ended = false;
};

class ThreadObject final : public KernelObject {
public:
    ThreadObject(LPTHREAD_START_ROUTINE routine, LPVOID parameter, bool suspended, DWORD id)
        : state_(std::make_shared<ThreadState>()) {
        state_->suspendCount = suspended ? 1 : 0;
        thread_ = std::thread(&ThreadObject::Body, state_, routine, parameter, id);
    }

    // Closing the handle leaves a running thread running, as on Windows.
    ~ThreadObject() override {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->suspendCount > 0) {
                state_->abandoned = true;
                state_->changed.notify_all();
            }
        }
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();
        } else {
            std::unique_lock lock(state_->mutex);
            if (state_->ended) {
                lock.unlock();
                thread_.join();
            } else {
                thread_.detach();
            }
        }
    }

    DWORD Resume() {
        std::lock_guard lock(state_->mutex);
        const DWORD previous = state_->suspendCount;
        if (previous > 0 && --state_->suspendCount == 0) {
            state_->changed.notify_all();
        }
        return previous;
    }

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock lock(state_->mutex);
        const auto hasEnded = [this] { return state_->ended; };
        if (milliseconds == INFINITE) {
            state_->changed.wait(lock, hasEnded);
        } else if (!state_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                             hasEnded)) {
            return WAIT_TIMEOUT;
        }
        return WAIT_OBJECT_0;
    }

private:
    static void Body(const std::shared_ptr<ThreadState>& state, LPTHREAD_START_ROUTINE routine,
                     LPVOID parameter, DWORD id) {
        currentThreadId = id;
        bool run = false;
        {
            std::unique_lock lock(state->mutex);
            state->changed.wait(lock,
                                [&state] { return state->suspendCount == 0 || state->abandoned; });
            run = !state->abandoned;
        }
        if (run) {
            routine(parameter);
        }
        std::lock_guard lock(state->mutex);
        state->ended = true;
        state->changed.notify_all();
    }

    std::shared_ptr<ThreadState> state_;
    std::thread thread_;
};

} // namespace

HANDLE CreateThread(LPVOID, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId) {
    if (lpStartAddress == nullptr) {
        return nullptr;
    }
    const DWORD id = nextThreadId.fetch_add(1);
    try {
        auto* thread = new ThreadObject(lpStartAddress, lpParameter,
                                        (dwCreationFlags & CREATE_SUSPENDED) != 0, id);
        if (lpThreadId != nullptr) {
            *lpThreadId = id;
        }
        return static_cast<KernelObject*>(thread);
    } catch (const std::system_error& refusal) {
        lastError = static_cast<DWORD>(refusal.code().value());
        return nullptr;
    }
}

DWORD ResumeThread(HANDLE hThread) {
    auto* thread = dynamic_cast<ThreadObject*>(linux_layer::AsKernelObject(hThread));
    return thread == nullptr ? static_cast<DWORD>(-1) : thread->Resume();
}

DWORD GetLastError() {
    return lastError;
}

DWORD GetCurrentThreadId() {
    if (currentThreadId == 0) {
        currentThreadId = nextThreadId.fetch_add(1);
    }
    return currentThreadId;
}

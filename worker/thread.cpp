#include "worker/thread.h"

#include <system_error>

TThread::TThread()
    : handle_(CreateThread(nullptr, 0, &TThread::Run, this, CREATE_SUSPENDED, &threadId_)) {
    if (handle_ == nullptr) {
        // The system's own words for the refusal reach the user.
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
    }
}

TThread::~TThread() {
    if (!resumed_) {
        // Let it run out without Execute, so that neither the thread nor its stack is left
        // behind.
        skipExecute_.store(true, std::memory_order_release);
        resumed_ = true;
        ResumeThread(handle_);
    }
    // An object deleted from its own Execute cannot wait for itself; its thread runs out.
    WaitFor();
    CloseHandle(handle_);
}

void TThread::Resume() {
    if (!resumed_) {
        resumed_ = true;
        ResumeThread(handle_);
    }
}

void TThread::WaitFor() {
    if (resumed_ && !OnOwnThread()) {
        WaitForSingleObject(handle_, INFINITE);
    }
}

DWORD WINAPI TThread::Run(LPVOID self) {
    auto* thread = static_cast<TThread*>(self);
    if (!thread->skipExecute_.load(std::memory_order_acquire)) {
        thread->Execute();
        thread->finished_.store(true, std::memory_order_release);
    }
    return 0;
}

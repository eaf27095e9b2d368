// Our small thread facility over the system's threads: the thread is created suspended with
// the object, runs Execute once when resumed, and can be waited for.
#pragma once

#include <atomic>

#include "platform/winapi.h"

class TThread {
public:
    // Creates the thread suspended: started from here it could enter Execute before the
    // derived object that Execute belongs to had been built. Throws std::system_error when
    // the system makes no thread.
    TThread();
    // Joins a thread still running, so that a forgotten WaitFor costs a wait instead of ending
    // the process. That is only a safety net: by now the derived members are gone, so a derived
    // class whose Execute uses them must stop its thread and WaitFor in its own destructor.
    // A thread never resumed ends without running Execute.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Lets the thread run Execute; later calls do nothing. Owner's thread only.
    void Resume();
    // Returns once Execute has returned; at once when never resumed. Owner's thread only.
    void WaitFor();
    // Whether Execute has returned.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }

protected:
    // The thread body, run once.
    virtual void Execute() = 0;

private:
    static DWORD WINAPI Run(LPVOID self);
    bool OnOwnThread() const { return GetCurrentThreadId() == threadId_; }

    std::atomic<bool> skipExecute_{false};
    std::atomic<bool> finished_{false};
    bool resumed_ = false;
    DWORD threadId_ = 0;
    HANDLE handle_;
};

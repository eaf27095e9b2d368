// Our small thread facility: a thread that is created suspended, runs its Execute once when
// resumed, and can be waited for.
#pragma once

#include <atomic>
#include <thread>

class TThread {
public:
    // Always created suspended: a thread started from here could enter Execute before the
    // derived object that Execute belongs to had been built.
    TThread() = default;
    // Joins a thread still running, so that a forgotten WaitFor costs a wait instead of ending
    // the process. That is only a safety net: by now the derived members are gone, so a derived
    // class whose Execute uses them must stop its thread and WaitFor in its own destructor.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts Execute on a new thread; later calls do nothing. Owner's thread only.
    void Resume();
    // Returns once Execute has returned; at once when never resumed. Owner's thread only.
    void WaitFor();
    // Whether Execute has returned.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }

protected:
    // The thread body, run once.
    virtual void Execute() = 0;

private:
    void Run();

    std::thread thread_;
    std::atomic<bool> finished_{false};
};

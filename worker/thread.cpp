#include "worker/thread.h"

TThread::~TThread() {
    // An object deleted from its own Execute cannot join; let its thread run out instead.
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    }
    WaitFor();
}

void TThread::Resume() {
    if (!thread_.joinable() && !Finished()) {
        thread_ = std::thread(&TThread::Run, this);
    }
}

void TThread::WaitFor() {
    // A thread cannot join itself; waiting for oneself would never return anyway.
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

void TThread::Run() {
    Execute();
    finished_.store(true, std::memory_order_release);
}

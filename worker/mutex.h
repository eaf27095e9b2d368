// A critical section and its scoped guard. Every locked region is one Lock's lifetime, so the
// section is left on every way out.
#pragma once

#include "platform/winapi.h"

class Mutex {
public:
    Mutex() { InitializeCriticalSection(&section_); }
    ~Mutex() { DeleteCriticalSection(&section_); }
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Acquire() { EnterCriticalSection(&section_); }
    void Release() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class Lock {
public:
    explicit Lock(Mutex& mutex) : mutex_(mutex) { mutex_.Acquire(); }
    ~Lock() { mutex_.Release(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    Mutex& mutex_;
};

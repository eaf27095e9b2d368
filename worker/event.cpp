#include "worker/event.h"

#include <stdexcept>

Event::Event() : handle_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    if (handle_ == nullptr) {
        throw std::runtime_error("cannot create an event");
    }
}

Event::~Event() {
    CloseHandle(handle_);
}

bool Event::Wait() {
    return WaitForSingleObject(handle_, INFINITE) == WAIT_OBJECT_0;
}

void Event::Signal() {
    SetEvent(handle_);
}

#include "platform/posix/wavein/pulse/pulse_shared_session.h"

#include <mutex>

namespace {

std::mutex sharedMutex;
std::shared_ptr<PulseSession> shared;

} // namespace

std::shared_ptr<PulseSession> SharedPulseSession(int& error) {
    std::lock_guard lock(sharedMutex);
    if (shared != nullptr && shared->Ready()) {
        return shared;
    }
    // A lost server: streams still on the old connection keep it until they close.
    shared.reset();
    auto session = std::make_shared<PulseSession>();
    if (!session->Connect()) {
        error = session->Error();
        return nullptr;
    }
    shared = std::move(session);
    return shared;
}

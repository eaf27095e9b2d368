#include "platform/posix/wavein/pulse/pulse_shared_session.h"

#include <mutex>

#include "platform/posix/wavein/pulse/connect_ahead.h"

namespace {

std::mutex sharedMutex;
std::shared_ptr<PulseSession> shared;
// `shared` was begun ahead and nobody has waited for it yet.
bool begunAhead = false;

} // namespace

void ConnectToSoundServerAhead() {
    std::lock_guard lock(sharedMutex);
    if (shared != nullptr && (begunAhead || shared->Ready())) {
        return;
    }
    shared.reset();
    auto session = std::make_shared<PulseSession>();
    // A start that fails here is made again, and told of, by the first call that needs it.
    if (session->BeginConnecting()) {
        shared = std::move(session);
        begunAhead = true;
    }
}

std::shared_ptr<PulseSession> SharedPulseSession(int& error) {
    std::lock_guard lock(sharedMutex);
    if (begunAhead) {
        // Its outcome is this call's: trying again at once would only double a time-out.
        begunAhead = false;
        if (shared->FinishConnecting()) {
            return shared;
        }
        error = shared->Error();
        shared.reset();
        return nullptr;
    }
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

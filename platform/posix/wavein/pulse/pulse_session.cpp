#include "platform/posix/wavein/pulse/pulse_session.h"

#include <algorithm>
#include <utility>

#include "platform/posix/wavein/pulse/pulse_identity.h"

namespace {

timeval FromNow(std::chrono::milliseconds delay) {
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(delay.count()) * PA_USEC_PER_MSEC);
    return when;
}

struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
};

void DeadlinePassed(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
    auto* deadline = static_cast<Deadline*>(data);
    deadline->passed = true;
    pa_threaded_mainloop_signal(deadline->loop, 0);
}

} // namespace

PulseSession::~PulseSession() {
    if (loop_ == nullptr) {
        return;
    }
    {
        Lock lock(*this);
        owners_.clear();
        StopRetrying();
        DropContext();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseSession::BeginConnecting() {
    loop_ = pa_threaded_mainloop_new();
    if (loop_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    if (pa_threaded_mainloop_start(loop_) < 0) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    Lock lock(*this);
    return StartConnecting();
}

bool PulseSession::FinishConnecting() {
    Lock lock(*this);
    const auto settled = [this] {
        const pa_context_state_t state = pa_context_get_state(context_);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (!WaitUntil(settled, ConnectTimeout)) {
        error_ = PA_ERR_TIMEOUT;
        return false;
    }
    if (pa_context_get_state(context_) != PA_CONTEXT_READY) {
        error_ = pa_context_errno(context_);
        if (error_ == PA_OK) {
            error_ = PA_ERR_CONNECTIONREFUSED;
        }
        return false;
    }
    return true;
}

bool PulseSession::StartConnecting() {
    pa_proplist* properties = NewApplicationProperties();
    context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), ApplicationName,
                                            properties);
    pa_proplist_free(properties);
    if (context_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    pa_context_set_state_callback(context_, OnContextState, this);
    // A missing server means no sound input here; starting one is not ours to do.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error_ = pa_context_errno(context_);
        return false;
    }
    return true;
}

void PulseSession::DropContext() {
    // A new connection tells the owners anyway.
    StopOwnerRetry();
    subscribed_ = false;
    if (context_ != nullptr) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
}

void PulseSession::KeepConnectedFor(const void* owner, std::function<void()> reconnected) {
    owners_.push_back({owner, std::move(reconnected)});
}

void PulseSession::Release(const void* owner) {
    std::erase_if(owners_, [owner](const Owner& kept) { return kept.owner == owner; });
    if (owners_.empty()) {
        StopRetrying();
        StopOwnerRetry();
    }
}

void PulseSession::StopRetrying() {
    if (retry_ != nullptr) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        api->time_free(retry_);
        retry_ = nullptr;
    }
}

void PulseSession::Reconnect() {
    if (!owners_.empty()) {
        RetryLater();
    }
}

void PulseSession::RetryLater() {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    const timeval when = FromNow(RetryInterval);
    if (retry_ == nullptr) {
        retry_ = api->time_new(api, &when, OnRetry, this);
    } else {
        api->time_restart(retry_, &when);
    }
}

void PulseSession::RetryOwnersLater() {
    if (owners_.empty() || context_ == nullptr) {
        return;
    }
    if (!subscribed_) {
        // Only the announcement of a source (or of a new default) ends the wait early.
        pa_context_set_subscribe_callback(context_, OnServerEvent, this);
        const auto mask = static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SOURCE |
                                                              PA_SUBSCRIPTION_MASK_SERVER);
        if (pa_operation* subscribing = pa_context_subscribe(context_, mask, nullptr, nullptr)) {
            pa_operation_unref(subscribing);
            subscribed_ = true;
        }
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    const timeval when = FromNow(ownerRetryDelay_);
    if (ownerRetry_ == nullptr) {
        ownerRetry_ = api->time_new(api, &when, OnOwnerRetry, this);
    } else {
        api->time_restart(ownerRetry_, &when);
    }
    ownerRetryDelay_ = std::min(ownerRetryDelay_ * 2, MaxOwnerRetryInterval);
}

void PulseSession::StopOwnerRetry() {
    if (ownerRetry_ != nullptr) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        api->time_free(ownerRetry_);
        ownerRetry_ = nullptr;
    }
}

void PulseSession::TellOwners() {
    // A copy: an owner may let go of the connection while it is told.
    const std::vector<Owner> owners = owners_;
    for (const Owner& owner : owners) {
        owner.reconnected();
    }
}

// Mainloop thread, loop locked.
void PulseSession::OnOwnerRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                                void* self) {
    auto* session = static_cast<PulseSession*>(self);
    api->time_free(event);
    session->ownerRetry_ = nullptr;
    session->TellOwners();
}

// Mainloop thread, loop locked.
void PulseSession::OnServerEvent(pa_context*, pa_subscription_event_type_t event, uint32_t,
                                 void* self) {
    auto* session = static_cast<PulseSession*>(self);
    const unsigned facility = event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const unsigned kind = event & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    const bool newSource =
        facility == PA_SUBSCRIPTION_EVENT_SOURCE && kind == PA_SUBSCRIPTION_EVENT_NEW;
    if (session->ownerRetry_ == nullptr ||
        !(newSource || facility == PA_SUBSCRIPTION_EVENT_SERVER)) {
        return;
    }
    // At once, and short again should the source not be ready for us yet.
    session->StopOwnerRetry();
    session->ownerRetryDelay_ = RetryInterval;
    session->TellOwners();
}

// Mainloop thread, loop locked.
void PulseSession::OnContextState(pa_context* context, void* self) {
    auto* session = static_cast<PulseSession*>(self);
    pa_threaded_mainloop_signal(session->loop_, 0);
    if (session->owners_.empty()) {
        return;
    }
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY) {
        session->ownerRetryDelay_ = RetryInterval;
        session->TellOwners();
    } else if (!PA_CONTEXT_IS_GOOD(state)) {
        // Not replaced here: a context is not to be freed from its own callback.
        session->RetryLater();
    }
}

// Mainloop thread, loop locked.
void PulseSession::OnRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                           void* self) {
    auto* session = static_cast<PulseSession*>(self);
    api->time_free(event);
    session->retry_ = nullptr;
    if (session->owners_.empty()) {
        return;
    }
    session->DropContext();
    if (!session->StartConnecting()) {
        // Refused at once (no socket, say): its failure may not reach the state callback.
        session->RetryLater();
    }
}

bool PulseSession::Ready() const {
    if (context_ == nullptr) {
        return false;
    }
    Lock lock(*this);
    return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

bool PulseSession::WaitUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds timeout) const {
    if (done()) {
        return true;
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    Deadline deadline{loop_};
    const timeval when = FromNow(timeout);
    pa_time_event* timer = api->time_new(api, &when, DeadlinePassed, &deadline);
    while (!done() && !deadline.passed) {
        pa_threaded_mainloop_wait(loop_);
    }
    api->time_free(timer);
    return done();
}

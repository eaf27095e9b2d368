// Keeping the connection for its owners: made again when it ends, and the owners told again
// when what they had on a connection that stands fails (see pulse_connection.h).
#include <algorithm>
#include <utility>

#include "platform/posix/wavein/pulse/pulse_connection.h"

void PulseConnection::KeepConnectedFor(const void* owner, std::function<void()> reconnected) {
    owners_.push_back({owner, std::move(reconnected)});
}

void PulseConnection::Release(const void* owner) {
    std::erase_if(owners_, [owner](const Owner& kept) { return kept.owner == owner; });
    if (owners_.empty()) {
        StopRetrying();
        StopOwnerRetry();
    }
}

void PulseConnection::StopRetrying() {
    if (retry_ != nullptr) {
        pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
        api->time_free(retry_);
        retry_ = nullptr;
    }
}

void PulseConnection::Reconnect() {
    if (!owners_.empty()) {
        RetryLater();
    }
}

void PulseConnection::RetryLater() {
    pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
    const timeval when = FromNow(RetryInterval);
    if (retry_ == nullptr) {
        retry_ = api->time_new(api, &when, OnRetry, this);
    } else {
        api->time_restart(retry_, &when);
    }
}

void PulseConnection::RetryOwnersLater() {
    if (owners_.empty() || context_ == nullptr) {
        return;
    }
    if (!subscribed_) {
        // Only the announcement of a source (or of a new default) ends the wait early.
        Pulse().pa_context_set_subscribe_callback(context_, OnServerEvent, this);
        const auto mask = static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SOURCE |
                                                              PA_SUBSCRIPTION_MASK_SERVER);
        if (pa_operation* subscribing =
                Pulse().pa_context_subscribe(context_, mask, nullptr, nullptr)) {
            Pulse().pa_operation_unref(subscribing);
            subscribed_ = true;
        }
    }
    pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
    const timeval when = FromNow(ownerRetryDelay_);
    if (ownerRetry_ == nullptr) {
        ownerRetry_ = api->time_new(api, &when, OnOwnerRetry, this);
    } else {
        api->time_restart(ownerRetry_, &when);
    }
    ownerRetryDelay_ = std::min(ownerRetryDelay_ * 2, MaxOwnerRetryInterval);
}

void PulseConnection::StopOwnerRetry() {
    if (ownerRetry_ != nullptr) {
        pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
        api->time_free(ownerRetry_);
        ownerRetry_ = nullptr;
    }
}

void PulseConnection::TellOwners() {
    // A copy: an owner may let go of the connection while it is told.
    const std::vector<Owner> owners = owners_;
    for (const Owner& owner : owners) {
        owner.reconnected();
    }
}

// Mainloop thread, loop locked.
void PulseConnection::OnOwnerRetry(pa_mainloop_api* api, pa_time_event* event,
                                   const struct timeval*, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    api->time_free(event);
    connection->ownerRetry_ = nullptr;
    connection->TellOwners();
}

void PulseConnection::OnServerEvent(pa_context*, pa_subscription_event_type_t event, uint32_t,
                                    void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    const unsigned facility = event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const unsigned kind = event & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    const bool newSource =
        facility == PA_SUBSCRIPTION_EVENT_SOURCE && kind == PA_SUBSCRIPTION_EVENT_NEW;
    if (connection->ownerRetry_ == nullptr ||
        !(newSource || facility == PA_SUBSCRIPTION_EVENT_SERVER)) {
        return;
    }
    // At once, and short again should the source not be ready for us yet.
    connection->StopOwnerRetry();
    connection->ownerRetryDelay_ = RetryInterval;
    connection->TellOwners();
}

void PulseConnection::OnContextState(pa_context* context, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    Pulse().pa_threaded_mainloop_signal(connection->loop_, 0);
    if (connection->owners_.empty()) {
        return;
    }
    const pa_context_state_t state = Pulse().pa_context_get_state(context);
    if (state == PA_CONTEXT_READY) {
        connection->ownerRetryDelay_ = RetryInterval;
        connection->TellOwners();
    } else if (!PA_CONTEXT_IS_GOOD(state)) {
        // Not replaced here: a context is not to be freed from its own callback.
        connection->RetryLater();
    }
}

void PulseConnection::OnRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                              void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    api->time_free(event);
    connection->retry_ = nullptr;
    if (connection->owners_.empty()) {
        return;
    }
    connection->DropContext();
    if (!connection->StartConnecting()) {
        // Refused at once (no socket, say): its failure may not reach the state callback.
        connection->RetryLater();
    }
}

#include "platform/linux/wavein/pulse/pulse_connection.h"

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
};

void DeadlinePassed(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
    auto* deadline = static_cast<Deadline*>(data);
    deadline->passed = true;
    Pulse().pa_threaded_mainloop_signal(deadline->loop, 0);
}

std::mutex sharedMutex;
std::shared_ptr<PulseConnection> shared;
// What the thread begun ahead made: a connection begun and not yet waited for, or null when it
// could not begin one. Written by that thread only, read once it has been joined.
std::shared_ptr<PulseConnection> begunAhead;

// The thread that loads the library and begins the connection ahead, until the first Shared()
// joins it. A program that ends without asking (no display, say) joins it here at exit; it is
// defined after what it writes, so it is destroyed before that.
struct AheadThread {
    std::thread thread;
    ~AheadThread() {
        if (thread.joinable()) {
            thread.join();
        }
    }
} ahead;

} // namespace

pa_proplist* NewApplicationProperties() {
    pa_proplist* properties = Pulse().pa_proplist_new();
    Pulse().pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, ApplicationName);
    Pulse().pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "vibralon");
    Pulse().pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "vibralon");
    // A tuner listens to an instrument: the closest of the standard roles.
    Pulse().pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "production");
    return properties;
}

void PulseConnection::ConnectAhead(AheadWork thenAhead) {
    std::lock_guard lock(sharedMutex);
    if (ahead.thread.joinable() || (shared != nullptr && shared->Ready())) {
        return;
    }
    try {
        ahead.thread = std::thread([thenAhead = std::move(thenAhead)] {
            if (!LoadPulseLibrary()) {
                return;
            }
            auto connection = std::make_shared<PulseConnection>();
            // A start that fails here is made again, and told of, by the first call that needs
            // it.
            if (!connection->BeginConnecting()) {
                return;
            }
            // The outcome stays with the connection for that call, time-out included.
            if (thenAhead && connection->FinishConnecting()) {
                thenAhead(connection);
            }
            begunAhead = std::move(connection);
        });
    } catch (const std::system_error&) {
        // No thread to spare: the first call that needs the connection makes it.
    }
}

std::shared_ptr<PulseConnection> PulseConnection::Shared(int& error) {
    std::lock_guard lock(sharedMutex);
    if (ahead.thread.joinable()) {
        // At most the connection's own time-out and one answer's: what this call would wait.
        ahead.thread.join();
        if (begunAhead != nullptr) {
            // Its outcome is this call's: trying again at once would only double a time-out.
            shared = std::move(begunAhead);
            if (shared->FinishConnecting()) {
                return shared;
            }
            error = shared->Error();
            shared.reset();
            return nullptr;
        }
    }
    if (!LoadPulseLibrary()) {
        error = PA_ERR_NOTIMPLEMENTED;
        return nullptr;
    }
    if (shared != nullptr && shared->Ready()) {
        return shared;
    }
    // A lost server: streams still on the old connection keep it until they close.
    shared.reset();
    auto connection = std::make_shared<PulseConnection>();
    if (!connection->Connect()) {
        error = connection->Error();
        return nullptr;
    }
    shared = std::move(connection);
    return shared;
}

timeval PulseConnection::FromNow(std::chrono::milliseconds delay) {
    timeval when{};
    Pulse().pa_gettimeofday(&when);
    Pulse().pa_timeval_add(&when, static_cast<pa_usec_t>(delay.count()) * PA_USEC_PER_MSEC);
    return when;
}

PulseConnection::~PulseConnection() {
    if (loop_ == nullptr) {
        return;
    }
    {
        Lock lock(*this);
        owners_.clear();
        CancelTimer();
        DropContext();
    }
    Pulse().pa_threaded_mainloop_stop(loop_);
    Pulse().pa_threaded_mainloop_free(loop_);
}

bool PulseConnection::BeginConnecting() {
    loop_ = Pulse().pa_threaded_mainloop_new();
    if (loop_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    if (Pulse().pa_threaded_mainloop_start(loop_) < 0) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    Lock lock(*this);
    return StartConnecting();
}

bool PulseConnection::FinishConnecting() {
    Lock lock(*this);
    if (timedOut_) {
        return false;
    }
    const auto settled = [this] {
        const pa_context_state_t state = Pulse().pa_context_get_state(context_);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (!WaitUntil(settled, ConnectTimeout)) {
        timedOut_ = true;
        error_ = PA_ERR_TIMEOUT;
        return false;
    }
    if (Pulse().pa_context_get_state(context_) != PA_CONTEXT_READY) {
        error_ = Pulse().pa_context_errno(context_);
        if (error_ == PA_OK) {
            error_ = PA_ERR_CONNECTIONREFUSED;
        }
        return false;
    }
    return true;
}

bool PulseConnection::StartConnecting() {
    pa_proplist* properties = NewApplicationProperties();
    context_ = Pulse().pa_context_new_with_proplist(Pulse().pa_threaded_mainloop_get_api(loop_),
                                                    ApplicationName, properties);
    Pulse().pa_proplist_free(properties);
    if (context_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    Pulse().pa_context_set_state_callback(context_, OnContextState, this);
    // A missing server means no sound input here; starting one is not ours to do.
    if (Pulse().pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error_ = Pulse().pa_context_errno(context_);
        return false;
    }
    return true;
}

void PulseConnection::DropContext() {
    subscribed_ = false;
    pa_context* context = std::exchange(context_, nullptr);
    if (context == nullptr) {
        return;
    }
    Pulse().pa_context_set_state_callback(context, nullptr, nullptr);
    Pulse().pa_context_set_subscribe_callback(context, nullptr, nullptr);
    Pulse().pa_context_disconnect(context);
    Pulse().pa_context_unref(context);
}

bool PulseConnection::Ready() const {
    // The mainloop thread replaces the context whenever it makes the connection again.
    Lock lock(*this);
    return Connected();
}

bool PulseConnection::Connected() const {
    return context_ != nullptr && Pulse().pa_context_get_state(context_) == PA_CONTEXT_READY;
}

bool PulseConnection::WaitUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout) const {
    if (done()) {
        return true;
    }
    pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
    Deadline deadline{loop_};
    const timeval when = FromNow(timeout);
    pa_time_event* timer = api->time_new(api, &when, DeadlinePassed, &deadline);
    while (!done() && !deadline.passed) {
        Pulse().pa_threaded_mainloop_wait(loop_);
    }
    api->time_free(timer);
    return done();
}

// --- Keeping the connection for its owners ----------------------------------------------------

void PulseConnection::KeepConnectedFor(const void* owner, std::function<void()> reconnected) {
    owners_.push_back({owner, std::move(reconnected)});
}

void PulseConnection::Release(const void* owner) {
    std::erase_if(owners_, [owner](const Owner& kept) { return kept.owner == owner; });
    if (owners_.empty()) {
        CancelTimer();
    }
}

void PulseConnection::Reconnect() {
    if (!owners_.empty()) {
        Schedule(Pending::Reconnect, RetryInterval);
    }
}

void PulseConnection::RetryOwnersLater() {
    // A reconnection on its way tells the owners anyway.
    if (owners_.empty() || context_ == nullptr || pending_ == Pending::Reconnect) {
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
    Schedule(Pending::TellOwners, ownerRetryDelay_);
    ownerRetryDelay_ = std::min(ownerRetryDelay_ * 2, MaxOwnerRetryInterval);
}

void PulseConnection::Schedule(Pending what, std::chrono::milliseconds delay) {
    pending_ = what;
    pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
    const timeval when = FromNow(delay);
    if (timer_ == nullptr) {
        timer_ = api->time_new(api, &when, OnTimer, this);
    } else {
        api->time_restart(timer_, &when);
    }
}

void PulseConnection::CancelTimer() {
    if (timer_ != nullptr) {
        pa_mainloop_api* api = Pulse().pa_threaded_mainloop_get_api(loop_);
        api->time_free(timer_);
        timer_ = nullptr;
    }
    pending_ = Pending::Nothing;
}

void PulseConnection::TellOwners() {
    // A copy: an owner may let go of the connection while it is told.
    const std::vector<Owner> owners = owners_;
    for (const Owner& owner : owners) {
        owner.reconnected();
    }
}

// Mainloop thread, loop locked, from here on.
void PulseConnection::OnTimer(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    const Pending what = connection->pending_;
    connection->CancelTimer();
    if (connection->owners_.empty()) {
        return;
    }
    if (what == Pending::TellOwners) {
        connection->TellOwners();
        return;
    }
    connection->DropContext();
    if (!connection->StartConnecting()) {
        // Refused at once (no socket, say): its failure may not reach the state callback.
        connection->Schedule(Pending::Reconnect, RetryInterval);
    }
}

void PulseConnection::OnServerEvent(pa_context*, pa_subscription_event_type_t event, uint32_t,
                                    void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    const unsigned facility = event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const unsigned kind = event & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    const bool newSource =
        facility == PA_SUBSCRIPTION_EVENT_SOURCE && kind == PA_SUBSCRIPTION_EVENT_NEW;
    if (connection->pending_ != Pending::TellOwners ||
        !(newSource || facility == PA_SUBSCRIPTION_EVENT_SERVER)) {
        return;
    }
    // At once, and short again should the source not be ready for us yet.
    connection->CancelTimer();
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
        connection->Schedule(Pending::Reconnect, RetryInterval);
    }
}

#include "platform/posix/wavein/pulse/pulse_session.h"

#include "platform/posix/wavein/pulse/pulse_identity.h"

namespace {

void SignalLoop(pa_context*, void* loop) {
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
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
        if (context_ != nullptr) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
            context_ = nullptr;
        }
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseSession::Connect() {
    loop_ = pa_threaded_mainloop_new();
    if (loop_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    pa_proplist* properties = NewApplicationProperties();
    context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), ApplicationName,
                                            properties);
    pa_proplist_free(properties);
    if (context_ == nullptr) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    pa_context_set_state_callback(context_, SignalLoop, loop_);
    if (pa_threaded_mainloop_start(loop_) < 0) {
        error_ = PA_ERR_INTERNAL;
        return false;
    }
    Lock lock(*this);
    // A missing server means no sound input here; starting one is not ours to do.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error_ = pa_context_errno(context_);
        return false;
    }
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
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(timeout.count()) * PA_USEC_PER_MSEC);
    pa_time_event* timer = api->time_new(api, &when, DeadlinePassed, &deadline);
    while (!done() && !deadline.passed) {
        pa_threaded_mainloop_wait(loop_);
    }
    api->time_free(timer);
    return done();
}

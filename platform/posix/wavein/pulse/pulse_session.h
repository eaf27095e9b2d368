// One connection to the sound server, served by a mainloop thread of its own. Every wait is
// bounded: a server that is missing, stalled or dead costs at most the time-out, never a hang.
// Nothing here autospawns a server.
#pragma once

#include <chrono>
#include <functional>

#include <pulse/pulseaudio.h>

class PulseSession {
public:
    static constexpr std::chrono::milliseconds ConnectTimeout{1500};

    PulseSession() = default;
    // Disconnects and joins the mainloop thread.
    ~PulseSession();
    PulseSession(const PulseSession&) = delete;
    PulseSession& operator=(const PulseSession&) = delete;

    // Connects to the server named by the usual client configuration (PULSE_SERVER and the
    // like). False when none answered in time; Error() then tells why.
    bool Connect();
    // The PulseAudio error code of the last failure (PA_ERR_...).
    int Error() const { return error_; }
    // Whether the connection is up; false once the server has gone.
    bool Ready() const;

    pa_threaded_mainloop* Loop() const { return loop_; }
    pa_context* Context() const { return context_; }

    // With the loop locked: waits until `done` holds, or `timeout` passes. Returns `done()`.
    // Callbacks that change what `done` reads must call pa_threaded_mainloop_signal(Loop(), 0).
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) const;

    // Holds the mainloop lock for a scope.
    class Lock {
    public:
        explicit Lock(const PulseSession& session) : loop_(session.loop_) {
            pa_threaded_mainloop_lock(loop_);
        }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

private:
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    int error_ = PA_OK;
};

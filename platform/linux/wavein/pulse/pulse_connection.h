// The program's one connection to the sound server, served by a mainloop thread of its own: the
// device checks, the format query and every record stream go through it rather than each
// connecting anew. It can be begun ahead, on a thread of its own while the rest of start-up goes
// on, so that the first wave-input call finds it made or waits only for what is left of it.
// Every wait is bounded: a server that is missing, stalled or dead costs at most the time-out,
// never a hang; a client library that is missing or incomplete counts as no server.
// Nothing here autospawns a server. While something depends on it (an open record stream), a
// connection that ends (the server restarted by an upgrade or by the user) is made again as
// soon as a server answers; what fails on a connection that stands (no source to record from)
// is tried again on it when the server announces a source, so the server sees no new clients.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/linux/wavein/pulse/pulse_library.h"

// How this program names itself to the server, so that desktops' sound settings list its
// stream by name and icon.
inline constexpr const char* ApplicationName = "Vibralon";
inline constexpr const char* StreamName = "Vibralon";
// A new property list with the application's name, id, icon and role; the caller frees it.
pa_proplist* NewApplicationProperties();

class PulseConnection {
public:
    // The shared connection, made now when there is none or the one there was has failed; null
    // when no server answered in time, with the PulseAudio error code in `error`
    // (PA_ERR_NOTIMPLEMENTED when the client library could not be loaded).
    static std::shared_ptr<PulseConnection> Shared(int& error);
    // Returns at once: a thread of its own loads the client library and begins the shared
    // connection; given `thenAhead`, it also waits for the connection and, once it is up, runs
    // `thenAhead` over it, for what the first caller will ask of the server. The next Shared()
    // waits for that thread and then for the outcome, never longer than it would have waited
    // anyway. A program that never calls Shared() joins the thread as it exits.
    using AheadWork = std::function<void(const std::shared_ptr<PulseConnection>&)>;
    static void ConnectAhead(AheadWork thenAhead = nullptr);

    static constexpr std::chrono::milliseconds ConnectTimeout{1500};
    // How often a lost connection is tried again, and the first wait before owners try again
    // on a connection that stands.
    static constexpr std::chrono::milliseconds RetryInterval{250};
    // The longest wait between such tries: a source's arrival is announced, so the timer is
    // only a fallback for a failure no announcement ends.
    static constexpr std::chrono::milliseconds MaxOwnerRetryInterval{4000};

    PulseConnection() = default;
    // Disconnects and joins the mainloop thread.
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // Connects to the server named by the usual client configuration (PULSE_SERVER and the
    // like). False when none answered in time; Error() then tells why.
    bool Connect() { return BeginConnecting() && FinishConnecting(); }
    // Connect in two steps, for other work to go on in between: the first starts the mainloop
    // thread and the connection without waiting; the second waits, at most ConnectTimeout, for
    // the outcome. False, with Error() set, when either fails.
    bool BeginConnecting();
    bool FinishConnecting();
    // The PulseAudio error code of the last failure (PA_ERR_...).
    int Error() const { return error_; }
    // Whether the connection is up; false once the server has gone.
    bool Ready() const;
    // The same, with the loop locked (on the mainloop thread, say). While the connection drops
    // its context, which ends that context's streams, there is none and it is not up.
    bool Connected() const;

    pa_threaded_mainloop* Loop() const { return loop_; }
    // With the loop locked: null only while the context is being dropped.
    pa_context* Context() const { return context_; }

    // With the loop locked, once connected: from now on, whenever the connection ends, it is
    // tried again every RetryInterval on the mainloop thread until a server answers; then
    // `reconnected` runs there, with the loop locked, for `owner` to set up again what it had
    // on the old connection.
    void KeepConnectedFor(const void* owner, std::function<void()> reconnected);
    // With the loop locked: `owner` is told no more; with no owner left, tries stop.
    void Release(const void* owner);
    // With the loop locked: gives up the connection and makes it again, as when it ends (for
    // what fails on a connection that still looks good). Does nothing while no owner keeps it.
    void Reconnect();
    // With the loop locked: what an owner had on the connection failed while the connection
    // stands (no source yet, say). The owners are told again, as after a reconnection, once the
    // server announces a new source or a new default, or else after a wait that doubles on each
    // try, from RetryInterval up to MaxOwnerRetryInterval.
    void RetryOwnersLater();
    // With the loop locked: what the owners had works again; the next wait starts short.
    void OwnersSettled() { ownerRetryDelay_ = RetryInterval; }

    // With the loop locked: waits until `done` holds, or `timeout` passes. Returns `done()`.
    // Callbacks that change what `done` reads must signal the loop
    // (Pulse().pa_threaded_mainloop_signal(Loop(), 0)).
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) const;

    // Holds the mainloop lock for a scope.
    class Lock {
    public:
        explicit Lock(const PulseConnection& connection) : loop_(connection.loop_) {
            Pulse().pa_threaded_mainloop_lock(loop_);
        }
        ~Lock() { Pulse().pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

private:
    struct Owner {
        const void* owner;
        std::function<void()> reconnected;
    };

    // What the timer does when it fires: make the connection again, or tell the owners again on
    // the one that stands. A reconnection tells them anyway, so it takes the timer's place.
    enum class Pending { Nothing, Reconnect, TellOwners };

    static void OnContextState(pa_context* context, void* self);
    static void OnTimer(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void OnServerEvent(pa_context*, pa_subscription_event_type_t event, uint32_t,
                              void* self);
    static timeval FromNow(std::chrono::milliseconds delay);
    // A new context on the loop, connecting; false when it could not even start to.
    bool StartConnecting();
    void DropContext();
    // Sets the timer to do `what` after `delay`, in place of what it would have done.
    void Schedule(Pending what, std::chrono::milliseconds delay);
    void CancelTimer();
    void TellOwners();

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    int error_ = PA_OK;
    bool timedOut_ = false;     // waited for in vain once: not waited for again
    std::vector<Owner> owners_; // who keeps the connection up, to be told when it is back
    pa_time_event* timer_ = nullptr;
    Pending pending_ = Pending::Nothing;
    std::chrono::milliseconds ownerRetryDelay_ = RetryInterval;
    bool subscribed_ = false; // to source and server events, on this context
};

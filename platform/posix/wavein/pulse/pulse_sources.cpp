#include "platform/posix/wavein/pulse/pulse_sources.h"

#include <algorithm>

#include "platform/posix/wavein/pulse/pulse_shared_session.h"

namespace {

constexpr std::chrono::milliseconds ReplyTimeout{1500};

struct Listing {
    pa_threaded_mainloop* loop;
    std::string defaultSource{};
    std::vector<WaveInSource> sources{};
    bool haveServerInfo = false;
    bool haveSources = false;
};

void OnServerInfo(pa_context*, const pa_server_info* info, void* data) {
    auto* listing = static_cast<Listing*>(data);
    if (info != nullptr && info->default_source_name != nullptr) {
        listing->defaultSource = info->default_source_name;
    }
    listing->haveServerInfo = true;
    pa_threaded_mainloop_signal(listing->loop, 0);
}

void OnSource(pa_context*, const pa_source_info* info, int last, void* data) {
    auto* listing = static_cast<Listing*>(data);
    if (last != 0 || info == nullptr) {
        listing->haveSources = true;
        pa_threaded_mainloop_signal(listing->loop, 0);
        return;
    }
    listing->sources.push_back(
        {info->name != nullptr ? info->name : "",
         info->description != nullptr ? info->description : (info->name ? info->name : "")});
}

// One listing over `session`; false when it did not answer in time.
bool ListOver(PulseSession& session, Listing& listing) {
    PulseSession::Lock lock(session);
    pa_operation* info = pa_context_get_server_info(session.Context(), OnServerInfo, &listing);
    pa_operation* list = pa_context_get_source_info_list(session.Context(), OnSource, &listing);
    const bool answered =
        info != nullptr && list != nullptr &&
        session.WaitUntil(
            [&] {
                return (listing.haveServerInfo && listing.haveSources) ||
                       pa_context_get_state(session.Context()) != PA_CONTEXT_READY;
            },
            ReplyTimeout) &&
        listing.haveServerInfo && listing.haveSources;
    // Cancelled so that a late reply cannot reach the listing after it is gone.
    for (pa_operation* operation : {info, list}) {
        if (operation != nullptr) {
            if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
                pa_operation_cancel(operation);
            }
            pa_operation_unref(operation);
        }
    }
    return answered;
}

} // namespace

bool ListPulseSources(std::vector<WaveInSource>& sources) {
    int error = PA_OK;
    std::shared_ptr<PulseSession> session = SharedPulseSession(error);
    if (session == nullptr) {
        return false;
    }
    Listing listing{session->Loop()};
    if (!ListOver(*session, listing)) {
        // The server may have gone since the connection was last used: one fresh try.
        if (session->Ready() || (session = SharedPulseSession(error)) == nullptr) {
            return false;
        }
        listing = Listing{session->Loop()};
        if (!ListOver(*session, listing)) {
            return false;
        }
    }
    sources = std::move(listing.sources);
    const auto byDefault = std::find_if(sources.begin(), sources.end(), [&](const WaveInSource& s) {
        return s.name == listing.defaultSource;
    });
    if (byDefault != sources.end()) {
        std::rotate(sources.begin(), byDefault, byDefault + 1);
    }
    // Device 0 records whatever the server's default is when the stream connects.
    if (!sources.empty()) {
        sources.front().name.clear();
    }
    return true;
}

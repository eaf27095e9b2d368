#include "platform/linux/wavein/pulse/pulse_backend.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include <pulse/version.h>

#include "platform/linux/wavein/pulse/pulse_record_stream.h"

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
    Pulse().pa_threaded_mainloop_signal(listing->loop, 0);
}

void OnSource(pa_context*, const pa_source_info* info, int last, void* data) {
    auto* listing = static_cast<Listing*>(data);
    if (last != 0 || info == nullptr) {
        listing->haveSources = true;
        Pulse().pa_threaded_mainloop_signal(listing->loop, 0);
        return;
    }
    listing->sources.push_back(
        {info->name != nullptr ? info->name : "",
         info->description != nullptr ? info->description : (info->name ? info->name : "")});
}

// One listing over `connection`; false when it did not answer in time.
bool ListOver(PulseConnection& connection, Listing& listing) {
    PulseConnection::Lock lock(connection);
    pa_operation* info =
        Pulse().pa_context_get_server_info(connection.Context(), OnServerInfo, &listing);
    pa_operation* list =
        Pulse().pa_context_get_source_info_list(connection.Context(), OnSource, &listing);
    const bool answered =
        info != nullptr && list != nullptr &&
        connection.WaitUntil(
            [&] {
                return (listing.haveServerInfo && listing.haveSources) || !connection.Connected();
            },
            ReplyTimeout) &&
        listing.haveServerInfo && listing.haveSources;
    // Cancelled so that a late reply cannot reach the listing after it is gone.
    for (pa_operation* operation : {info, list}) {
        if (operation != nullptr) {
            if (Pulse().pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
                Pulse().pa_operation_cancel(operation);
            }
            Pulse().pa_operation_unref(operation);
        }
    }
    return answered;
}

// The sources in device order: the default first, named "" (device 0 records whatever the
// server's default is when the stream connects: the server picks it).
std::vector<WaveInSource> InDeviceOrder(Listing& listing) {
    std::vector<WaveInSource> sources = std::move(listing.sources);
    const auto byDefault = std::find_if(sources.begin(), sources.end(), [&](const WaveInSource& s) {
        return s.name == listing.defaultSource;
    });
    if (byDefault != sources.end()) {
        std::rotate(sources.begin(), byDefault, byDefault + 1);
    }
    if (!sources.empty()) {
        sources.front().name.clear();
    }
    return sources;
}

// The listing made on the thread that connects ahead, and the connection it was made over. The
// first listing over that connection takes it; any later one asks the server again, so a
// change since is never missed.
std::mutex listedAheadMutex;
std::weak_ptr<PulseConnection> listedAheadOn;
std::vector<WaveInSource> listedAhead;

void ListAhead(const std::shared_ptr<PulseConnection>& connection) {
    Listing listing{connection->Loop()};
    if (ListOver(*connection, listing)) {
        std::lock_guard lock(listedAheadMutex);
        listedAhead = InDeviceOrder(listing);
        listedAheadOn = connection;
    }
}

bool TakeListedAhead(const std::shared_ptr<PulseConnection>& connection,
                     std::vector<WaveInSource>& sources) {
    std::lock_guard lock(listedAheadMutex);
    const bool taken = listedAheadOn.lock() == connection;
    if (taken) {
        sources = std::move(listedAhead);
    }
    listedAheadOn.reset();
    listedAhead.clear();
    return taken;
}

// False when no server answered in time.
bool ListSources(std::vector<WaveInSource>& sources) {
    int error = PA_OK;
    std::shared_ptr<PulseConnection> connection = PulseConnection::Shared(error);
    if (connection == nullptr) {
        return false;
    }
    if (TakeListedAhead(connection, sources)) {
        return true;
    }
    Listing listing{connection->Loop()};
    if (!ListOver(*connection, listing)) {
        // The server may have gone since the connection was last used: one fresh try.
        if (connection->Ready() || (connection = PulseConnection::Shared(error)) == nullptr) {
            return false;
        }
        listing = Listing{connection->Loop()};
        if (!ListOver(*connection, listing)) {
            return false;
        }
    }
    sources = InDeviceOrder(listing);
    return true;
}

// `format` is one the core accepts (8- or 16-bit PCM, one or two channels); the server converts
// from whatever its source delivers, so every such format records.
pa_sample_spec SampleFormatOf(const WAVEFORMATEX& format) {
    pa_sample_spec sampleFormat{};
    // Windows PCM: 8-bit samples are unsigned, 16-bit ones signed little-endian.
    sampleFormat.format = format.wBitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    sampleFormat.rate = format.nSamplesPerSec;
    sampleFormat.channels = static_cast<uint8_t>(format.nChannels);
    return sampleFormat;
}

MMRESULT Open(const WaveInSource& source, const WAVEFORMATEX& format, WaveInSink& sink,
              WaveInStream*& stream) {
    std::unique_ptr<PulseRecordStream> opened;
    const MMRESULT result =
        PulseRecordStream::Open(source.name, SampleFormatOf(format), sink, opened);
    if (result == MMSYSERR_NOERROR) {
        stream = reinterpret_cast<WaveInStream*>(opened.release());
    }
    return result;
}

// The stream runs from open to close (the core keeps what arrives only while recording), so
// start and stop are the core's defaults.
MMRESULT Close(WaveInStream* stream) {
    delete reinterpret_cast<PulseRecordStream*>(stream);
    return MMSYSERR_NOERROR;
}

constexpr WaveInBackend pulseBackend{.name = "pulseaudio",
                                     .driverVersion = (PA_MAJOR << 8) | PA_MINOR,
                                     .listSources = ListSources,
                                     .open = Open,
                                     .close = Close};

} // namespace

const WaveInBackend& PulseWaveInBackend() {
    return pulseBackend;
}

void ConnectToSoundServerAhead() {
    // The device checks list the sources first: that answer is asked for ahead too.
    PulseConnection::ConnectAhead(ListAhead);
}

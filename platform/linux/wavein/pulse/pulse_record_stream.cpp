#include "platform/linux/wavein/pulse/pulse_record_stream.h"

namespace {

constexpr std::chrono::milliseconds OpenTimeout{2000};
// A block (block_pace::Period) is handed over at most a fifth of a second after its last sample
// was captured; smaller fragments only wake the capture thread more often (at 50 a second that
// thread was most of the tuner's CPU time, at 10 still half of it).
constexpr int FragmentsPerSecond = 5;

// What a sound-server failure means to a wave-input caller.
MMRESULT WaveInResultFromPulse(int pulseError) {
    switch (pulseError) {
    case PA_OK: return MMSYSERR_NOERROR;
    case PA_ERR_BUSY:
    case PA_ERR_TOOLARGE:
        // The source is held exclusively by another client or device user, or takes no more
        // recording streams: either way other programs hold it.
        return MMSYSERR_ALLOCATED;
    case PA_ERR_ACCESS: return MMSYSERR_NOTENABLED;
    case PA_ERR_NOENTITY: return MMSYSERR_BADDEVICEID;
    case PA_ERR_NOTSUPPORTED:
    case PA_ERR_INVALID: return WAVERR_BADFORMAT;
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_CONNECTIONTERMINATED:
    case PA_ERR_TIMEOUT:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_AUTHKEY:
    case PA_ERR_VERSION:
    case PA_ERR_NOTIMPLEMENTED: // no client library to reach a server with
        return MMSYSERR_NODRIVER;
    default: return MMSYSERR_ERROR;
    }
}

} // namespace

MMRESULT PulseRecordStream::Open(const std::string& source, const pa_sample_spec& sampleFormat,
                                 WaveInSink& sink, std::unique_ptr<PulseRecordStream>& opened) {
    int error = PA_OK;
    std::shared_ptr<PulseConnection> connection = PulseConnection::Shared(error);
    if (connection == nullptr) {
        return WaveInResultFromPulse(error);
    }
    std::unique_ptr<PulseRecordStream> device(
        new PulseRecordStream(connection, source, sampleFormat, sink));
    PulseConnection::Lock lock(*connection);
    if (!device->ConnectStream()) {
        return WaveInResultFromPulse(Pulse().pa_context_errno(connection->Context()));
    }
    const bool settled = connection->WaitUntil(
        [&] { return Pulse().pa_stream_get_state(device->stream_) != PA_STREAM_CREATING; },
        OpenTimeout);
    if (!settled) {
        return MMSYSERR_NODRIVER;
    }
    if (Pulse().pa_stream_get_state(device->stream_) != PA_STREAM_READY) {
        const int failure = Pulse().pa_context_errno(connection->Context());
        return failure == PA_OK ? MMSYSERR_ERROR : WaveInResultFromPulse(failure);
    }
    connection->KeepConnectedFor(device.get(), [raw = device.get()] { raw->StreamAgain(); });
    opened = std::move(device);
    return MMSYSERR_NOERROR;
}

bool PulseRecordStream::ConnectStream() {
    pa_proplist* properties = NewApplicationProperties();
    stream_ = Pulse().pa_stream_new_with_proplist(connection_->Context(), StreamName,
                                                  &sampleFormat_, nullptr, properties);
    Pulse().pa_proplist_free(properties);
    if (stream_ == nullptr) {
        return false;
    }
    Pulse().pa_stream_set_state_callback(stream_, OnStateChanged, this);
    Pulse().pa_stream_set_read_callback(stream_, OnReadable, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(-1);
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(Pulse().pa_frame_size(&sampleFormat_) *
                                                (sampleFormat_.rate / FragmentsPerSecond));
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY);
    return Pulse().pa_stream_connect_record(stream_, source_.empty() ? nullptr : source_.c_str(),
                                            &attributes, flags) >= 0;
}

void PulseRecordStream::DropStream() {
    if (stream_ != nullptr) {
        Pulse().pa_stream_set_read_callback(stream_, nullptr, nullptr);
        Pulse().pa_stream_set_state_callback(stream_, nullptr, nullptr);
        Pulse().pa_stream_disconnect(stream_);
        Pulse().pa_stream_unref(stream_);
        stream_ = nullptr;
    }
}

// Mainloop thread, loop locked: the connection is made again, or the stream failed on it.
void PulseRecordStream::StreamAgain() {
    if (stream_ != nullptr && PA_STREAM_IS_GOOD(Pulse().pa_stream_get_state(stream_))) {
        return; // told along with another owner whose stream failed
    }
    // Whatever the old stream began is from before the loss.
    sink_.Lost();
    DropStream();
    if (!ConnectStream()) {
        connection_->Reconnect();
    }
}

PulseRecordStream::~PulseRecordStream() {
    Disconnect();
}

void PulseRecordStream::Disconnect() {
    // Callbacks run on the mainloop thread with the loop locked: once they are cleared under
    // the lock, none can run again. Closing while no server is there waits for none.
    PulseConnection::Lock lock(*connection_);
    connection_->Release(this);
    DropStream();
}

void PulseRecordStream::OnReadable(pa_stream*, size_t, void* self) {
    static_cast<PulseRecordStream*>(self)->ReadAvailable();
}

void PulseRecordStream::OnStateChanged(pa_stream* stream, void* self) {
    auto* device = static_cast<PulseRecordStream*>(self);
    Pulse().pa_threaded_mainloop_signal(device->connection_->Loop(), 0);
    const pa_stream_state_t state = Pulse().pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) {
        device->connection_->OwnersSettled();
    } else if (device->connection_->Context() == nullptr) {
        // Ended with the context the connection is replacing, which tells its owners once the
        // new one is up.
        return;
    } else if (!PA_STREAM_IS_GOOD(state)) {
        // On a working connection the stream failed for want of a source (a server just
        // started, or its source unloaded): a new connection would find none either.
        if (device->connection_->Connected()) {
            device->connection_->RetryOwnersLater();
        } else {
            device->connection_->Reconnect();
        }
    }
}

// Mainloop thread, with the loop locked.
void PulseRecordStream::ReadAvailable() {
    for (;;) {
        const void* data = nullptr;
        size_t bytes = 0;
        if (Pulse().pa_stream_peek(stream_, &data, &bytes) < 0 || bytes == 0) {
            break;
        }
        // A hole (no data, some length) is a gap in the capture: kept as silence so that the
        // blocks stay in step with time.
        sink_.Deliver(data, bytes);
        Pulse().pa_stream_drop(stream_);
    }
}

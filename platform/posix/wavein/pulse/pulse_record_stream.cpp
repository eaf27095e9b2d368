#include "platform/posix/wavein/pulse/pulse_record_stream.h"

#include "platform/posix/wavein/pulse/pulse_errors.h"
#include "platform/posix/wavein/pulse/pulse_identity.h"
#include "platform/posix/wavein/pulse/pulse_shared_session.h"

namespace {

constexpr std::chrono::milliseconds OpenTimeout{2000};
// A block (about 0.37 s at the tuner's rate) is handed over at most a tenth of a second after
// its last sample was captured; smaller fragments only wake the capture thread more often (at
// 50 a second that thread was most of the tuner's CPU time).
constexpr int FragmentsPerSecond = 10;

} // namespace

MMRESULT PulseRecordStream::Open(const std::string& source, const pa_sample_spec& sampleFormat,
                                 WaveInSink& sink, std::unique_ptr<PulseRecordStream>& opened) {
    int error = PA_OK;
    std::shared_ptr<PulseSession> session = SharedPulseSession(error);
    if (session == nullptr) {
        return WaveInResultFromPulse(error);
    }
    std::unique_ptr<PulseRecordStream> device(
        new PulseRecordStream(session, source, sampleFormat, sink));
    PulseSession::Lock lock(*session);
    if (!device->ConnectStream()) {
        return WaveInResultFromPulse(pa_context_errno(session->Context()));
    }
    const bool settled = session->WaitUntil(
        [&] { return pa_stream_get_state(device->stream_) != PA_STREAM_CREATING; }, OpenTimeout);
    if (!settled) {
        return MMSYSERR_NODRIVER;
    }
    if (pa_stream_get_state(device->stream_) != PA_STREAM_READY) {
        const int failure = pa_context_errno(session->Context());
        return failure == PA_OK ? MMSYSERR_ERROR : WaveInResultFromPulse(failure);
    }
    session->KeepConnectedFor(device.get(), [raw = device.get()] { raw->StreamAgain(); });
    opened = std::move(device);
    return MMSYSERR_NOERROR;
}

bool PulseRecordStream::ConnectStream() {
    pa_proplist* properties = NewApplicationProperties();
    stream_ = pa_stream_new_with_proplist(session_->Context(), StreamName, &sampleFormat_, nullptr,
                                          properties);
    pa_proplist_free(properties);
    if (stream_ == nullptr) {
        return false;
    }
    pa_stream_set_state_callback(stream_, OnStateChanged, this);
    pa_stream_set_read_callback(stream_, OnReadable, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(-1);
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(pa_frame_size(&sampleFormat_) *
                                                (sampleFormat_.rate / FragmentsPerSecond));
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY);
    return pa_stream_connect_record(stream_, source_.empty() ? nullptr : source_.c_str(),
                                    &attributes, flags) >= 0;
}

void PulseRecordStream::DropStream() {
    if (stream_ != nullptr) {
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
}

// Mainloop thread, loop locked: the connection is made again, or the stream failed on it.
void PulseRecordStream::StreamAgain() {
    if (stream_ != nullptr && PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) {
        return; // told along with another owner whose stream failed
    }
    DropStream();
    if (!ConnectStream()) {
        session_->Reconnect();
    }
}

PulseRecordStream::~PulseRecordStream() {
    Disconnect();
}

void PulseRecordStream::Disconnect() {
    // Callbacks run on the mainloop thread with the loop locked: once they are cleared under
    // the lock, none can run again. Closing while no server is there waits for none.
    PulseSession::Lock lock(*session_);
    session_->Release(this);
    DropStream();
}

void PulseRecordStream::OnReadable(pa_stream*, size_t, void* self) {
    static_cast<PulseRecordStream*>(self)->ReadAvailable();
}

void PulseRecordStream::OnStateChanged(pa_stream* stream, void* self) {
    auto* device = static_cast<PulseRecordStream*>(self);
    pa_threaded_mainloop_signal(device->session_->Loop(), 0);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) {
        device->session_->OwnersSettled();
    } else if (!PA_STREAM_IS_GOOD(state)) {
        // On a working connection the stream failed for want of a source (a server just
        // started, or its source unloaded): a new connection would find none either.
        if (pa_context_get_state(device->session_->Context()) == PA_CONTEXT_READY) {
            device->session_->RetryOwnersLater();
        } else {
            device->session_->Reconnect();
        }
    }
}

// Mainloop thread, with the loop locked.
void PulseRecordStream::ReadAvailable() {
    for (;;) {
        const void* data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(stream_, &data, &bytes) < 0 || bytes == 0) {
            break;
        }
        // A hole (no data, some length) is a gap in the capture: kept as silence so that the
        // blocks stay in step with time.
        sink_.Deliver(data, bytes);
        pa_stream_drop(stream_);
    }
}

// One record stream on the sound server, delivering what it captures into the wave-input core
// from the connection's mainloop thread (see wave_in_backend.h for the contract). It stays open
// when the server goes away: once a server answers again, the stream is made again with the
// same name, format and source, and sound resumes without the core knowing.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/wavein/pulse/pulse_connection.h"
#include "platform/linux/wavein/wave_in_backend.h"
#include "platform/winapi.h"

class PulseRecordStream {
public:
    // Connects a record stream on `source` (empty: the server's default) at exactly
    // `sampleFormat`, over the program's shared connection. On failure returns the wave-input
    // code.
    static MMRESULT Open(const std::string& source, const pa_sample_spec& sampleFormat,
                         WaveInSink& sink, std::unique_ptr<PulseRecordStream>& opened);

    // Disconnects the stream; once it returns no more sound is delivered. Bounded in time
    // whatever the server does.
    ~PulseRecordStream();
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

private:
    PulseRecordStream(std::shared_ptr<PulseConnection> connection, const std::string& source,
                      const pa_sample_spec& sampleFormat, WaveInSink& sink)
        : connection_(std::move(connection)), source_(source), sampleFormat_(sampleFormat),
          sink_(sink) {}
    static void OnReadable(pa_stream* stream, size_t bytes, void* self);
    static void OnStateChanged(pa_stream* stream, void* self);
    // With the loop locked: a new record stream on the connection; false (with the context's
    // error) when it could not be asked for.
    bool ConnectStream();
    void DropStream();
    void StreamAgain();
    void ReadAvailable();
    void Disconnect();

    std::shared_ptr<PulseConnection> connection_;
    std::string source_; // empty: the server's default
    pa_sample_spec sampleFormat_;
    WaveInSink& sink_;
    pa_stream* stream_ = nullptr;
};

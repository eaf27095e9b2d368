// One open wave-input device over the sound server: a record stream whose sound the mainloop
// thread copies into the queued blocks, in queue order (see block_queue.h for the contract).
// The device stays open when the server goes away: once a server answers again, the stream is
// made again, with the same name, format and source, and blocks resume where they stopped.
#pragma once

#include <memory>
#include <string>

#include "platform/posix/wavein/block_queue.h"
#include "platform/posix/wavein/pulse/pulse_session.h"
#include "platform/winapi.h"

class PulseRecordStream {
public:
    // Connects a record stream on `source` (empty: the server's default) at exactly `sampleFormat`,
    // and sets `event` (may be null) once it is open. On failure returns the wave-input code.
    static MMRESULT Open(const std::string& source, const pa_sample_spec& sampleFormat,
                         HANDLE event, std::unique_ptr<PulseRecordStream>& opened);

    // Tears the stream and the connection down and joins the mainloop thread. Bounded in time
    // whatever the server does.
    ~PulseRecordStream();
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    BlockQueue& Queue() { return queue_; }
    void Start();
    void Stop();
    void Reset();
    // Disconnects and sets the event one last time. Refused while blocks are queued.
    MMRESULT Close();

private:
    PulseRecordStream(const std::string& source, const pa_sample_spec& sampleFormat, HANDLE event)
        : source_(source), sampleFormat_(sampleFormat), event_(event) {}
    static void OnReadable(pa_stream* stream, size_t bytes, void* self);
    static void OnStateChanged(pa_stream* stream, void* self);
    // With the loop locked: a new record stream on the session's connection; false (with the
    // context's error) when it could not be asked for.
    bool ConnectStream();
    void DropStream();
    void StreamAgain();
    void ReadAvailable();
    void Signal(int completedBlocks) const;
    void Disconnect();

    std::string source_; // empty: the server's default
    pa_sample_spec sampleFormat_;
    HANDLE event_;
    BlockQueue queue_;
    PulseSession session_;
    pa_stream* stream_ = nullptr;
};

// One open wave-input device over the sound server: a record stream whose sound the mainloop
// thread copies into the queued blocks, in queue order (see block_queue.h for the contract).
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
    explicit PulseRecordStream(HANDLE event) : event_(event) {}
    static void OnReadable(pa_stream* stream, size_t bytes, void* self);
    static void OnStateChanged(pa_stream* stream, void* self);
    void ReadAvailable();
    void Signal(int completedBlocks) const;
    void Disconnect();

    HANDLE event_;
    BlockQueue queue_;
    PulseSession session_;
    pa_stream* stream_ = nullptr;
};

// What a wave-input back end provides, and what the core (wave_in.cpp) gives it in return.
//
// The core answers every waveIn... call: it checks handles, flags, the format and the headers,
// keeps the handle registry and each device's block queue, sets the event, and refuses what the
// wave-input contract refuses. A back end only lists sources and runs streams; it never sees a
// header or the event.
//
// Threading and stop contract, the same for every back end:
// - listSources, queryFormat, open, start, stop and close run on the caller's thread; the core
//   never calls two of them at once for one stream.
// - Between open and close a back end may call the sink's Deliver and Lost from any one thread
//   of its own. Once close has returned MMSYSERR_NOERROR it never touches the sink again.
// - A stream stays open, as far as the core knows, until close: a back end that loses its
//   server may keep the stream and deliver again later, or deliver nothing; both are fine.
// - No call may wait without bound on a server that stalls or has gone.
// - Inside the core, Deliver touches only queued headers, under the queue's mutex: it copies the
//   sound into the head block, sets dwBytesRecorded, and when the block is full sets WHDR_DONE
//   (clearing WHDR_INQUEUE) with one release store, so that a reader that sees the bit through an
//   acquire load also sees the bytes; only then is the event set. The caller's header calls
//   change only headers the device does not hold, under the same mutex. Reset hands every queued
//   header back done; close is refused while headers are queued.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/winapi.h"

// One capture source, as the sound server names it.
struct WaveInSource {
    std::string name;        // the back end's name for it, to open a stream by (empty: the default)
    std::string description; // what people see in sound settings
};

// Where a back end puts what it captures.
class WaveInSink {
public:
    // Appends `count` captured bytes (null: silence) to the device's queue, head block first;
    // sound that finds no queued block is dropped, as a device with no buffer drops it.
    virtual void Deliver(const void* bytes, std::size_t count) = 0;
    // The input went (its server or its source): the block begun before is not completed with
    // what comes after the return. From the thread that delivers.
    virtual void Lost() = 0;

protected:
    ~WaveInSink() = default;
};

// A back end's open stream; each back end defines its own.
struct WaveInStream;

// A back end's functions; an entry left null gets the core's default, given with it.
struct WaveInBackend {
    const char* name;
    // The version reported in a device's capabilities.
    UINT driverVersion;
    // Fills `sources`, the default source first. False when no server could be reached (the
    // default: a machine without sound input).
    bool (*listSources)(std::vector<WaveInSource>& sources) = nullptr;
    // Whether `source` records `format`, a PCM format the core has already checked (the
    // default: every such format records).
    MMRESULT (*queryFormat)(const WaveInSource& source, const WAVEFORMATEX& format) = nullptr;
    // Opens a stream of `source` in `format` that delivers into `sink` (the default: no driver).
    using OpenFunction = MMRESULT(const WaveInSource& source, const WAVEFORMATEX& format,
                                  WaveInSink& sink, WaveInStream*& stream);
    OpenFunction* open = nullptr;
    // Delivery may begin / should end; the core drops what arrives while not recording anyway
    // (the default: nothing to do).
    void (*start)(WaveInStream* stream) = nullptr;
    void (*stop)(WaveInStream* stream) = nullptr;
    // Ends the stream. On failure the stream stays open and the core keeps its handle (the
    // default: nothing to end).
    MMRESULT (*close)(WaveInStream* stream) = nullptr;
};

// A machine without sound input: no sources, nothing opens.
const WaveInBackend& NullWaveInBackend();

// Makes `backend` the default (once, at start-up, by the program that listens). Without it the
// default is the null back end, so programs that never record link no sound-server library.
void SetDefaultWaveInBackend(const WaveInBackend& backend);

// Selects the back end behind waveIn...; nullptr selects the default. Returns the previous one.
// Select before any device is opened.
const WaveInBackend* SelectWaveInBackend(const WaveInBackend* backend);
const WaveInBackend& CurrentWaveInBackend();

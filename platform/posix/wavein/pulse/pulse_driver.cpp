#include "platform/posix/wavein/pulse/pulse_driver.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>

#include <pulse/version.h>

#include "platform/posix/wavein/pulse/pulse_format.h"
#include "platform/posix/wavein/pulse/pulse_record_stream.h"
#include "platform/posix/wavein/pulse/pulse_sources.h"

namespace {

constexpr DWORD CallbackTypeMask = 0x00070000;
// Every standard format bit, 11.025 to 48 kHz, mono and stereo, 8 and 16 bits: the server
// converts from whatever its source delivers.
constexpr DWORD AllStandardFormats = 0xFFFF;

// Handles we gave out and have not closed, so that a stale or foreign one is refused rather
// than followed.
std::mutex openMutex;
std::set<PulseRecordStream*> openStreams;

PulseRecordStream* Find(HWAVEIN handle) {
    auto* stream = reinterpret_cast<PulseRecordStream*>(handle);
    std::lock_guard lock(openMutex);
    return openStreams.contains(stream) ? stream : nullptr;
}

// Copies `text` into a fixed field, cut at a character boundary so no UTF-8 sequence is split.
void CopyName(const std::string& text, char (&field)[MAXPNAMELEN]) {
    std::size_t length = std::min<std::size_t>(text.size(), MAXPNAMELEN - 1);
    while (length > 0 && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

UINT GetNumDevs() {
    const auto sources = ListPulseSources();
    return sources ? static_cast<UINT>(sources->size()) : 0;
}

MMRESULT GetDevCaps(UINT_PTR device, LPWAVEINCAPSA caps, UINT size) {
    if (caps == nullptr || size == 0) {
        return MMSYSERR_INVALPARAM;
    }
    const auto sources = ListPulseSources();
    if (!sources) {
        return MMSYSERR_NODRIVER;
    }
    const UINT_PTR index = device == WAVE_MAPPER ? 0 : device;
    if (index >= sources->size()) {
        return MMSYSERR_BADDEVICEID;
    }
    WAVEINCAPSA filled{};
    filled.vDriverVersion = (PA_MAJOR << 8) | PA_MINOR;
    CopyName((*sources)[index].description, filled.szPname);
    filled.dwFormats = AllStandardFormats;
    filled.wChannels = 2;
    std::memcpy(caps, &filled, std::min<std::size_t>(size, sizeof filled));
    return MMSYSERR_NOERROR;
}

// The source behind a device number (empty for the default), or why there is none.
MMRESULT SourceName(UINT device, std::string& name) {
    const auto sources = ListPulseSources();
    if (!sources) {
        return MMSYSERR_NODRIVER;
    }
    const UINT index = device == WAVE_MAPPER ? 0 : device;
    if (index >= sources->size()) {
        return MMSYSERR_BADDEVICEID;
    }
    name = index == 0 ? std::string() : (*sources)[index].name;
    return MMSYSERR_NOERROR;
}

MMRESULT Open(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR,
              DWORD flags) {
    if (format == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const bool query = (flags & WAVE_FORMAT_QUERY) != 0;
    const DWORD callbackType = flags & CallbackTypeMask;
    if ((flags & ~(CallbackTypeMask | WAVE_FORMAT_QUERY)) != 0 ||
        (!query && callbackType != CALLBACK_EVENT && callbackType != CALLBACK_NULL)) {
        return MMSYSERR_INVALFLAG;
    }
    if (!query && (handle == nullptr || (callbackType == CALLBACK_EVENT && callback == 0))) {
        return MMSYSERR_INVALPARAM;
    }
    const auto sampleFormat = PulseSampleFormat(*format);
    if (!sampleFormat) {
        return WAVERR_BADFORMAT;
    }
    std::string source;
    if (const MMRESULT found = SourceName(device, source); found != MMSYSERR_NOERROR) {
        return found;
    }
    if (query) {
        return MMSYSERR_NOERROR;
    }
    const HANDLE event =
        callbackType == CALLBACK_EVENT ? reinterpret_cast<HANDLE>(callback) : nullptr;
    std::unique_ptr<PulseRecordStream> stream;
    if (const MMRESULT opened = PulseRecordStream::Open(source, *sampleFormat, event, stream);
        opened != MMSYSERR_NOERROR) {
        return opened;
    }
    std::lock_guard lock(openMutex);
    openStreams.insert(stream.get());
    *handle = reinterpret_cast<HWAVEIN>(stream.release());
    return MMSYSERR_NOERROR;
}

MMRESULT PrepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    PulseRecordStream* stream = Find(handle);
    return stream != nullptr ? stream->Queue().Prepare(header, size) : MMSYSERR_INVALHANDLE;
}

MMRESULT UnprepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    PulseRecordStream* stream = Find(handle);
    return stream != nullptr ? stream->Queue().Unprepare(header, size) : MMSYSERR_INVALHANDLE;
}

MMRESULT AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    PulseRecordStream* stream = Find(handle);
    return stream != nullptr ? stream->Queue().Add(header, size) : MMSYSERR_INVALHANDLE;
}

MMRESULT Start(HWAVEIN handle) {
    PulseRecordStream* stream = Find(handle);
    if (stream == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    stream->Start();
    return MMSYSERR_NOERROR;
}

MMRESULT Stop(HWAVEIN handle) {
    PulseRecordStream* stream = Find(handle);
    if (stream == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    stream->Stop();
    return MMSYSERR_NOERROR;
}

MMRESULT Reset(HWAVEIN handle) {
    PulseRecordStream* stream = Find(handle);
    if (stream == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    stream->Reset();
    return MMSYSERR_NOERROR;
}

MMRESULT Close(HWAVEIN handle) {
    PulseRecordStream* stream = Find(handle);
    if (stream == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (const MMRESULT closed = stream->Close(); closed != MMSYSERR_NOERROR) {
        return closed;
    }
    {
        std::lock_guard lock(openMutex);
        openStreams.erase(stream);
    }
    delete stream;
    return MMSYSERR_NOERROR;
}

constexpr WaveInDriver pulseDriver{"pulseaudio",  GetNumDevs,      GetDevCaps, Open,
                                   PrepareHeader, UnprepareHeader, AddBuffer,  Start,
                                   Stop,          Reset,           Close};

} // namespace

const WaveInDriver& PulseWaveInDriver() {
    return pulseDriver;
}

// The core of wave input: every waveIn... entry point checks its arguments here, once, for every
// back end; the selected back end only lists sources and runs streams (wave_in_backend.h).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

#include "platform/linux/wavein/open_wave_in.h"
#include "platform/linux/wavein/wave_in_backend.h"
#include "platform/linux/wavein/wave_in_format.h"

namespace {

// Every standard format bit, 11.025 to 48 kHz, mono and stereo, 8 and 16 bits.
constexpr DWORD AllStandardFormats = 0xFFFF;

std::atomic<const WaveInBackend*> defaultBackend{nullptr};
std::atomic<const WaveInBackend*> selected{nullptr};

bool ListSources(const WaveInBackend& backend, std::vector<WaveInSource>& sources) {
    return backend.listSources != nullptr && backend.listSources(sources);
}

// The source behind a device number, or why there is none.
MMRESULT FindSource(const WaveInBackend& backend, UINT_PTR device, WaveInSource& source) {
    std::vector<WaveInSource> sources;
    if (!ListSources(backend, sources)) {
        return MMSYSERR_NODRIVER;
    }
    const UINT_PTR index = device == WAVE_MAPPER ? 0 : device;
    if (index >= sources.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    source = std::move(sources[index]);
    return MMSYSERR_NOERROR;
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

} // namespace

const WaveInBackend* SelectWaveInBackend(const WaveInBackend* backend) {
    return selected.exchange(backend);
}

void SetDefaultWaveInBackend(const WaveInBackend& backend) {
    defaultBackend.store(&backend);
}

const WaveInBackend& CurrentWaveInBackend() {
    if (const WaveInBackend* backend = selected.load()) {
        return *backend;
    }
    const WaveInBackend* fallback = defaultBackend.load();
    return fallback != nullptr ? *fallback : NullWaveInBackend();
}

UINT waveInGetNumDevs() {
    std::vector<WaveInSource> sources;
    return ListSources(CurrentWaveInBackend(), sources) ? static_cast<UINT>(sources.size()) : 0;
}

MMRESULT waveInGetDevCapsA(UINT_PTR uDeviceID, LPWAVEINCAPSA pwic, UINT cbwic) {
    const WaveInBackend& backend = CurrentWaveInBackend();
    if (pwic == nullptr || cbwic == 0) {
        return MMSYSERR_INVALPARAM;
    }
    WaveInSource source;
    if (const MMRESULT found = FindSource(backend, uDeviceID, source); found != MMSYSERR_NOERROR) {
        return found;
    }
    WAVEINCAPSA filled{};
    filled.vDriverVersion = backend.driverVersion;
    CopyName(source.description, filled.szPname);
    filled.dwFormats = AllStandardFormats;
    filled.wChannels = 2;
    std::memcpy(pwic, &filled, std::min<std::size_t>(cbwic, sizeof filled));
    return MMSYSERR_NOERROR;
}

MMRESULT waveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                    DWORD_PTR, DWORD fdwOpen) {
    const WaveInBackend& backend = CurrentWaveInBackend();
    // Nothing of ours to take: a device that is not there cannot be waited for here.
    if (const MMRESULT checked = open_devices::CheckOpen(phwi, pwfx, dwCallback, fdwOpen, 0);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    if (!IsRecordableFormat(*pwfx)) {
        return WAVERR_BADFORMAT;
    }
    WaveInSource source;
    if (const MMRESULT found = FindSource(backend, uDeviceID, source); found != MMSYSERR_NOERROR) {
        return found;
    }
    if (fdwOpen & WAVE_FORMAT_QUERY) {
        return backend.queryFormat != nullptr ? backend.queryFormat(source, *pwfx)
                                              : MMSYSERR_NOERROR;
    }
    const HANDLE event = (fdwOpen & CALLBACK_TYPEMASK) == CALLBACK_EVENT
                             ? reinterpret_cast<HANDLE>(dwCallback)
                             : nullptr;
    auto device = std::make_shared<OpenWaveIn>(backend, event);
    // Registered first: the back end may deliver as soon as its stream is open.
    const HWAVEIN handle = open_devices::Add(device);
    if (const MMRESULT opened = device->Open(source, *pwfx); opened != MMSYSERR_NOERROR) {
        open_devices::Remove(handle);
        return opened;
    }
    *phwi = handle;
    return MMSYSERR_NOERROR;
}

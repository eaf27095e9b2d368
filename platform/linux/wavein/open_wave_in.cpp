#include "platform/linux/wavein/open_wave_in.h"

OpenWaveIn::~OpenWaveIn() {
    if (stream_ != nullptr) {
        CloseStream();
    }
}

MMRESULT OpenWaveIn::Open(const WaveInSource& source, const WAVEFORMATEX& format) {
    const MMRESULT opened = backend_.open != nullptr ? backend_.open(source, format, *this, stream_)
                                                     : MMSYSERR_NODRIVER;
    if (opened == MMSYSERR_NOERROR) {
        Signal(1);
    }
    return opened;
}

void OpenWaveIn::Start() {
    queue_.Start();
    if (backend_.start != nullptr) {
        backend_.start(stream_);
    }
}

void OpenWaveIn::Reset() {
    if (backend_.stop != nullptr) {
        backend_.stop(stream_);
    }
    Signal(queue_.Reset());
}

MMRESULT OpenWaveIn::CloseStream() {
    return backend_.close != nullptr ? backend_.close(stream_) : MMSYSERR_NOERROR;
}

MMRESULT OpenWaveIn::Close() {
    if (!queue_.Empty()) {
        return WAVERR_STILLPLAYING;
    }
    if (const MMRESULT closed = CloseStream(); closed != MMSYSERR_NOERROR) {
        return closed;
    }
    stream_ = nullptr;
    Signal(1);
    return MMSYSERR_NOERROR;
}

void OpenWaveIn::Deliver(const void* bytes, std::size_t count) {
    Signal(queue_.Write(bytes, count));
}

void OpenWaveIn::Signal(int completedBlocks) const {
    if (completedBlocks > 0 && event_ != nullptr) {
        SetEvent(event_);
    }
}

#include "capture/recorder.h"

#include <atomic>

namespace {

constexpr UINT HeaderSize = sizeof(WAVEHDR);

} // namespace

Recorder::Recorder(int samplesPerBlock, int sampleRate, int channels, int bitsPerSample)
    : sampleRate_(sampleRate), samplesPerBlock_(samplesPerBlock), channels_(channels),
      bitsPerSample_(bitsPerSample), blockBytes_(samplesPerBlock * channels * bitsPerSample / 8),
      // Zeroed rather than left raw: a block is never read before it is filled, but if it ever
      // were, silence is the harmless answer.
      pool_(std::make_unique<char[]>(static_cast<std::size_t>(BlockCount) * blockBytes_)) {
    for (int k = 0; k < BlockCount; ++k) {
        headers_[k].lpData = BlockData(k);
    }
}

Recorder::~Recorder() {
    Stop();
}

WAVEFORMATEX Recorder::Format() const {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels_);
    format.nSamplesPerSec = static_cast<DWORD>(sampleRate_);
    format.nAvgBytesPerSec = static_cast<DWORD>(channels_ * sampleRate_ * bitsPerSample_ / 8);
    format.nBlockAlign = static_cast<WORD>(channels_ * bitsPerSample_ / 8);
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample_);
    format.cbSize = 0;
    return format;
}

bool Recorder::Start(HANDLE event) {
    const WAVEFORMATEX format = Format();
    if (waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR) {
        MessageBoxA(nullptr, FormatRefusedText, Caption, MB_OK);
        return false;
    }
    device_.status = waveInOpen(&device_.handle, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0,
                                CALLBACK_EVENT);
    if (device_.status != MMSYSERR_NOERROR) {
        char text[ErrorTextLength] = {};
        if (device_.status == MMSYSERR_ALLOCATED) {
            MessageBoxA(nullptr, AllocatedText, Caption, MB_OK);
        } else {
            waveInGetErrorTextA(device_.status, text, ErrorTextLength);
            MessageBoxA(nullptr, text, Caption, MB_OK);
        }
        // The user has been told. Where the layer can wait for a device to come (ours on
        // Windows), capture starts once one is there; a layer that cannot refuses the flag.
        HWAVEIN awaiting{};
        if (device_.status == MMSYSERR_ALLOCATED ||
            waveInOpen(&awaiting, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0,
                       CALLBACK_EVENT | WAVE_OPEN_AWAIT_DEVICE) != MMSYSERR_NOERROR) {
            return false;
        }
        device_.handle = awaiting;
        device_.status = MMSYSERR_NOERROR;
    }
    // Seven blocks go to the device; the eighth is the one the analysis will hold.
    for (int k = 0; k < BlockCount - 1; ++k) {
        QueueBlock(k);
    }
    current_ = 0;
    waveInStart(device_.handle);
    return true;
}

bool Recorder::CurrentBlockDone() const {
    // The device's thread sets the bit; read it through an atomic view so the block's bytes,
    // written before the bit, are visible once it is seen.
    auto& flags = const_cast<DWORD&>(headers_[current_].dwFlags);
    return (std::atomic_ref<DWORD>(flags).load(std::memory_order_acquire) & WHDR_DONE) != 0;
}

void Recorder::BlockDone() {
    waveInUnprepareHeader(device_.handle, &headers_[current_], HeaderSize);
    const int previous = current_ == 0 ? BlockCount - 1 : current_ - 1;
    current_ = current_ == BlockCount - 1 ? 0 : current_ + 1;
    QueueBlock(previous);
}

void Recorder::Stop() {
    if (device_.status == MMSYSERR_NOERROR) {
        waveInReset(device_.handle);
        // Hand every block back from the device before the pool can go.
        for (auto& header : headers_) {
            if (header.dwFlags & WHDR_PREPARED) {
                waveInUnprepareHeader(device_.handle, &header, HeaderSize);
            }
        }
    }
    if (device_.status == MMSYSERR_NOERROR) {
        if (waveInClose(device_.handle) == MMSYSERR_NOERROR) {
            device_.status = WaveInDevice::NotOpen;
        }
    }
}

void Recorder::QueueBlock(int block) {
    WAVEHDR& header = headers_[block];
    header.lpData = BlockData(block);
    header.dwBufferLength = static_cast<DWORD>(blockBytes_);
    header.dwFlags = 0;
    header.dwLoops = 0;
    waveInPrepareHeader(device_.handle, &header, HeaderSize);
    waveInAddBuffer(device_.handle, &header, HeaderSize);
}

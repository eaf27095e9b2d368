#include "platform/win32/wavein/real_wave_in.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

constexpr std::size_t BufferCount = 8;
constexpr UINT HeaderSize = sizeof(WAVEHDR);

} // namespace

struct RealWaveIn::Buffers {
    explicit Buffers(std::size_t bytesEach)
        : headers(BufferCount), bytes(std::make_unique<char[]>(BufferCount * bytesEach)) {
        for (std::size_t k = 0; k < BufferCount; ++k) {
            headers[k].lpData = bytes.get() + k * bytesEach;
            headers[k].dwBufferLength = static_cast<DWORD>(bytesEach);
        }
    }
    // Made once, never resized: the device holds their addresses.
    std::vector<WAVEHDR> headers;
    std::unique_ptr<char[]> bytes;
};

MMRESULT RealWaveIn::Query(UINT device, const WAVEFORMATEX& format, DWORD flags) {
    return waveInOpen(nullptr, device, &format, 0, 0, flags);
}

RealWaveIn::RealWaveIn() = default;

RealWaveIn::~RealWaveIn() {
    Close();
}

MMRESULT RealWaveIn::Open(UINT device, const WAVEFORMATEX& format) {
    const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (event == nullptr) {
        return MMSYSERR_NOMEM;
    }
    HWAVEIN opened = nullptr;
    const MMRESULT result =
        waveInOpen(&opened, device, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        CloseHandle(event);
        return result;
    }
    handle_ = opened;
    event_ = event;
    // A tenth of a second, whole frames.
    const std::size_t frame = format.nBlockAlign > 0 ? format.nBlockAlign : 1;
    const std::size_t bytesEach =
        std::max<std::size_t>(1, format.nAvgBytesPerSec / 10 / frame) * frame;
    buffers_ = std::make_unique<Buffers>(bytesEach);
    next_ = 0;
    return MMSYSERR_NOERROR;
}

void RealWaveIn::QueueBuffers() {
    for (WAVEHDR& header : buffers_->headers) {
        waveInPrepareHeader(handle_, &header, HeaderSize);
        waveInAddBuffer(handle_, &header, HeaderSize);
    }
}

void RealWaveIn::Start() {
    waveInStart(handle_);
}

int RealWaveIn::TakeFilled(const std::function<void(const char*, std::size_t)>& take) {
    int taken = 0;
    for (;;) {
        WAVEHDR& header = buffers_->headers[next_];
        // The system's thread sets the bit after the bytes.
        if ((std::atomic_ref<DWORD>(header.dwFlags).load(std::memory_order_acquire) & WHDR_DONE) ==
            0) {
            return taken;
        }
        take(header.lpData, header.dwBytesRecorded);
        header.dwFlags &= ~WHDR_DONE;
        header.dwBytesRecorded = 0;
        waveInAddBuffer(handle_, &header, HeaderSize);
        next_ = (next_ + 1) % BufferCount;
        ++taken;
    }
}

void RealWaveIn::Close() {
    if (handle_ == nullptr) {
        return;
    }
    // A device that is gone may give nothing back here: its close then decides.
    waveInReset(handle_);
    for (WAVEHDR& header : buffers_->headers) {
        waveInUnprepareHeader(handle_, &header, HeaderSize);
    }
    if (waveInClose(handle_) == MMSYSERR_NOERROR) {
        CloseHandle(event_);
    } else {
        // The device may still write into them and set it (see Close in the header).
        static_cast<void>(buffers_.release());
    }
    buffers_.reset();
    handle_ = nullptr;
    event_ = nullptr;
}

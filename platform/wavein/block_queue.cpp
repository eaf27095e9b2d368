#include "platform/wavein/block_queue.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

// Every change of dwFlags goes through an atomic view: the analysis thread reads the done bit
// without taking our mutex.
std::atomic_ref<DWORD> Flags(WAVEHDR* header) {
    return std::atomic_ref<DWORD>(header->dwFlags);
}

bool Usable(const WAVEHDR* header, UINT size) {
    return header != nullptr && size >= sizeof(WAVEHDR) && header->lpData != nullptr;
}

} // namespace

MMRESULT BlockQueue::Prepare(WAVEHDR* header, UINT size) {
    return MarkPrepared(header, size, true);
}

MMRESULT BlockQueue::Unprepare(WAVEHDR* header, UINT size) {
    return MarkPrepared(header, size, false);
}

MMRESULT BlockQueue::MarkPrepared(WAVEHDR* header, UINT size, bool prepared) {
    if (!Usable(header, size)) {
        return MMSYSERR_INVALPARAM;
    }
    std::lock_guard lock(mutex_);
    auto flags = Flags(header);
    const DWORD now = flags.load(std::memory_order_relaxed);
    // A queued block belongs to the device: neither prepared nor released under it.
    if (now & WHDR_INQUEUE) {
        return WAVERR_STILLPLAYING;
    }
    flags.store(prepared ? now | WHDR_PREPARED : now & ~WHDR_PREPARED, std::memory_order_relaxed);
    return MMSYSERR_NOERROR;
}

MMRESULT BlockQueue::Add(WAVEHDR* header, UINT size) {
    if (!Usable(header, size) || header->dwBufferLength == 0) {
        return MMSYSERR_INVALPARAM;
    }
    std::lock_guard lock(mutex_);
    auto flags = Flags(header);
    const DWORD now = flags.load(std::memory_order_relaxed);
    if (!(now & WHDR_PREPARED)) {
        return WAVERR_UNPREPARED;
    }
    if (now & WHDR_INQUEUE) {
        return WAVERR_STILLPLAYING;
    }
    header->dwBytesRecorded = 0;
    header->lpNext = nullptr;
    flags.store((now & ~WHDR_DONE) | WHDR_INQUEUE, std::memory_order_relaxed);
    if (tail_ != nullptr) {
        tail_->lpNext = header;
    } else {
        head_ = header;
    }
    tail_ = header;
    return MMSYSERR_NOERROR;
}

void BlockQueue::Start() {
    std::lock_guard lock(mutex_);
    recording_ = true;
}

int BlockQueue::Reset() {
    std::lock_guard lock(mutex_);
    recording_ = false;
    int completed = 0;
    while (head_ != nullptr) {
        CompleteHead();
        ++completed;
    }
    return completed;
}

int BlockQueue::Write(const void* bytes, std::size_t count) {
    std::lock_guard lock(mutex_);
    if (!recording_) {
        return 0;
    }
    const auto* source = static_cast<const char*>(bytes);
    int completed = 0;
    while (count > 0 && head_ != nullptr) {
        WAVEHDR* block = head_;
        const std::size_t room = block->dwBufferLength - block->dwBytesRecorded;
        const std::size_t taken = std::min(room, count);
        char* target = block->lpData + block->dwBytesRecorded;
        if (source != nullptr) {
            std::memcpy(target, source, taken);
            source += taken;
        } else {
            std::memset(target, 0, taken);
        }
        block->dwBytesRecorded += static_cast<DWORD>(taken);
        count -= taken;
        if (block->dwBytesRecorded == block->dwBufferLength) {
            CompleteHead();
            ++completed;
        }
    }
    return completed;
}

void BlockQueue::DropBegun() {
    std::lock_guard lock(mutex_);
    if (head_ != nullptr) {
        head_->dwBytesRecorded = 0;
    }
}

bool BlockQueue::Empty() const {
    std::lock_guard lock(mutex_);
    return head_ == nullptr;
}

void BlockQueue::CompleteHead() {
    WAVEHDR* block = head_;
    head_ = block->lpNext;
    if (head_ == nullptr) {
        tail_ = nullptr;
    }
    block->lpNext = nullptr;
    // Release: the bytes and dwBytesRecorded written above are visible to whoever sees the bit.
    auto flags = Flags(block);
    const DWORD now = flags.load(std::memory_order_relaxed);
    flags.store((now & ~WHDR_INQUEUE) | WHDR_DONE, std::memory_order_release);
}

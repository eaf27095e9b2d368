// Captures PCM from wave-input device 0 into a ring of eight equal blocks, seven of them queued
// with the device, and hands the completed blocks to the analysis one at a time, in order.
#pragma once

#include <memory>

#include "capture/wave_in_device.h"
#include "platform/winapi.h"

class Recorder {
public:
    static constexpr int BlockCount = 8;
    // Text shown when the device is held by another program. Word for word what this box has
    // always said, the program it names included, so that a user who has met it before, or looks
    // it up, finds the same words.
    static constexpr const char* AllocatedText =
        "Another application is recording audio. Stop recording with this other application and "
        "then try to record with Sonarith again.";
    static constexpr const char* Caption = "Recorder";
    static constexpr const char* FormatRefusedText = "Format not supported";
    static constexpr UINT ErrorTextLength = 164;

    Recorder(int samplesPerBlock, int sampleRate, int channels, int bitsPerSample);
    virtual ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens device 0 signalling `event`, queues seven blocks and starts recording. On failure the
    // user has been told (a message box) and false is returned, unless the device is only not
    // there yet and the layer waits for it (ours on Windows): then recording starts once it is.
    bool Start(HANDLE event);
    // Whether the device has filled the current block; read afresh, the device sets it.
    bool CurrentBlockDone() const;
    // Takes the current block from the device, re-queues the block taken before and moves on.
    void BlockDone();
    // Ends recording and closes the device; a second call makes no device call.
    void Stop();

    // Decodes sample `index` of a block of this recorder's format.
    virtual int GetSample(const char* data, int index) const = 0;

    WAVEFORMATEX Format() const;
    int SampleRate() const { return sampleRate_; }
    int SamplesPerBlock() const { return samplesPerBlock_; }
    int BlockBytes() const { return blockBytes_; }
    int Current() const { return current_; }
    const char* CurrentBlockData() const { return BlockData(current_); }
    char* BlockData(int block) const { return pool_.get() + block * blockBytes_; }
    const WAVEHDR& Header(int block) const { return headers_[block]; }

private:
    void QueueBlock(int block);

    WaveInDevice device_;
    int sampleRate_;
    int samplesPerBlock_;
    int channels_;
    int bitsPerSample_;
    int blockBytes_;
    int current_ = 0;
    std::unique_ptr<char[]> pool_;
    WAVEHDR headers_[BlockCount]{};
};

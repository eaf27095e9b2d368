#include "worker/display.h"

#include "analysis/block_analysis.h"
#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"

Display::Display(bool createSuspended, int blockLength, int sampleRate, int fftLength,
                 TunerView& view)
    : recorder_(new RecorderM16(blockLength, sampleRate)), fft_(new Fft(fftLength, sampleRate)),
      view_(view) {
    if (!createSuspended) {
        Resume();
    }
}

Display::~Display() {
    // The owner normally stopped us already; a worker destroyed while running is stopped here.
    if (!stop_.load(std::memory_order_acquire)) {
        Stop();
    }
    WaitFor();
}

bool Display::Start() {
    Lock lock(mutex_);
    return recorder_->Start(event_.Handle());
}

void Display::Stop() {
    stop_.store(true, std::memory_order_release);
    updates_.Stop();
    event_.Signal();
}

int Display::DeliverUpdates() {
    return updates_.Drain(view_);
}

void Display::Execute() {
    // A failed wait would return at once forever; ending the thread is better than spinning.
    while (event_.Wait()) {
        if (stop_.load(std::memory_order_acquire)) {
            return;
        }
        {
            Lock lock(mutex_);
            // The done bit, not the event, says whether a block is ready: the event is also set
            // on open, and completions may have merged into one setting. One block per wake-up;
            // a block left over is taken at the next setting.
            if (recorder_->CurrentBlockDone()) {
                ProcessBlock();
            }
        }
    }
}

void Display::ProcessBlock() {
    // Made before BlockDone, which moves current on; the block stays ours until the next one.
    SampleIter iter(*recorder_);
    recorder_->BlockDone();
    const bool lit = ToggleLamp();
    const BlockAnalysis block =
        AnalyseBlock(*fft_, iter, [this] { return view_.SelectedString(); });
    updates_.PushBlock(lit, block.reading, block.frequency);
}

bool Display::ToggleLamp() {
    // The first block shows the lamp lit.
    const bool lit = lampState_;
    lampState_ = !lampState_;
    return lit;
}

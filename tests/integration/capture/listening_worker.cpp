#include "listening_worker.h"

#include "capture/sample_iter.h"

ListeningWorker::ListeningWorker(Recorder& recorder)
    : recorder_(recorder), event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      fft_(recorder.SamplesPerBlock(), recorder.SampleRate()), thread_([this] { Run(); }) {}

ListeningWorker::~ListeningWorker() {
    // The device sets the event until it is closed, so the recorder stops before the event
    // goes (also when a failed test leaves it running).
    Stop();
    {
        std::lock_guard lock(lock_);
        quit_ = true;
    }
    SetEvent(event_);
    thread_.join();
    CloseHandle(event_);
}

bool ListeningWorker::Start() {
    std::lock_guard lock(lock_);
    return recorder_.Start(event_);
}

void ListeningWorker::Stop() {
    std::lock_guard lock(lock_);
    recorder_.Stop();
    // Reset hands the queued blocks back marked done; they are not sound to analyse.
    stopped_ = true;
}

bool ListeningWorker::WaitForBlocks(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(lock_);
    return heardMore_.wait_for(lock, timeout, [&] { return heard_.size() >= count; });
}

std::vector<HeardBlock> ListeningWorker::Heard() const {
    std::lock_guard lock(lock_);
    return heard_;
}

void ListeningWorker::Run() {
    for (;;) {
        WaitForSingleObject(event_, INFINITE);
        std::lock_guard lock(lock_);
        if (quit_) {
            return;
        }
        while (!stopped_ && recorder_.CurrentBlockDone()) {
            const int position = recorder_.Current();
            SampleIter iter(recorder_);
            recorder_.BlockDone();
            fft_.CopyIn(iter);
            fft_.Transform();
            heard_.push_back({position, fft_.GetFrequency(), std::chrono::steady_clock::now()});
        }
        heardMore_.notify_all();
    }
}

// A stand-in for the analysis thread: waits on the recorder's event and, under its lock, takes
// every completed block in order, finding its strongest frequency with the real Fft.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/fft.h"
#include "capture/recorder.h"

struct HeardBlock {
    int position;                                // ring position the block came from
    int frequency;                               // strongest frequency, whole hertz
    std::chrono::steady_clock::time_point taken; // when the worker took it
};

class ListeningWorker {
public:
    explicit ListeningWorker(Recorder& recorder);
    // Stops the recorder, ends the thread (it wakes on its event) and closes the event.
    ~ListeningWorker();
    ListeningWorker(const ListeningWorker&) = delete;
    ListeningWorker& operator=(const ListeningWorker&) = delete;

    // Starts the recorder under the worker's lock, as the program does.
    bool Start();
    // Stops the recorder under the worker's lock; blocks handed back by the stop are ignored.
    void Stop();
    // Waits until `count` blocks were heard or `timeout` passed; true if they were.
    bool WaitForBlocks(std::size_t count, std::chrono::milliseconds timeout);
    std::vector<HeardBlock> Heard() const;

private:
    void Run();

    Recorder& recorder_;
    HANDLE event_;
    Fft fft_;
    mutable std::mutex lock_;
    std::condition_variable heardMore_;
    std::vector<HeardBlock> heard_;
    bool quit_ = false;
    bool stopped_ = false;
    std::thread thread_;
};

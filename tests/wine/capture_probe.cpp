// Runs the tuner's capture path on Windows and prints what it saw, one fact a line, for the
// Wine capture test to judge. Console program; every line is flushed at once.
//
//   capture_probe devices          devices N / capabilities R / query R (R: MMRESULT)
//   capture_probe ring SECONDS     the Recorder alone: "block POSITION MILLISECONDS HERTZ"
//   capture_probe worker SECONDS   the analysis worker, updates applied on this thread:
//                                  "lamp MILLISECONDS 0|1" and "reading MILLISECONDS FRAME STEP
//                                  DIRECTION"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/fft.h"
#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"
#include "platform/winapi.h"
#include "worker/display.h"
#include "worker/event.h"

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

int Devices() {
    std::printf("devices %u\n", waveInGetNumDevs());
    WAVEINCAPSA caps{};
    std::printf("capabilities %u\n", waveInGetDevCapsA(0, &caps, sizeof caps));
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, Display::SampleRate, 2 * Display::SampleRate, 2, 16, 0};
    std::printf("query %u\n", waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY));
    return 0;
}

// The worker's part done in miniature on this thread: every completed block, in ring order.
int Ring(int seconds) {
    RecorderM16 recorder(Display::BlockLength, Display::SampleRate);
    Fft fft(Display::FftLength, Display::SampleRate);
    Event event;
    const Clock::time_point start = Clock::now();
    if (!recorder.Start(event.Handle())) {
        std::printf("start failed\n");
        return 1;
    }
    const long end = seconds * 1000L;
    while (MillisecondsSince(start) < end) {
        if (WaitForSingleObject(event.Handle(), 1000) != WAIT_OBJECT_0) {
            continue;
        }
        while (recorder.CurrentBlockDone() && MillisecondsSince(start) < end) {
            const int position = recorder.Current();
            SampleIter iter(recorder);
            recorder.BlockDone();
            fft.CopyIn(iter);
            fft.Transform();
            std::printf("block %d %ld %d\n", position, MillisecondsSince(start),
                        fft.GetFrequency());
            std::fflush(stdout);
        }
    }
    recorder.Stop();
    return 0;
}

class PrintingView final : public TunerView {
public:
    explicit PrintingView(Clock::time_point start) : start_(start) {}

    int SelectedString() const override { return 1; } // A5
    void ShowLamp(bool lit) override {
        std::printf("lamp %ld %d\n", MillisecondsSince(start_), lit ? 1 : 0);
        std::fflush(stdout);
    }
    void ShowReading(const TunerReading& reading) override {
        std::printf("reading %ld %d %d %d\n", MillisecondsSince(start_), reading.frame,
                    reading.step, reading.direction);
        std::fflush(stdout);
    }

private:
    Clock::time_point start_;
};

// Sets an event the UI thread waits on.
class EventWaker final : public UiWaker {
public:
    void Wake() override { event.Signal(); }
    Event event;
};

// The window's part of the worker's lifecycle, with this thread as the UI thread.
int Worker(int seconds) {
    const Clock::time_point start = Clock::now();
    PrintingView view(start);
    EventWaker uiWake;
    Display display(true, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
    display.SetUpdateWaker(&uiWake);
    display.Resume();
    if (!display.Start()) {
        std::printf("start failed\n");
    }
    while (MillisecondsSince(start) < seconds * 1000L) {
        if (WaitForSingleObject(uiWake.event.Handle(), 200) == WAIT_OBJECT_0) {
            display.DeliverUpdates();
        }
    }
    display.Stop();
    display.WaitFor();
    std::printf("stopped\n");
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: capture_probe devices | ring SECONDS | worker SECONDS\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "devices") == 0) {
        return Devices();
    }
    if (argc != 3) {
        return Usage();
    }
    const int seconds = std::atoi(argv[2]);
    if (seconds <= 0) {
        return Usage();
    }
    if (std::strcmp(argv[1], "ring") == 0) {
        return Ring(seconds);
    }
    if (std::strcmp(argv[1], "worker") == 0) {
        return Worker(seconds);
    }
    return Usage();
}

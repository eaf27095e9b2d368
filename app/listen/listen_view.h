// What vibralon-listen does with the worker's readings: a line for each change of reading (or
// each block), in the words a screen reader is given, or as JSON for programs. It is the
// worker's view, shown on the thread that drains the updates; "Not listening" and "Listening"
// follow the window's rule: no block for ListeningTimeout, then blocks again.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "ui/a11y/reading_words.h"
#include "worker/tuner_view.h"

class ListenView final : public TunerView {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds ListeningTimeout = a11y::ListeningTimeout;

    struct Options {
        int selectedString = -1;
        bool everyBlock = false;
        bool json = false;
        // Each line written over the last (a terminal); JSON always gets whole lines.
        bool inPlace = false;
    };

    ListenView(const Options& options, std::FILE* out, Clock::time_point start);

    // Read by the worker in each block; fixed for the run, so a plain read.
    int SelectedString() const override { return options_.selectedString; }
    void ShowLamp(bool) override {}
    void ShowReading(const TunerReading& reading) override { ShowHeard(reading, 0); }
    void ShowHeard(const TunerReading& reading, int frequency) override;

    // Says "Not listening" once no block has come for ListeningTimeout.
    void Tick(Clock::time_point now);
    // When Tick next has something to check: nothing until a block comes, once it has said
    // "Not listening".
    Clock::time_point NextCheck() const {
        return listening_ ? lastBlock_ + ListeningTimeout : Clock::time_point::max();
    }
    // Ends a line left open in place, so the shell's prompt starts on its own line.
    void Finish();
    // Whether every line so far was written whole.
    bool WriteFailed() const { return std::ferror(out_) != 0; }

private:
    // `line` is printed unless it repeats the last (or every block is asked for).
    void Print(const std::string& line, const std::string& json, bool always);

    Options options_;
    std::FILE* out_;
    Clock::time_point start_;
    Clock::time_point lastBlock_;
    bool listening_ = true;
    std::string last_;
    std::size_t inPlaceWidth_ = 0;
};

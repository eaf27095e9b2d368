// Runs the tuner's own analysis over a stream of 11025 Hz samples, one 4096-sample block at a
// time, and prints one line per block: block, hertz, frame, step, direction, and the words a
// screen reader is given for it.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>

#include "analysis/fft.h"
#include "capture/recorder_m16.h"

class BlockScanner {
public:
    static constexpr int SampleRate = 11025;
    static constexpr int BlockSamples = 4096;
    static constexpr const char* Header = "block\thz\tframe\tstep\tdirection\twords";

    // Prints the header line at once. `selectedString` is -1 for none, else 0..5.
    BlockScanner(int selectedString, std::ostream& out);

    // Appends samples; every block they complete is analysed and printed. A trailing part block
    // is never analysed.
    void Push(std::span<const std::int16_t> samples);

    int BlocksScanned() const { return blocks_; }

private:
    void AnalyseBlock();

    int selectedString_;
    std::ostream& out_;
    // The samples travel as capture delivers them: little-endian bytes in a recorder's block,
    // read back through a SampleIter. The recorder's device is never opened.
    RecorderM16 recorder_{BlockSamples, SampleRate};
    Fft fft_{BlockSamples, SampleRate};
    int filled_ = 0;
    int blocks_ = 0;
};

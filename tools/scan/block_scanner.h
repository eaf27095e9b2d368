// Runs the tuner's own analysis over a stream of 11025 Hz samples, one 4096-sample block at a
// time, and shows each block to a tuner view as the worker does: the view's selected string is
// read for the block, then the lamp and the reading with its frequency are shown.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>

#include "analysis/fft.h"
#include "capture/recorder_m16.h"
#include "worker/tuner_view.h"

class BlockScanner {
public:
    static constexpr int SampleRate = 11025;
    static constexpr int BlockSamples = 4096;

    // `view` must outlive the scanner.
    explicit BlockScanner(TunerView& view) : view_(view) {}

    // Appends samples; every block they complete is analysed and printed. A trailing part block
    // is never analysed.
    void Push(std::span<const std::int16_t> samples);

    int BlocksScanned() const { return blocks_; }

private:
    void AnalyseBlock();

    TunerView& view_;
    bool lit_ = true;
    // The samples travel as capture delivers them: little-endian bytes in a recorder's block,
    // read back through a SampleIter. The recorder's device is never opened.
    RecorderM16 recorder_{BlockSamples, SampleRate};
    Fft fft_{BlockSamples, SampleRate};
    int filled_ = 0;
    int blocks_ = 0;
};

// Prints one line per block: block, hertz, frame, step, direction, and the words a screen reader
// is given for it.
class ScanPrinter final : public TunerView {
public:
    static constexpr const char* Header = "block\thz\tframe\tstep\tdirection\twords";

    // Prints the header line at once. `selectedString` is -1 for none, else 0..5.
    ScanPrinter(int selectedString, std::ostream& out);

    int SelectedString() const override { return selectedString_; }
    void ShowLamp(bool) override {}
    void ShowReading(const TunerReading& reading) override { ShowHeard(reading, 0); }
    void ShowHeard(const TunerReading& reading, int frequency) override;

private:
    int selectedString_;
    std::ostream& out_;
    int blocks_ = 0;
};

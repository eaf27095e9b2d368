#include "tools/scan/block_scanner.h"

#include "analysis/block_analysis.h"
#include "capture/sample_iter.h"
#include "ui/a11y/reading_words.h"

void BlockScanner::Push(std::span<const std::int16_t> samples) {
    char* const block = recorder_.BlockData(recorder_.Current());
    for (const std::int16_t sample : samples) {
        const auto bits = static_cast<std::uint16_t>(sample);
        block[2 * filled_] = static_cast<char>(bits & 0xFF);
        block[2 * filled_ + 1] = static_cast<char>(bits >> 8);
        if (++filled_ == BlockSamples) {
            AnalyseBlock();
            filled_ = 0;
        }
    }
}

void BlockScanner::AnalyseBlock() {
    SampleIter iter(recorder_);
    const auto [hertz, reading] =
        ::AnalyseBlock(fft_, iter, [this] { return view_.SelectedString(); });
    view_.ShowLamp(lit_);
    lit_ = !lit_;
    view_.ShowHeard(reading, hertz);
    ++blocks_;
}

ScanPrinter::ScanPrinter(int selectedString, std::ostream& out)
    : selectedString_(selectedString), out_(out) {
    out_ << Header << '\n';
}

void ScanPrinter::ShowHeard(const TunerReading& reading, int frequency) {
    out_ << blocks_ << '\t' << frequency << '\t' << reading.frame << '\t' << reading.step << '\t'
         << reading.direction << '\t'
         << a11y::Words(a11y::Describe(reading, frequency, selectedString_)) << '\n';
    ++blocks_;
}

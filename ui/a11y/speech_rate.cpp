#include "ui/a11y/speech_rate.h"

#include <algorithm>
#include <array>

namespace a11y {

namespace {

struct Timing {
    double wordsPerMinute;
    double pace; // against espeak-ng at Orca's default rate
};

// "notification A, 4 flat, tune down." said by espeak-ng at each speed, against 176 words a
// minute (Orca's default); past its normal speed espeak-ng speeds up more than in proportion.
constexpr std::array<Timing, 10> Measured{{
    {80, 2.29},
    {100, 1.90},
    {125, 1.48},
    {150, 1.20},
    {176, 1.00},
    {220, 0.76},
    {260, 0.62},
    {300, 0.50},
    {393, 0.34},
    {449, 0.30},
}};

// speech-dispatcher's espeak-ng module: its rate -100..100 over these speeds.
constexpr double SlowestWords = 80;
constexpr double NormalWords = 170;
constexpr double FastestWords = 449;

} // namespace

double PaceAtOrcaRate(double rate) {
    // Orca asks speech-dispatcher for 2 * rate - 98, its rate kept within 0..99.
    const double dispatcherRate = 2.0 * std::clamp(rate, 0.0, 99.0) - 98.0;
    const double words = dispatcherRate < 0
                             ? NormalWords + (NormalWords - SlowestWords) * dispatcherRate / 100
                             : NormalWords + (FastestWords - NormalWords) * dispatcherRate / 100;
    auto above = std::find_if(Measured.begin(), Measured.end(),
                              [words](const Timing& t) { return t.wordsPerMinute >= words; });
    if (above == Measured.begin()) {
        return above->pace;
    }
    if (above == Measured.end()) {
        return Measured.back().pace;
    }
    const Timing& below = *(above - 1);
    const double along =
        (words - below.wordsPerMinute) / (above->wordsPerMinute - below.wordsPerMinute);
    return below.pace + along * (above->pace - below.pace);
}

} // namespace a11y

#include "analysis/string_partials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "analysis/block_analysis.h"
#include "analysis/note_table.h"
#include "capture/recorder_m16.h"

namespace {

constexpr int BlockLength = 4096;
constexpr int SampleRate = 11025;
// The note table's first entry, C at 65 Hz, is MIDI note 36.
constexpr int FirstMidiNote = 36;
constexpr int MidiA440 = 69;
// The low E aims at its second partial; every other string at its first.
constexpr std::array<int, StringCount> TargetPartial{2, 1, 1, 1, 1, 1};
constexpr int HighestMultiple = 6;

// The tuner's reading of an exact tone, through the same recorder block, transform and table
// as a captured block.
class ToneReader {
public:
    NoteMatch Read(double hertz) {
        char* block = recorder_.BlockData(recorder_.Current());
        for (int n = 0; n < BlockLength; ++n) {
            const double phase = 2.0 * std::numbers::pi * hertz * n / SampleRate;
            const auto sample = static_cast<std::int16_t>(std::lround(8000.0 * std::sin(phase)));
            const auto bits = static_cast<std::uint16_t>(sample);
            block[2 * n] = static_cast<char>(bits & 0xFF);
            block[2 * n + 1] = static_cast<char>(bits >> 8);
        }
        SampleIter iter(recorder_);
        return MatchNote(BlockFrequency(fft_, iter));
    }

private:
    RecorderM16 recorder_{BlockLength, SampleRate};
    Fft fft_{BlockLength, SampleRate};
};

std::vector<PartialReadings> WorkOut(int string, ToneReader& reader) {
    std::vector<PartialReadings> partials;
    const double target = TargetFrequency(string);
    const int firstHalves = TargetPartial[static_cast<std::size_t>(string)] == 2 ? 1 : 2;
    for (int halves = firstHalves; halves <= 2 * HighestMultiple; halves += halves < 2 ? 1 : 2) {
        const double hertz = target * halves / 2.0;
        PartialReadings partial{halves, 0, 0};
        bool named = true;
        bool first = true;
        // The reading only grows with the frequency, so the ends and the middle bound it.
        for (const double cents : {-InTuneCents, 0.0, InTuneCents}) {
            const NoteMatch match = reader.Read(hertz * std::exp2(cents / 1200.0));
            if (match.note == NoteMatch::NoNote) {
                named = false;
                break;
            }
            partial.lowest = first ? match.Position() : std::min(partial.lowest, match.Position());
            partial.highest = std::max(partial.highest, match.Position());
            first = false;
        }
        if (named) {
            partials.push_back(partial);
        }
    }
    return partials;
}

} // namespace

double TargetFrequency(int string) {
    const int midi = FirstMidiNote + StringTargets[static_cast<std::size_t>(string)];
    return 440.0 * std::exp2((midi - MidiA440) / 12.0);
}

const std::vector<PartialReadings>& AtPitchReadings(int string) {
    static const std::array<std::vector<PartialReadings>, StringCount> table = [] {
        std::array<std::vector<PartialReadings>, StringCount> strings;
        ToneReader reader;
        for (int s = 0; s < StringCount; ++s) {
            strings[static_cast<std::size_t>(s)] = WorkOut(s, reader);
        }
        return strings;
    }();
    static const std::vector<PartialReadings> none;
    if (string < 0 || string >= StringCount) {
        return none;
    }
    return table[static_cast<std::size_t>(string)];
}

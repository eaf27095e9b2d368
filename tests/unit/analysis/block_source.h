// Feeds chosen samples to an Fft the way capture does: through a recorder's block and a SampleIter.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/fft.h"
#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"

class BlockSource {
public:
    explicit BlockSource(int samplesPerBlock) : recorder_(samplesPerBlock, 11025) {}

    // Writes the samples little-endian into the recorder's current block (the rest stays as it
    // was).
    void Fill(const std::vector<int>& samples) {
        char* block = recorder_.BlockData(recorder_.Current());
        for (std::size_t k = 0; k < samples.size(); ++k) {
            const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(samples[k]));
            block[2 * k] = static_cast<char>(bits & 0xFF);
            block[2 * k + 1] = static_cast<char>(bits >> 8);
        }
    }

    SampleIter Iter() const { return SampleIter(recorder_); }

    // Fill, then one CopyIn through a fresh iterator; returns the iterator as CopyIn left it.
    SampleIter Feed(Fft& fft, const std::vector<int>& samples) {
        Fill(samples);
        SampleIter iter = Iter();
        fft.CopyIn(iter);
        return iter;
    }

private:
    RecorderM16 recorder_;
};

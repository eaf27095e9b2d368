// Converts a mono stream to the tuner's 11025 Hz with libsamplerate, chunk by chunk.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SRC_STATE_tag;

class Resampler {
public:
    // A converter from `fromRate` to `toRate`, or nothing with `error` set when the ratio is
    // beyond what libsamplerate can do.
    static std::optional<Resampler> Create(int fromRate, int toRate, std::string& error);

    // Converts `input` and appends the result to `output`; `last` flushes what the filter holds.
    bool Process(const std::vector<float>& input, bool last, std::vector<float>& output,
                 std::string& error);

private:
    struct Deleter {
        void operator()(SRC_STATE_tag* state) const;
    };

    Resampler(SRC_STATE_tag* state, double ratio) : state_(state), ratio_(ratio) {}

    std::unique_ptr<SRC_STATE_tag, Deleter> state_;
    double ratio_;
    std::vector<float> chunk_;
};

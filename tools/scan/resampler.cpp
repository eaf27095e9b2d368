#include "tools/scan/resampler.h"

#include <cmath>

#include <samplerate.h>

void Resampler::Deleter::operator()(SRC_STATE_tag* state) const {
    src_delete(state);
}

std::optional<Resampler> Resampler::Create(int fromRate, int toRate, std::string& error) {
    const double ratio = static_cast<double>(toRate) / fromRate;
    if (!src_is_valid_ratio(ratio)) {
        error = "cannot resample from " + std::to_string(fromRate) + " Hz to " +
                std::to_string(toRate) + " Hz";
        return std::nullopt;
    }
    int failure = 0;
    SRC_STATE* state = src_new(SRC_SINC_MEDIUM_QUALITY, 1, &failure);
    if (state == nullptr) {
        error = std::string("cannot start the resampler (") + src_strerror(failure) + ")";
        return std::nullopt;
    }
    return Resampler(state, ratio);
}

bool Resampler::Process(const std::vector<float>& input, bool last, std::vector<float>& output,
                        std::string& error) {
    SRC_DATA data{};
    data.data_in = input.data();
    data.input_frames = static_cast<long>(input.size());
    data.src_ratio = ratio_;
    data.end_of_input = last ? 1 : 0;
    // Room for the whole chunk at once; when flushing, the filter may take a few calls.
    chunk_.resize(static_cast<std::size_t>(std::ceil(input.size() * ratio_)) + 1024);
    do {
        data.data_out = chunk_.data();
        data.output_frames = static_cast<long>(chunk_.size());
        if (const int failure = src_process(state_.get(), &data); failure != 0) {
            error = std::string("resampling failed (") + src_strerror(failure) + ")";
            return false;
        }
        output.insert(output.end(), chunk_.begin(), chunk_.begin() + data.output_frames_gen);
        data.data_in += data.input_frames_used;
        data.input_frames -= data.input_frames_used;
    } while (data.input_frames > 0 || (last && data.output_frames_gen > 0));
    return true;
}

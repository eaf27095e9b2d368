// A recording opened through libsndfile (WAV, FLAC, Ogg and the rest it knows), read as mono.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sf_private_tag;

class AudioFile {
public:
    // The opened file, or nothing with `error` set to one line saying why.
    static std::optional<AudioFile> Open(const std::string& path, std::string& error);

    int SampleRate() const { return sampleRate_; }
    int Channels() const { return channels_; }

    // Reads up to `frames` frames, each the mean of its channels in -1..1, into `mono` (resized to
    // what was read). Returns false with `error` set when the file cannot be decoded further;
    // an empty `mono` with true means the end.
    bool ReadMono(std::size_t frames, std::vector<float>& mono, std::string& error);

private:
    struct Closer {
        void operator()(sf_private_tag* file) const;
    };

    AudioFile(sf_private_tag* file, int sampleRate, int channels)
        : file_(file), sampleRate_(sampleRate), channels_(channels) {}

    std::unique_ptr<sf_private_tag, Closer> file_;
    int sampleRate_;
    int channels_;
    std::vector<float> interleaved_;
};

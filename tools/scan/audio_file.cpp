#include "tools/scan/audio_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <sndfile.h>

namespace {

// Whether the path can be read at all, so that a missing file is not reported as "not audio".
bool Readable(const std::string& path, std::string& error) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = "cannot read '" + path + "': it is a directory";
        return false;
    }
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (probe == nullptr) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::fclose(probe);
    return true;
}

} // namespace

void AudioFile::Closer::operator()(sf_private_tag* file) const {
    sf_close(file);
}

std::optional<AudioFile> AudioFile::Open(const std::string& path, std::string& error) {
    if (!Readable(path, error)) {
        return std::nullopt;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "'" + path + "' is not a recording that can be read (" + sf_strerror(nullptr) + ")";
        return std::nullopt;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = "'" + path + "' declares no channels or no sample rate";
        return std::nullopt;
    }
    return AudioFile(file, info.samplerate, info.channels);
}

bool AudioFile::ReadMono(std::size_t frames, std::vector<float>& mono, std::string& error) {
    const auto channels = static_cast<std::size_t>(channels_);
    interleaved_.resize(frames * channels);
    const sf_count_t got =
        sf_readf_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
    if (got < 0 || (got == 0 && sf_error(file_.get()) != SF_ERR_NO_ERROR)) {
        error = std::string("the recording cannot be decoded further (") +
                sf_strerror(file_.get()) + ")";
        return false;
    }
    mono.resize(static_cast<std::size_t>(got));
    for (std::size_t f = 0; f < mono.size(); ++f) {
        float sum = 0.0f;
        for (std::size_t c = 0; c < channels; ++c) {
            sum += interleaved_[f * channels + c];
        }
        mono[f] = sum / static_cast<float>(channels);
    }
    return true;
}

// vibralon-scan FILE [--string N]: what the tuner would show for each block of a recording.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <samplerate.h>

#include "tools/scan/audio_file.h"
#include "tools/scan/block_scanner.h"
#include "tools/scan/resampler.h"
#include "tools/scan/scan_arguments.h"

namespace {

constexpr int BadInput = 2;
constexpr std::size_t ReadFrames = 8192;

int Fail(const std::string& message) {
    std::cerr << "vibralon-scan: " << message << '\n';
    return BadInput;
}

// Feeds float samples in -1..1 to the scanner as the 16-bit values capture would deliver.
void PushAsPcm(BlockScanner& scanner, const std::vector<float>& samples,
               std::vector<std::int16_t>& pcm) {
    pcm.resize(samples.size());
    src_float_to_short_array(samples.data(), reinterpret_cast<short*>(pcm.data()),
                             static_cast<int>(samples.size()));
    scanner.Push(pcm);
}

int Scan(const ScanArguments& arguments) {
    std::string error;
    std::optional<AudioFile> file = AudioFile::Open(arguments.file, error);
    if (!file) {
        return Fail(error);
    }
    std::optional<Resampler> resampler;
    if (file->SampleRate() != BlockScanner::SampleRate) {
        resampler = Resampler::Create(file->SampleRate(), BlockScanner::SampleRate, error);
        if (!resampler) {
            return Fail(error);
        }
    }

    ScanPrinter printer(arguments.selectedString, std::cout);
    BlockScanner scanner(printer);
    std::vector<float> mono;
    std::vector<float> resampled;
    std::vector<std::int16_t> pcm;
    for (bool end = false; !end;) {
        if (!file->ReadMono(ReadFrames, mono, error)) {
            std::cout.flush();
            return Fail("'" + arguments.file + "': " + error);
        }
        end = mono.empty();
        if (resampler) {
            resampled.clear();
            if (!resampler->Process(mono, end, resampled, error)) {
                return Fail(error);
            }
            PushAsPcm(scanner, resampled, pcm);
        } else {
            PushAsPcm(scanner, mono, pcm);
        }
    }
    std::cout.flush();
    if (scanner.BlocksScanned() == 0) {
        std::cerr << "vibralon-scan: '" << arguments.file << "' is shorter than one block of "
                  << BlockScanner::BlockSamples << " samples at " << BlockScanner::SampleRate
                  << " Hz; nothing to analyse\n";
    }
    return std::cout ? 0 : Fail("cannot write the results");
}

} // namespace

int main(int argc, char** argv) {
    try {
        std::string error;
        const std::optional<ScanArguments> arguments =
            ParseScanArguments(std::vector<std::string>(argv + 1, argv + argc), error);
        if (!arguments) {
            return Fail(error + "; " + ScanUsage);
        }
        if (arguments->help) {
            std::cout << ScanUsage << '\n';
            return 0;
        }
        return Scan(*arguments);
    } catch (const std::exception& failure) {
        return Fail(failure.what());
    }
}

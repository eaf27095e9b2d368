// What reaches the analysis from each kind of file, and how bad input is turned away.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <random>

#include <sndfile.h>

#include "analysis/fft.h"
#include "analysis/identify_note.h"
#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"
#include "scan_run.h"

namespace {

constexpr const char* Header = "block\thz\tframe\tstep\tdirection\twords";

// Writes interleaved 16-bit frames with libsndfile; false when this libsndfile cannot.
bool WriteRecording(const std::string& path, int format, int rate, int channels,
                    const std::vector<std::int16_t>& interleaved) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    if (!sf_format_check(&info)) {
        return false;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    const bool written = sf_writef_short(file, interleaved.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

std::vector<std::int16_t> Tone(double hertz, int rate, int frames, int channels, double amplitude) {
    std::vector<std::int16_t> samples;
    for (int n = 0; n < frames; ++n) {
        const double v = amplitude * std::sin(2.0 * std::numbers::pi * hertz * n / rate);
        for (int c = 0; c < channels; ++c) {
            samples.push_back(static_cast<std::int16_t>(std::lround(v)));
        }
    }
    return samples;
}

// The one line of complaint and the status that go with bad input.
void ExpectRefused(const ScanRun& run, const std::string& mentioning) {
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.errLines.size(), 1u) << run.err;
    EXPECT_NE(run.errLines[0].find(mentioning), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

class ScanInput : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return scratch.Path() + "/" + name; }

    TempDir scratch;
};

TEST_F(ScanInput, NativeFormatReachesTheAnalysisSampleForSample) {
    // 11025 Hz mono 16-bit is what capture delivers: no resampling may touch it. Two and a
    // half blocks of a noisy tone; the half block is never analysed.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    std::vector<std::int16_t> samples = Tone(246.0, 11025, 4096 * 5 / 2, 1, 20000);
    for (std::int16_t& s : samples) {
        s = static_cast<std::int16_t>(std::clamp(s + noise(random), -32768, 32767));
    }
    samples[5] = -32768;
    ASSERT_TRUE(
        WriteRecording(Path("native.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1, samples));

    const ScanRun run = RunScan({Path("native.wav"), "--string", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<ScanRow> rows = run.Rows();
    ASSERT_EQ(rows.size(), 2u);

    RecorderM16 recorder(4096, 11025);
    Fft fft(4096, 11025);
    for (int block = 0; block < 2; ++block) {
        char* bytes = recorder.BlockData(recorder.Current());
        for (int k = 0; k < 4096; ++k) {
            const auto bits = static_cast<std::uint16_t>(samples[block * 4096 + k]);
            bytes[2 * k] = static_cast<char>(bits & 0xFF);
            bytes[2 * k + 1] = static_cast<char>(bits >> 8);
        }
        SampleIter iter(recorder);
        fft.CopyIn(iter);
        fft.Transform();
        const int hertz = fft.GetFrequency();
        const TunerReading expected = IdentifyNote(hertz, 4);
        EXPECT_EQ(rows[block].hertz, hertz) << "block " << block;
        EXPECT_EQ(rows[block].frame, expected.frame) << "block " << block;
        EXPECT_EQ(rows[block].step, expected.step) << "block " << block;
        EXPECT_EQ(rows[block].direction, expected.direction) << "block " << block;
        EXPECT_EQ(expected.frame, 11) << "a 246 Hz tone is a B";
    }
}

TEST_F(ScanInput, OtherRatesAndChannelsAreMixedAndResampled) {
    // 440 Hz in stereo at 44100 Hz must peak where 440 Hz at 11025 Hz does: bin 163, 438 Hz.
    ASSERT_TRUE(WriteRecording(Path("stereo.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
                               Tone(440.0, 44100, 44100 * 2, 2, 12000)));
    const ScanRun run = RunScan({Path("stereo.wav")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<ScanRow> rows = run.Rows();
    ASSERT_EQ(rows.size(), 5u); // 2 s at 11025 Hz hold five whole blocks
    for (const ScanRow& row : rows) {
        EXPECT_EQ(row.hertz, 438);
        EXPECT_EQ(row.frame, 9);
        EXPECT_EQ(row.step, 0); // 2 Hz flat of 440 is -0.83 of a step
        EXPECT_EQ(row.direction, 0) << "no string selected";
    }
}

TEST_F(ScanInput, FlacAndOggAreRead) {
    const std::vector<std::int16_t> g = Tone(196.0, 22050, 22050 * 2, 1, 15000);
    const std::vector<std::pair<std::string, int>> kinds{
        {"g.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16}, {"g.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS}};
    for (const auto& [name, format] : kinds) {
        ASSERT_TRUE(WriteRecording(Path(name), format, 22050, 1, g)) << name;
        const ScanRun run = RunScan({Path(name), "--string=2"});
        ASSERT_EQ(run.exitCode, 0) << name << ": " << run.err;
        const std::vector<ScanRow> rows = run.Rows();
        ASSERT_GE(rows.size(), 4u) << name;
        for (const ScanRow& row : rows) {
            EXPECT_EQ(row.frame, 7) << name; // G
            EXPECT_EQ(row.direction, -1) << name << ": G is above the D string's note";
        }
    }
}

TEST_F(ScanInput, LessThanOneBlockPrintsTheHeaderOnly) {
    ASSERT_TRUE(WriteRecording(Path("empty.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1, {}));
    ASSERT_TRUE(WriteRecording(Path("short.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1,
                               Tone(110.0, 11025, 4095, 1, 9000)));
    // 4096 samples at 44100 Hz are far less than a block at 11025 Hz.
    ASSERT_TRUE(WriteRecording(Path("short44.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
                               Tone(110.0, 44100, 4096, 2, 9000)));
    for (const char* name : {"empty.wav", "short.wav", "short44.wav"}) {
        const ScanRun run = RunScan({Path(name), "--string", "1"});
        EXPECT_EQ(run.exitCode, 0) << name;
        EXPECT_EQ(run.out, std::string(Header) + "\n") << name;
        EXPECT_LE(run.errLines.size(), 1u) << name << ": " << run.err;
    }
    // Exactly one block is enough for one row.
    ASSERT_TRUE(WriteRecording(Path("one.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1,
                               Tone(110.0, 11025, 4096, 1, 9000)));
    EXPECT_EQ(RunScan({Path("one.wav")}).Rows().size(), 1u);
}

TEST_F(ScanInput, UnreadableFilesAreRefused) {
    ExpectRefused(RunScan({Path("absent.wav")}), "absent.wav");
    ExpectRefused(RunScan({scratch.Path() + "/."}), "directory");

    std::ofstream(Path("notes.txt")) << "E A D G B E\nnot a recording at all\n";
    ExpectRefused(RunScan({Path("notes.txt")}), "notes.txt");

    // A WAV header cut off in the middle.
    ASSERT_TRUE(WriteRecording(Path("whole.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1,
                               Tone(110.0, 11025, 100, 1, 9000)));
    std::ifstream whole(Path("whole.wav"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), {});
    std::ofstream(Path("cut.wav"), std::ios::binary) << bytes.substr(0, 20);
    ExpectRefused(RunScan({Path("cut.wav")}), "cut.wav");

    // An Ogg file with 200 bytes of noise over its headers. libsndfile gives up on it without
    // freeing what libvorbis set up; that leak is the library's (suppressed for sanitizer
    // builds), and the refusal must stay an ordinary one.
    ASSERT_TRUE(WriteRecording(Path("whole.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 1,
                               Tone(196.0, 22050, 22050, 1, 15000)));
    std::ifstream ogg(Path("whole.ogg"), std::ios::binary);
    std::string oggBytes((std::istreambuf_iterator<char>(ogg)), {});
    ASSERT_GT(oggBytes.size(), 400u);
    std::mt19937 noise(20240611);
    for (std::size_t i = 200; i < 400; ++i) {
        oggBytes[i] = static_cast<char>(noise() & 0xFF);
    }
    std::ofstream(Path("corrupt.ogg"), std::ios::binary) << oggBytes;
    ExpectRefused(RunScan({Path("corrupt.ogg")}), "corrupt.ogg");
}

TEST_F(ScanInput, MalformedArgumentsAreRefused) {
    ASSERT_TRUE(WriteRecording(Path("ok.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1,
                               Tone(110.0, 11025, 5000, 1, 9000)));
    const std::string ok = Path("ok.wav");
    ExpectRefused(RunScan({}), "usage");
    ExpectRefused(RunScan({ok, "--string", "6"}), "--string");
    ExpectRefused(RunScan({ok, "--string", "-1"}), "--string");
    ExpectRefused(RunScan({ok, "--string", "1x"}), "--string");
    ExpectRefused(RunScan({ok, "--string", ""}), "--string");
    ExpectRefused(RunScan({ok, "--string"}), "--string");
    ExpectRefused(RunScan({ok, "--string", "1", "--string", "2"}), "--string");
    ExpectRefused(RunScan({ok, "--strings", "1"}), "--strings");
    ExpectRefused(RunScan({ok, ok}), "one FILE");

    // The accepted spellings, before or after the file.
    for (const std::vector<std::string>& args : {std::vector<std::string>{ok, "--string", "5"},
                                                 {"--string", "5", ok},
                                                 {ok, "--string=5"}}) {
        const ScanRun run = RunScan(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(run.Rows().size(), 1u);
        EXPECT_EQ(run.Rows()[0].direction, 1) << "A is below the high E string's note";
    }
}

} // namespace

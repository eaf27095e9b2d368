// Time per block of the tuner's analysis against FFTW doing the same job, proof that the
// analysis allocates nothing per block, and the time to build the transform's tables at start.
//
//   block_analysis_bench [--benchmark_repetitions=5 ...]
//
// After the usual table it prints the ratio of our time per block to FFTW's.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "analysis/block_analysis.h"
#include "analysis/fft.h"
#include "analysis/identify_note.h"
#include "analysis/peak_search.h"
#include "analysis/vector_state.h"
#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"

namespace {

constexpr int Points = 4096;
constexpr int SampleRate = 11025;

// An A string plucked a moment ago: a 110 Hz tone with decaying harmonics and a little noise.
std::vector<std::int16_t> GuitarLikeBlock() {
    std::vector<std::int16_t> samples(Points);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 40.0);
    for (int n = 0; n < Points; ++n) {
        const double t = static_cast<double>(n) / SampleRate;
        double v = 0.0;
        for (int h = 1; h <= 12; ++h) {
            v += std::exp(-1.5 * h * t) / h * std::sin(2.0 * std::numbers::pi * 110.3 * h * t);
        }
        samples[n] = static_cast<std::int16_t>(std::lround(9000.0 * v + noise(random)));
    }
    return samples;
}

void WriteBlock(const RecorderM16& recorder, const std::vector<std::int16_t>& samples) {
    char* block = recorder.BlockData(recorder.Current());
    for (std::size_t k = 0; k < samples.size(); ++k) {
        const auto bits = static_cast<std::uint16_t>(samples[k]);
        block[2 * k] = static_cast<char>(bits & 0xFF);
        block[2 * k + 1] = static_cast<char>(bits >> 8);
    }
}

void ReportAllocations(benchmark::State& state, std::uint64_t before) {
    state.counters["allocs_per_block"] = benchmark::Counter(
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
}

// What the worker does for each completed block: the very same call.
void BM_BlockAnalysis(benchmark::State& state) {
    RecorderM16 recorder(Points, SampleRate);
    WriteBlock(recorder, GuitarLikeBlock());
    Fft fft(Points, SampleRate);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        SampleIter iter(recorder);
        BlockAnalysis analysis = AnalyseBlock(fft, iter, [] { return 1; });
        benchmark::DoNotOptimize(analysis);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_BlockAnalysis);

// The first part of a block's analysis alone; the transform takes most of the rest.
void BM_CopyIn(benchmark::State& state) {
    RecorderM16 recorder(Points, SampleRate);
    WriteBlock(recorder, GuitarLikeBlock());
    Fft fft(Points, SampleRate);
    for (auto _ : state) {
        SampleIter iter(recorder);
        fft.CopyIn(iter);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyIn);

// The yardstick: FFTW's complex transform of the same block, planned once, and the same peak
// search over the same power spectrum.
void BM_FftwAnchor(benchmark::State& state) {
    auto* in = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * Points));
    auto* out = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * Points));
    fftw_plan plan = fftw_plan_dft_1d(Points, in, out, FFTW_FORWARD, FFTW_MEASURE);
    const std::vector<std::int16_t> samples = GuitarLikeBlock();
    for (int n = 0; n < Points; ++n) { // after planning: measuring overwrites the input
        in[n][0] = samples[n];
        in[n][1] = 0.0;
    }
    std::vector<double> power(Points / 2);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        fftw_execute(plan); // out of place: the input is kept
        for (int k = 0; k < Points / 2; ++k) {
            power[k] = out[k][0] * out[k][0] + out[k][1] * out[k][1];
        }
        const int hertz = SampleRate * StrongestBin(power.data(), Points / 2) / Points;
        TunerReading reading = IdentifyNote(hertz, 1);
        benchmark::DoNotOptimize(reading);
    }
    ReportAllocations(state, before);
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}
BENCHMARK(BM_FftwAnchor);

// As the toolkit leaves the vector registers when it has started: their upper halves in use.
void DirtyUpperVectorHalves() {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
    if (CpuHasAvx()) {
        asm volatile("vpcmpeqd %%ymm9, %%ymm9, %%ymm9" ::: "xmm9");
    }
#endif
}

// The transform's tables, built as the tuner starts: after the toolkit.
void BM_FftTables(benchmark::State& state) {
    for (auto _ : state) {
        DirtyUpperVectorHalves();
        Fft fft(Points, SampleRate);
        benchmark::DoNotOptimize(fft.Twiddle(fft.Passes(), Points - 1));
    }
}
BENCHMARK(BM_FftTables)->Unit(benchmark::kMillisecond);

// Remembers the CPU time per iteration of each benchmark as the runs are reported.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                times_[name].push_back(run.GetAdjustedCPUTime());
            } else if (run.aggregate_name == "mean") {
                means_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    // CPU time per block: the mean over repetitions; 0 when the benchmark did not run.
    double Mean(const std::string& name) const {
        if (const auto mean = means_.find(name); mean != means_.end()) {
            return mean->second;
        }
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) {
            return 0.0;
        }
        double sum = 0.0;
        for (double t : found->second) {
            sum += t;
        }
        return sum / static_cast<double>(found->second.size());
    }

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> means_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    {
        // The counter must see allocations, or its zeros below would prove nothing.
        const std::uint64_t before = AllocationCount();
        std::vector<int> probe(16);
        benchmark::DoNotOptimize(probe.data());
        if (AllocationCount() == before) {
            std::fprintf(stderr, "allocation counter is not hooked into operator new\n");
            return 1;
        }
    }
    RatioReporter reporter; // plain text: the figures get pasted into bench/README.md
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Mean("BM_BlockAnalysis");
    const double anchor = reporter.Mean("BM_FftwAnchor");
    if (ours > 0.0 && anchor > 0.0) {
        std::printf("ratio BM_BlockAnalysis / BM_FftwAnchor (CPU time per block): %.2f\n",
                    ours / anchor);
    }
    benchmark::Shutdown();
    return 0;
}

#include "analysis/fft.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "analysis/butterfly_pass.h"
#include "analysis/peak_search.h"
#include "analysis/vector_state.h"

Fft::Fft(int points, int sampleRate)
    : points_(points), sampleRate_(sampleRate), bitReverse_(std::make_unique<int[]>(points)),
      work_(std::make_unique_for_overwrite<Complex[]>(points)),
      power_(std::make_unique<double[]>(points)), twiddles_(),
      tape_(std::make_unique<double[]>(points)) {
    const int n = points;
    for (unsigned m = static_cast<unsigned>(n - 1); m != 0; m >>= 1) {
        ++passes_;
    }

    // A bit-reversed counter: r walks 0, N/2, N/4, 3N/4, ... as i counts up.
    int r = 0;
    for (int i = 0; i < n - 1; ++i) {
        bitReverse_[i] = r;
        int k = n / 2;
        while (k <= r) {
            r -= k;
            k /= 2;
        }
        r += k;
    }
    bitReverse_[n - 1] = n - 1;

    // The sines and cosines below are the bulk of start-up's own work: not with the switch
    // penalty the toolkit's start may have left behind.
    ClearUpperVectorHalves();
    // Extended precision until each angle's one rounding: a double 2pi's error would grow with j.
    const long double twoPi = 4.0L * std::asin(1.0L);
    twiddles_.resize(static_cast<std::size_t>(passes_) + 1);
    // From the last pass down. Entry j of pass p has exactly the angle of entry 2j of pass p + 1
    // (halving the angle only moves its exponent, before and after the rounding to a double),
    // so the first half of each table is copied from the one above rather than worked out
    // again: about half the sines and cosines of start-up, the same values to the last bit.
    for (int p = passes_; p >= 1; --p) {
        const long double a = std::ldexp(1.0L, p);
        auto table = std::make_unique<Complex[]>(n);
        const int copied = p < passes_ ? n / 2 : 0;
        for (int j = 0; j < copied; ++j) {
            table[j] = twiddles_[p + 1][2 * j];
        }
        for (int j = copied; j < n; ++j) {
            const double theta = static_cast<double>(twoPi * static_cast<long double>(j) / a);
            table[j] = Complex{std::cos(theta), -std::sin(theta)};
        }
        twiddles_[p] = std::move(table);
    }
}

Fft::~Fft() = default;

void Fft::CopyIn(SampleIter& iter) {
    const int n = points_;
    const int m = iter.count;
    if (m > n) {
        return;
    }
    double* const tape = tape_.get();
    std::memmove(tape, tape + m, static_cast<std::size_t>(n - m) * sizeof(double));
    // Locals, so that the virtual call does not force every store back through the iterator.
    const Recorder& recorder = *iter.recorder;
    const char* const data = iter.data;
    int index = iter.index;
    double* const fresh = tape + (n - m);
    for (int k = 0; k < m; ++k) {
        fresh[k] = static_cast<double>(recorder.GetSample(data, index));
        ++index;
    }
    iter.index = index;
    // Work entry bitReverse[b] takes tape entry b. Bit reversal undoes itself, so the same table
    // lets the work array be written in order: scattered stores 32 KiB apart thrash the cache.
    Complex* const work = work_.get();
    const int* const bitReverse = bitReverse_.get();
    for (int i = 0; i < n; ++i) {
        work[i] = Complex{tape[bitReverse[i]], 0.0};
    }
}

void Fft::Transform() {
    // Within a pass the butterflies touch disjoint pairs, so walking them group by group, with
    // the twiddles read in order, gives bit for bit what walking them twiddle by twiddle gives.
    const int n = points_;
    Complex* const work = work_.get();
    const auto twiddles = [this](int p) { return static_cast<const Complex*>(twiddles_[p].get()); };
    // Passes go two at a time, each pair sweeping the array once; an odd one out goes first.
    int p = 1;
    int half = 1;
    if (passes_ % 2 == 1) {
        ButterflyPass(work, n, half, twiddles(p));
        p += 1;
        half *= 2;
    }
    for (; p < passes_; p += 2, half *= 4) {
        ButterflyPassPair(work, n, half, twiddles(p), twiddles(p + 1));
    }
    // Power is only ever read in the lower half, where the last pass's butterflies write it from
    // the final values; earlier passes' values there are all overwritten, so they are not formed.
    for (int k = 0; k < n / 2; ++k) {
        power_[k] = work[k].re * work[k].re + work[k].im * work[k].im;
    }
}

int Fft::GetFrequency() const {
    const int point = StrongestBin(power_.get(), points_ / 2);
    assert(point < points_);
    return sampleRate_ * point / points_;
}

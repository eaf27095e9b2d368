#include "analysis/fft.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "analysis/peak_search.h"

Fft::Fft(int points, int sampleRate)
    : _Points(points), sampleRate_(sampleRate), bitReverse_(std::make_unique<int[]>(points)),
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

    // The angle is formed in extended precision and rounded once, so that entry j of one table
    // is bit for bit entry 2j of the next.
    const long double twoPi = 4.0L * std::asin(1.0L);
    twiddles_.resize(static_cast<std::size_t>(passes_) + 1);
    for (int p = 1; p <= passes_; ++p) {
        const long double a = std::ldexp(1.0L, p);
        auto table = std::make_unique<Complex[]>(n);
        for (int j = 0; j < n; ++j) {
            const double theta = static_cast<double>(twoPi * static_cast<long double>(j) / a);
            table[j] = Complex{std::cos(theta), -std::sin(theta)};
        }
        twiddles_[p] = std::move(table);
    }
}

Fft::~Fft() = default;

void Fft::CopyIn(SampleIter& iter) {
    const int n = _Points;
    const int m = iter.count;
    if (m > n) {
        return;
    }
    std::memmove(tape_.get(), tape_.get() + m, static_cast<std::size_t>(n - m) * sizeof(double));
    double* fresh = tape_.get() + (n - m);
    for (int k = 0; k < m; ++k) {
        fresh[k] = static_cast<double>(iter.recorder->GetSample(iter.data, iter.index));
        ++iter.index;
    }
    for (int b = 0; b < n; ++b) {
        work_[bitReverse_[b]] = Complex{tape_[b], 0.0};
    }
}

void Fft::Transform() {
    const int n = _Points;
    Complex* work = work_.get();
    int half = 1;
    for (int p = 1; p <= passes_; ++p) {
        const int step = 2 * half;
        const Complex* table = twiddles_[p].get();
        for (int j = 0; j < half; ++j) {
            const Complex w = table[j];
            for (int b = j; b < n; b += step) {
                const Complex v = work[b + half];
                const Complex t{v.re * w.re - v.im * w.im, v.re * w.im + v.im * w.re};
                const Complex u = work[b];
                work[b + half] = Complex{u.re - t.re, u.im - t.im};
                work[b] = Complex{u.re + t.re, u.im + t.im};
                power_[b] = work[b].re * work[b].re + work[b].im * work[b].im;
            }
        }
        half *= 2;
    }
}

int Fft::GetFrequency() const {
    const int point = StrongestBin(power_.get(), _Points / 2);
    assert(point < _Points);
    return sampleRate_ * point / _Points;
}

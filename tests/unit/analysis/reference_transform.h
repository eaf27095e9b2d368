// A literal, unoptimised rendering of the transform the tuner's Fft makes, from a tape the test
// keeps itself: what the Fft's power spectrum must equal bit for bit.
#pragma once

#include <cstring>
#include <vector>

#include "analysis/fft.h"

// The stated loop order: the tape in bit-reversed places, then twiddle j outer, butterflies of
// that twiddle inner, power written at every butterfly's upper index. Only the lower half of
// the power is formed.
inline std::vector<double> ReferencePower(const Fft& fft, const std::vector<double>& tape) {
    const int n = fft.Points();
    std::vector<Fft::Complex> work(n);
    for (int b = 0; b < n; ++b) {
        int reversed = 0;
        for (int bit = 1, to = n / 2; bit < n; bit *= 2, to /= 2) {
            reversed |= (b & bit) != 0 ? to : 0;
        }
        work[reversed] = Fft::Complex{tape[b], 0.0};
    }
    std::vector<double> power(n, 0.0);
    int half = 1;
    for (int p = 1; p <= fft.Passes(); ++p) {
        const int step = 2 * half;
        for (int j = 0; j < half; ++j) {
            const Fft::Complex w = fft.Twiddle(p, j);
            for (int b = j; b < n; b += step) {
                Fft::Complex& lo = work[b];
                Fft::Complex& hi = work[b + half];
                const double tre = hi.re * w.re - hi.im * w.im;
                const double tim = hi.re * w.im + hi.im * w.re;
                hi.re = lo.re - tre;
                hi.im = lo.im - tim;
                lo.re = lo.re + tre;
                lo.im = lo.im + tim;
                power[b] = lo.re * lo.re + lo.im * lo.im;
            }
        }
        half *= 2;
    }
    power.resize(n / 2);
    return power;
}

// The tape after a block of `samples` came: slid left by the block, the block at its end.
inline void Slide(std::vector<double>& tape, const std::vector<int>& samples) {
    tape.erase(tape.begin(), tape.begin() + static_cast<long>(samples.size()));
    tape.insert(tape.end(), samples.begin(), samples.end());
}

// Transforms what `fft` holds and tells whether its power is the reference's of `tape`, bit for
// bit; the first bin that differs otherwise.
inline testing::AssertionResult TransformsAs(Fft& fft, const std::vector<double>& tape) {
    const std::vector<double> expected = ReferencePower(fft, tape);
    fft.Transform();
    for (int k = 0; k < fft.Points() / 2; ++k) {
        const double power = fft.Power(k);
        if (std::memcmp(&power, &expected[k], sizeof power) != 0) {
            return testing::AssertionFailure()
                   << "power " << k << ": " << power << ", not " << expected[k];
        }
    }
    return testing::AssertionSuccess();
}

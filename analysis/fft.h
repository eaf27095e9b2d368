// Finds the strongest frequency of the latest samples: a tape of the most recent N samples, an
// exact radix-2 transform of it and a peak search over the lower half of the spectrum.
#pragma once

#include <memory>
#include <vector>

#include "capture/sample_iter.h"

class Fft {
public:
    // Plain pair of doubles, real part first. std::complex is avoided on purpose: its product
    // takes a slow path for infinities and NaN that the butterfly must not take.
    struct Complex {
        double re;
        double im;
    };

    // `points` must be a power of two of at least 2. Every table is built here, once.
    Fft(int points, int sampleRate);
    ~Fft();
    Fft(const Fft&) = delete;
    Fft& operator=(const Fft&) = delete;

    // Appends the iterator's whole block to the tape, advancing the iterator, and lays the tape
    // out in bit-reversed order for Transform. A block longer than the tape is ignored.
    void CopyIn(SampleIter& iter);
    // Transforms the work array in place; afterwards Power(k) for k < N/2 is |X[k]|^2.
    void Transform();
    // Hertz of the strongest bin among 0..N/2-1, the lowest bin winning ties.
    int GetFrequency() const;

    int Points() const { return points_; }
    int SampleRate() const { return sampleRate_; }
    int Passes() const { return passes_; }
    // Entry j of the twiddle table of pass p (1..Passes()), for j in 0..N-1.
    const Complex& Twiddle(int pass, int j) const { return twiddles_[pass][j]; }
    // Squared magnitude of bin k after Transform, for k < N/2; the upper half is never formed.
    double Power(int k) const { return power_[k]; }

private:
    int points_;
    int sampleRate_;
    int passes_ = 0;
    std::unique_ptr<int[]> bitReverse_;
    std::unique_ptr<Complex[]> work_;
    std::unique_ptr<double[]> power_;
    // Indexed by pass; position 0 stays empty so that pass p reads twiddles_[p].
    std::vector<std::unique_ptr<Complex[]>> twiddles_;
    std::unique_ptr<double[]> tape_;
};

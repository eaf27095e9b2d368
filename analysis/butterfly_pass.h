// The radix-2 butterflies of one pass, or of two consecutive passes in one sweep, over the whole
// work array.
#pragma once

#include "analysis/fft.h"

// The pass whose butterflies pair entries `half` apart: in every group of 2*half entries, for
// j < half, t = hi[j] * twiddles[j], hi[j] = lo[j] - t, lo[j] = lo[j] + t (lo the group's first
// half, hi its second), each part of t rounded as in t.re = v.re*w.re - v.im*w.im,
// t.im = v.re*w.im + v.im*w.re.
void ButterflyPass(Fft::Complex* work, int n, int half, const Fft::Complex* twiddles);

// ButterflyPass(half) then ButterflyPass(2 * half), bit for bit, but with each set of four
// entries loaded and stored once for both.
void ButterflyPassPair(Fft::Complex* work, int n, int half, const Fft::Complex* first,
                       const Fft::Complex* second);

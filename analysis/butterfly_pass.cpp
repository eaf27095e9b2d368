#include "analysis/butterfly_pass.h"

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(VIBRALON_SCALAR_BUTTERFLIES)
#include <emmintrin.h>
#define VIBRALON_BUTTERFLY_SSE2 1
#endif

namespace {

#ifdef VIBRALON_BUTTERFLY_SSE2

// One complex value in one 128-bit register, real part low.
using Value = __m128d;

Value Load(const Fft::Complex& c) {
    return _mm_loadu_pd(&c.re);
}

void Store(Fft::Complex& c, Value v) {
    _mm_storeu_pd(&c.re, v);
}

// With v = (vr, vi) and w = (wr, wi): (vr, vr) * (wr, wi) + (vi, vi) * (-wi, wr) is
// (vr*wr + -(vi*wi), vr*wi + vi*wr), which is vr*wr - vi*wi and vr*wi + vi*wr to the last bit:
// x - y is x + -y, and a * -b is -(a*b), signed zeros included.
void Butterfly(Value& lo, Value& hi, const Fft::Complex& w, const Fft::Complex& crossed) {
    const Value straight = _mm_mul_pd(_mm_unpacklo_pd(hi, hi), Load(w));
    const Value across = _mm_mul_pd(_mm_unpackhi_pd(hi, hi), Load(crossed));
    const Value t = _mm_add_pd(straight, across);
    hi = _mm_sub_pd(lo, t);
    lo = _mm_add_pd(lo, t);
}

#else

using Value = Fft::Complex;

Value Load(const Fft::Complex& c) {
    return c;
}

void Store(Fft::Complex& c, Value v) {
    c = v;
}

void Butterfly(Value& lo, Value& hi, const Fft::Complex& w, const Fft::Complex&) {
    const Value t{hi.re * w.re - hi.im * w.im, hi.re * w.im + hi.im * w.re};
    hi = Value{lo.re - t.re, lo.im - t.im};
    lo = Value{lo.re + t.re, lo.im + t.im};
}

#endif

} // namespace

void ButterflyPass(Fft::Complex* work, int n, int half, PassTwiddles pass) {
    for (int start = 0; start < n; start += 2 * half) {
        Fft::Complex* const lo = work + start;
        Fft::Complex* const hi = lo + half;
        for (int j = 0; j < half; ++j) {
            Value a = Load(lo[j]);
            Value b = Load(hi[j]);
            Butterfly(a, b, pass.twiddles[j], pass.crossed[j]);
            Store(lo[j], a);
            Store(hi[j], b);
        }
    }
}

// In a group of 4*half entries, quarters q0..q3: the first pass pairs q0 with q1 and q2 with q3
// (twiddle j), the second pairs q0 with q2 (twiddle j) and q1 with q3 (twiddle j + half).
void ButterflyPassPair(Fft::Complex* work, int n, int half, PassTwiddles first,
                       PassTwiddles second) {
    for (int start = 0; start < n; start += 4 * half) {
        Fft::Complex* const q0 = work + start;
        Fft::Complex* const q1 = q0 + half;
        Fft::Complex* const q2 = q1 + half;
        Fft::Complex* const q3 = q2 + half;
        for (int j = 0; j < half; ++j) {
            Value a = Load(q0[j]);
            Value b = Load(q1[j]);
            Value c = Load(q2[j]);
            Value d = Load(q3[j]);
            Butterfly(a, b, first.twiddles[j], first.crossed[j]);
            Butterfly(c, d, first.twiddles[j], first.crossed[j]);
            Butterfly(a, c, second.twiddles[j], second.crossed[j]);
            Butterfly(b, d, second.twiddles[j + half], second.crossed[j + half]);
            Store(q0[j], a);
            Store(q1[j], b);
            Store(q2[j], c);
            Store(q3[j], d);
        }
    }
}

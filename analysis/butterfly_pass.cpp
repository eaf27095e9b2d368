#include "analysis/butterfly_pass.h"

#include "analysis/vector_state.h"

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(VIBRALON_SCALAR_BUTTERFLIES)
#include <emmintrin.h>
#define VIBRALON_BUTTERFLY_SSE2 1
// Where the compiler can build a function for AVX and ask the processor for it at run time,
// wider passes take two butterflies per instruction. The operations per value are the same.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) &&                            \
    !defined(VIBRALON_NO_AVX_BUTTERFLIES)
#include <immintrin.h>
#define VIBRALON_BUTTERFLY_AVX 1
#endif
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
// x - y is x + -y, and a * -b is -(a*b), signed zeros included. (-wi, wr) is formed in the
// register: the halves swapped, then the low one's sign bit flipped, which is exact negation.
void Butterfly(Value& lo, Value& hi, Value w) {
    const Value crossed = _mm_xor_pd(_mm_shuffle_pd(w, w, 1), _mm_set_pd(0.0, -0.0));
    const Value straight = _mm_mul_pd(_mm_unpacklo_pd(hi, hi), w);
    const Value across = _mm_mul_pd(_mm_unpackhi_pd(hi, hi), crossed);
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

void Butterfly(Value& lo, Value& hi, Value w) {
    const Value t{hi.re * w.re - hi.im * w.im, hi.re * w.im + hi.im * w.re};
    hi = Value{lo.re - t.re, lo.im - t.im};
    lo = Value{lo.re + t.re, lo.im + t.im};
}

#endif

#ifdef VIBRALON_BUTTERFLY_AVX

// Two complex values, j and j + 1, in one 256-bit register; the same steps as Butterfly above
// in each 128-bit half.
__attribute__((target("avx"))) inline void Butterfly2(__m256d& lo, __m256d& hi,
                                                      const Fft::Complex* twiddle) {
    const __m256d w = _mm256_loadu_pd(&twiddle->re);
    const __m256d crossed =
        _mm256_xor_pd(_mm256_permute_pd(w, 0b0101), _mm256_set_pd(0.0, -0.0, 0.0, -0.0));
    const __m256d straight = _mm256_mul_pd(_mm256_unpacklo_pd(hi, hi), w);
    const __m256d across = _mm256_mul_pd(_mm256_unpackhi_pd(hi, hi), crossed);
    const __m256d t = _mm256_add_pd(straight, across);
    hi = _mm256_sub_pd(lo, t);
    lo = _mm256_add_pd(lo, t);
}

// ButterflyPassPair for an even half of at least 2.
__attribute__((target("avx"))) void PassPairAvx(Fft::Complex* work, int n, int half,
                                                const Fft::Complex* first,
                                                const Fft::Complex* second) {
    for (int start = 0; start < n; start += 4 * half) {
        double* const q0 = &work[start].re;
        double* const q1 = q0 + 2 * half;
        double* const q2 = q1 + 2 * half;
        double* const q3 = q2 + 2 * half;
        for (int j = 0; j < half; j += 2) {
            __m256d a = _mm256_loadu_pd(q0 + 2 * j);
            __m256d b = _mm256_loadu_pd(q1 + 2 * j);
            __m256d c = _mm256_loadu_pd(q2 + 2 * j);
            __m256d d = _mm256_loadu_pd(q3 + 2 * j);
            Butterfly2(a, b, first + j);
            Butterfly2(c, d, first + j);
            Butterfly2(a, c, second + j);
            Butterfly2(b, d, second + j + half);
            _mm256_storeu_pd(q0 + 2 * j, a);
            _mm256_storeu_pd(q1 + 2 * j, b);
            _mm256_storeu_pd(q2 + 2 * j, c);
            _mm256_storeu_pd(q3 + 2 * j, d);
        }
    }
}

#endif

} // namespace

void ButterflyPass(Fft::Complex* work, int n, int half, const Fft::Complex* twiddles) {
    for (int start = 0; start < n; start += 2 * half) {
        Fft::Complex* const lo = work + start;
        Fft::Complex* const hi = lo + half;
        for (int j = 0; j < half; ++j) {
            Value a = Load(lo[j]);
            Value b = Load(hi[j]);
            Butterfly(a, b, Load(twiddles[j]));
            Store(lo[j], a);
            Store(hi[j], b);
        }
    }
}

// In a group of 4*half entries, quarters q0..q3: the first pass pairs q0 with q1 and q2 with q3
// (twiddle j), the second pairs q0 with q2 (twiddle j) and q1 with q3 (twiddle j + half).
void ButterflyPassPair(Fft::Complex* work, int n, int half, const Fft::Complex* first,
                       const Fft::Complex* second) {
#ifdef VIBRALON_BUTTERFLY_AVX
    if (half >= 2 && CpuHasAvx()) {
        PassPairAvx(work, n, half, first, second);
        return;
    }
#endif
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
            const Value w1 = Load(first[j]);
            Butterfly(a, b, w1);
            Butterfly(c, d, w1);
            Butterfly(a, c, Load(second[j]));
            Butterfly(b, d, Load(second[j + half]));
            Store(q0[j], a);
            Store(q1[j], b);
            Store(q2[j], c);
            Store(q3[j], d);
        }
    }
}

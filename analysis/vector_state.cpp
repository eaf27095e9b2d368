#include "analysis/vector_state.h"

#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

} // namespace

bool CpuHasAvx() {
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}

void ClearUpperVectorHalves() {
    if (CpuHasAvx()) {
        ZeroUpper();
    }
}

#else

bool CpuHasAvx() {
    return false;
}

void ClearUpperVectorHalves() {}

#endif

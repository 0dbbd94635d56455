// Line exchange through AVX2 registers: 128 bytes of each line per step.
#include <immintrin.h>

#include <cstddef>

#include "engine/simd/isa_namespace.h"
#include "engine/simd/reverse_lines_kernels.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m256i Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

}  // namespace
}  // namespace LUMACORE_ISA

void SwapLinesAvx2(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes) {
    const std::size_t n = line_bytes;
    if (n < 32) {
        SwapLinesSse2(a, b, line_bytes);
        return;
    }
    // As in the SSE2 kernel: the last 32 bytes are read first and written last.
    const __m256i tail_a = Load(a + n - 32), tail_b = Load(b + n - 32);
    std::size_t i = 0;
    for (; i + 128 <= n; i += 128) {
        const __m256i a0 = Load(a + i), a1 = Load(a + i + 32), a2 = Load(a + i + 64), a3 = Load(a + i + 96);
        const __m256i b0 = Load(b + i), b1 = Load(b + i + 32), b2 = Load(b + i + 64), b3 = Load(b + i + 96);
        Store(a + i, b0);
        Store(a + i + 32, b1);
        Store(a + i + 64, b2);
        Store(a + i + 96, b3);
        Store(b + i, a0);
        Store(b + i + 32, a1);
        Store(b + i + 64, a2);
        Store(b + i + 96, a3);
    }
    for (; i + 32 <= n; i += 32) {
        const __m256i from_a = Load(a + i), from_b = Load(b + i);
        Store(a + i, from_b);
        Store(b + i, from_a);
    }
    Store(a + n - 32, tail_b);
    Store(b + n - 32, tail_a);
    _mm256_zeroupper();
}

void InstallReverseLinesAvx2(ReverseLinesKernels& k) { k.swap = SwapLinesAvx2; }

}  // namespace lumacore

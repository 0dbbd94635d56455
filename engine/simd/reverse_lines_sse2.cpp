// Line exchange through SSE2 registers: 64 bytes of each line per step, so no
// scratch line is needed.
#include <emmintrin.h>

#include <cstddef>

#include "engine/simd/isa_namespace.h"
#include "engine/simd/reverse_lines_kernels.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m128i Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

}  // namespace
}  // namespace LUMACORE_ISA

void SwapLinesSse2(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes) {
    const std::size_t n = line_bytes;
    if (n < 16) {
        SwapLinesPlain(a, b, line_bytes);
        return;
    }
    // The last 16 bytes of both lines are read before anything moves and
    // written after everything else. Where they overlap bytes the loop has
    // already exchanged, they write the values the loop wrote there, so the
    // remainder needs no byte loop.
    const __m128i tail_a = Load(a + n - 16), tail_b = Load(b + n - 16);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m128i a0 = Load(a + i), a1 = Load(a + i + 16), a2 = Load(a + i + 32), a3 = Load(a + i + 48);
        const __m128i b0 = Load(b + i), b1 = Load(b + i + 16), b2 = Load(b + i + 32), b3 = Load(b + i + 48);
        Store(a + i, b0);
        Store(a + i + 16, b1);
        Store(a + i + 32, b2);
        Store(a + i + 48, b3);
        Store(b + i, a0);
        Store(b + i + 16, a1);
        Store(b + i + 32, a2);
        Store(b + i + 48, a3);
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i from_a = Load(a + i), from_b = Load(b + i);
        Store(a + i, from_b);
        Store(b + i, from_a);
    }
    Store(a + n - 16, tail_b);
    Store(b + n - 16, tail_a);
}

void InstallReverseLinesSse2(ReverseLinesKernels& k) { k.swap = SwapLinesSse2; }

}  // namespace lumacore

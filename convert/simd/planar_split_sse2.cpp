// SSE2 split of packed pairs into planes: byte masks and shifts separate the
// even and odd bytes, saturating packs (of values below 256) join them.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/planar_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m128i Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The even bytes of a and b, then the odd bytes.
inline __m128i EvenBytes(__m128i a, __m128i b) {
    const __m128i low = _mm_set1_epi16(0x00FF);
    return _mm_packus_epi16(_mm_and_si128(a, low), _mm_and_si128(b, low));
}
inline __m128i OddBytes(__m128i a, __m128i b) {
    return _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
}

template <LumaPlace P, bool Chroma>
std::uint32_t Run(std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1, const std::uint8_t* src,
                  std::uint32_t pairs) {
    // 16 pairs (64 source bytes) a step.
    const std::uint32_t steps = pairs / 16;
    for (std::uint32_t s = 0; s < steps; ++s, src += 64, y += 32) {
        const __m128i a = Load(src), b = Load(src + 16), c = Load(src + 32), d = Load(src + 48);
        if constexpr (P == LumaPlace::Even) {
            Store(y, EvenBytes(a, b));
            Store(y + 16, EvenBytes(c, d));
        } else {
            Store(y, OddBytes(a, b));
            Store(y + 16, OddBytes(c, d));
        }
        if constexpr (Chroma) {
            const __m128i ca = P == LumaPlace::Even ? OddBytes(a, b) : EvenBytes(a, b);
            const __m128i cb = P == LumaPlace::Even ? OddBytes(c, d) : EvenBytes(c, d);
            Store(c0 + std::size_t(s) * 16, EvenBytes(ca, cb));
            Store(c1 + std::size_t(s) * 16, OddBytes(ca, cb));
        }
    }
    return steps * 16;
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t SplitPairsSse2(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                             const std::uint8_t* src, std::uint32_t pairs) {
    if (place == LumaPlace::Even)
        return c0 ? Run<LumaPlace::Even, true>(y, c0, c1, src, pairs) : Run<LumaPlace::Even, false>(y, c0, c1, src, pairs);
    return c0 ? Run<LumaPlace::Odd, true>(y, c0, c1, src, pairs) : Run<LumaPlace::Odd, false>(y, c0, c1, src, pairs);
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t SplitPairsSse2(LumaPlace, std::uint8_t*, std::uint8_t*, std::uint8_t*, const std::uint8_t*,
                             std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallSplitSse2(SplitKernels& k) { k.pairs = SplitPairsSse2; }

}  // namespace lumacore

// AVX2 split of packed pairs into planes. The packs work within 128-bit
// lanes, so each result is put back in order with one cross-lane permute.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/planar_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m256i Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// Even and odd bytes of a and b, lane-interleaved: 8-byte blocks
// a.lo b.lo a.hi b.hi.
inline __m256i EvenBytes(__m256i a, __m256i b) {
    const __m256i low = _mm256_set1_epi16(0x00FF);
    return _mm256_packus_epi16(_mm256_and_si256(a, low), _mm256_and_si256(b, low));
}
inline __m256i OddBytes(__m256i a, __m256i b) {
    return _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8));
}

template <LumaPlace P, bool Chroma>
std::uint32_t Run(std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1, const std::uint8_t* src,
                  std::uint32_t pairs) {
    // 32 pairs (128 source bytes) a step.
    const std::uint32_t steps = pairs / 32;
    const __m256i chroma_order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    for (std::uint32_t s = 0; s < steps; ++s, src += 128, y += 64) {
        const __m256i a = Load(src), b = Load(src + 32), c = Load(src + 64), d = Load(src + 96);
        const __m256i ya = P == LumaPlace::Even ? EvenBytes(a, b) : OddBytes(a, b);
        const __m256i yb = P == LumaPlace::Even ? EvenBytes(c, d) : OddBytes(c, d);
        Store(y, _mm256_permute4x64_epi64(ya, 0xD8));
        Store(y + 32, _mm256_permute4x64_epi64(yb, 0xD8));
        if constexpr (Chroma) {
            // Chroma pairs in 8-byte blocks a.lo b.lo a.hi b.hi and c.lo d.lo
            // c.hi d.hi; split, they come out in 4-byte blocks
            // a.lo b.lo c.lo d.lo a.hi b.hi c.hi d.hi.
            const __m256i ca = P == LumaPlace::Even ? OddBytes(a, b) : EvenBytes(a, b);
            const __m256i cb = P == LumaPlace::Even ? OddBytes(c, d) : EvenBytes(c, d);
            Store(c0 + std::size_t(s) * 32, _mm256_permutevar8x32_epi32(EvenBytes(ca, cb), chroma_order));
            Store(c1 + std::size_t(s) * 32, _mm256_permutevar8x32_epi32(OddBytes(ca, cb), chroma_order));
        }
    }
    return steps * 32;
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t SplitPairsAvx2(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                             const std::uint8_t* src, std::uint32_t pairs) {
    if (place == LumaPlace::Even)
        return c0 ? Run<LumaPlace::Even, true>(y, c0, c1, src, pairs) : Run<LumaPlace::Even, false>(y, c0, c1, src, pairs);
    return c0 ? Run<LumaPlace::Odd, true>(y, c0, c1, src, pairs) : Run<LumaPlace::Odd, false>(y, c0, c1, src, pairs);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t SplitPairsAvx2(LumaPlace, std::uint8_t*, std::uint8_t*, std::uint8_t*, const std::uint8_t*,
                             std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallSplitAvx2(SplitKernels& k) { k.pairs = SplitPairsAvx2; }

}  // namespace lumacore

// AVX2 merge of planes into packed pairs, 16 pairs a step. Widening loads
// of the two chroma rows give the chroma pairs in lane order (pairs 0-7 in
// the low lane, 8-15 in the high one) without a cross-lane permute; the byte
// interleaves with the luma then come out as 16-byte blocks that four stores
// put in memory order.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/planar_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// 16 pairs from 32 luma bytes and the 16 chroma pairs.
template <LumaPlace P>
inline void Line(std::uint8_t* dst, const std::uint8_t* y, __m256i chroma) {
    __m256i luma = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y));
    // One load for both interleaves (left to itself the compiler may fold it
    // into each of them, loading the same bytes twice).
    asm("" : "+x"(luma));
    // Lanes: pairs 0-3 | 8-11, and 4-7 | 12-15.
    const __m256i lo = P == LumaPlace::Even ? _mm256_unpacklo_epi8(luma, chroma) : _mm256_unpacklo_epi8(chroma, luma);
    const __m256i hi = P == LumaPlace::Even ? _mm256_unpackhi_epi8(luma, chroma) : _mm256_unpackhi_epi8(chroma, luma);
    Store(dst, _mm256_castsi256_si128(lo));
    Store(dst + 16, _mm256_castsi256_si128(hi));
    Store(dst + 32, _mm256_extracti128_si256(lo, 1));
    Store(dst + 48, _mm256_extracti128_si256(hi, 1));
}

template <LumaPlace P>
std::uint32_t Run(std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0, const std::uint8_t* c1,
                  std::uint32_t pairs) {
    const std::uint32_t steps = pairs / 16;
    for (std::uint32_t s = 0; s < steps; ++s) {
        const std::size_t c = std::size_t(s) * 16;
        // Each chroma byte widened to 16 bits: first | second << 8 is a pair.
        const __m256i first = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c0 + c)));
        const __m256i second = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c1 + c)));
        Line<P>(dst + 4 * c, y + 2 * c, _mm256_or_si256(first, _mm256_slli_epi16(second, 8)));
    }
    return steps * 16;
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t MergePairsAvx2(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                             const std::uint8_t* c1, std::uint32_t pairs) {
    return place == LumaPlace::Even ? Run<LumaPlace::Even>(dst, y, c0, c1, pairs)
                                    : Run<LumaPlace::Odd>(dst, y, c0, c1, pairs);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t MergePairsAvx2(LumaPlace, std::uint8_t*, const std::uint8_t*, const std::uint8_t*, const std::uint8_t*,
                             std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallMergeAvx2(MergeKernels& k) { k.pairs = MergePairsAvx2; }

}  // namespace lumacore

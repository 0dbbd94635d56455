// SSE2 merge of planes into packed pairs: the two chroma rows interleave
// into chroma pairs, which interleave with the luma.
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

// 16 pairs from 32 luma bytes and the interleaved chroma of those pairs.
template <LumaPlace P>
inline void Line(std::uint8_t* dst, const std::uint8_t* y, __m128i uv_lo, __m128i uv_hi) {
    const __m128i ya = Load(y), yb = Load(y + 16);
    if constexpr (P == LumaPlace::Even) {
        Store(dst, _mm_unpacklo_epi8(ya, uv_lo));
        Store(dst + 16, _mm_unpackhi_epi8(ya, uv_lo));
        Store(dst + 32, _mm_unpacklo_epi8(yb, uv_hi));
        Store(dst + 48, _mm_unpackhi_epi8(yb, uv_hi));
    } else {
        Store(dst, _mm_unpacklo_epi8(uv_lo, ya));
        Store(dst + 16, _mm_unpackhi_epi8(uv_lo, ya));
        Store(dst + 32, _mm_unpacklo_epi8(uv_hi, yb));
        Store(dst + 48, _mm_unpackhi_epi8(uv_hi, yb));
    }
}

template <LumaPlace P>
std::uint32_t Run(std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0, const std::uint8_t* c1,
                  std::uint32_t pairs) {
    const std::uint32_t steps = pairs / 16;
    for (std::uint32_t s = 0; s < steps; ++s) {
        const std::size_t c = std::size_t(s) * 16;
        const __m128i first = Load(c0 + c), second = Load(c1 + c);
        Line<P>(dst + 4 * c, y + 2 * c, _mm_unpacklo_epi8(first, second), _mm_unpackhi_epi8(first, second));
    }
    return steps * 16;
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t MergePairsSse2(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                             const std::uint8_t* c1, std::uint32_t pairs) {
    return place == LumaPlace::Even ? Run<LumaPlace::Even>(dst, y, c0, c1, pairs)
                                    : Run<LumaPlace::Odd>(dst, y, c0, c1, pairs);
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t MergePairsSse2(LumaPlace, std::uint8_t*, const std::uint8_t*, const std::uint8_t*, const std::uint8_t*,
                             std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallMergeSse2(MergeKernels& k) { k.pairs = MergePairsSse2; }

}  // namespace lumacore

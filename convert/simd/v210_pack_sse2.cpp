// SSE2 v210 packing without a byte shuffle: byte shifts and dword unpacks
// gather the three samples of each word into one dword, then masks and
// shifts put each at its bit position.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include "convert/simd/v210_group_loops.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

// The group in bytes 0-11 of x to its four words.
inline __m128i PackOne(__m128i x) {
    // Dword k: bytes 3k to 3k + 3, whose low three are word k's samples.
    const __m128i lo = _mm_unpacklo_epi32(x, _mm_srli_si128(x, 3));
    const __m128i hi = _mm_unpacklo_epi32(_mm_srli_si128(x, 6), _mm_srli_si128(x, 9));
    const __m128i e = _mm_unpacklo_epi64(lo, hi);
    const __m128i s0 = _mm_slli_epi32(_mm_and_si128(e, _mm_set1_epi32(0x0000FF)), 2);
    const __m128i s1 = _mm_slli_epi32(_mm_and_si128(e, _mm_set1_epi32(0x00FF00)), 4);
    const __m128i s2 = _mm_slli_epi32(_mm_and_si128(e, _mm_set1_epi32(0xFF0000)), 6);
    return _mm_or_si128(_mm_or_si128(s0, s1), s2);
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t PackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return v210_loops::PackGroups(PackOne, dst, src, groups);
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t PackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return PackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallV210PackSse2(V210PackKernels& k) { k.groups = PackGroupsSse2; }

}  // namespace lumacore

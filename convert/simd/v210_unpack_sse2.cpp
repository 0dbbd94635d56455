// SSE2 v210 unpacking without a byte shuffle: the samples' top bits are
// brought to bytes 0-2 of each word, then 64-bit and 128-bit shifts close the
// gaps.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include "convert/simd/v210_group_loops.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

// A group's four words to its twelve bytes, in bytes 0-11.
inline __m128i UnpackOne(__m128i w) {
    // Bytes 0-2 of each word: bits 2-9 and 22-29 by a multiply-high (the low
    // 16 bits shifted right by 2, the high ones by 6), bits 12-19 by a shift.
    const __m128i ends = _mm_mulhi_epu16(w, _mm_set1_epi32(0x04004000));
    const __m128i t = _mm_or_si128(_mm_and_si128(ends, _mm_set1_epi32(0x00FF00FF)),
                                   _mm_and_si128(_mm_srli_epi32(w, 4), _mm_set1_epi32(0x0000FF00)));
    // In each 64-bit half, the second word's three bytes next to the first's.
    const __m128i six = _mm_or_si128(_mm_and_si128(t, _mm_set1_epi64x(0x000000FFFFFF)),
                                     _mm_and_si128(_mm_srli_epi64(t, 8), _mm_set1_epi64x(0xFFFFFF000000)));
    // Then the upper half's six bytes next to the lower half's.
    const __m128i low_six = _mm_setr_epi32(-1, 0xFFFF, 0, 0);
    const __m128i next_six = _mm_setr_epi32(0, int(0xFFFF0000), -1, 0);
    return _mm_or_si128(_mm_and_si128(six, low_six), _mm_and_si128(_mm_srli_si128(six, 2), next_six));
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t UnpackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return v210_loops::UnpackGroups(UnpackOne, dst, src, groups);
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t UnpackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return UnpackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallV210UnpackSse2(V210UnpackKernels& k) { k.groups = UnpackGroupsSse2; }

}  // namespace lumacore

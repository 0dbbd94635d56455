// SSSE3 v210 packing: two byte shuffles spread a group's twelve samples over
// 16-bit lanes, and one multiply and one shift put each at its bit position
// (v x 4 at bit 0, v x 4 << 10 at bit 10, v x 4 << 20 at bit 20).
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <tmmintrin.h>

#include "convert/simd/v210_group_loops.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

// The group in bytes 0-11 of x to its four words.
inline __m128i PackOne(__m128i x) {
    // Word k: samples 3k and 3k + 2 in its two 16-bit halves, scaled by 4
    // and 64 (that is, to bits 2 and 22 of the word), sample 3k + 1 in its
    // second byte, shifted to bit 12.
    const __m128i outer = _mm_setr_epi8(0, -1, 2, -1, 3, -1, 5, -1, 6, -1, 8, -1, 9, -1, 11, -1);
    const __m128i middle = _mm_setr_epi8(-1, 1, -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1);
    const __m128i scale = _mm_setr_epi16(4, 64, 4, 64, 4, 64, 4, 64);
    const __m128i ends = _mm_mullo_epi16(_mm_shuffle_epi8(x, outer), scale);
    return _mm_or_si128(ends, _mm_slli_epi32(_mm_shuffle_epi8(x, middle), 4));
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t PackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return v210_loops::PackGroups(PackOne, dst, src, groups);
}

}  // namespace lumacore

#else  // no SSSE3 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t PackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return PackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallV210PackSsse3(V210PackKernels& k) { k.groups = PackGroupsSsse3; }

}  // namespace lumacore

// SSSE3 v210 unpacking: each word's samples' top eight bits are brought to
// bytes 0, 1 and 2 of the word, and one byte shuffle closes the gaps: four
// words give twelve bytes.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <tmmintrin.h>

#include "convert/simd/v210_group_loops.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

// Bytes 0, 1 and 2 of each word become the top eight bits of its three
// samples: a multiply-high shifts the low 16 bits right by 2 and the high 16
// bits by 6 (bits 2-9 and 22-29), a 32-bit shift brings bits 12-19 to byte 1.
inline __m128i TopBytes(__m128i w) {
    const __m128i ends = _mm_mulhi_epu16(w, _mm_set1_epi32(0x04004000));
    const __m128i middle = _mm_srli_epi32(w, 4);
    return _mm_or_si128(_mm_and_si128(ends, _mm_set1_epi32(0x00FF00FF)),
                        _mm_and_si128(middle, _mm_set1_epi32(0x0000FF00)));
}

// A group's four words to its twelve bytes, in bytes 0-11.
inline __m128i UnpackOne(__m128i w) {
    const __m128i close = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    return _mm_shuffle_epi8(TopBytes(w), close);
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t UnpackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return v210_loops::UnpackGroups(UnpackOne, dst, src, groups);
}

}  // namespace lumacore

#else  // no SSSE3 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t UnpackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return UnpackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallV210UnpackSsse3(V210UnpackKernels& k) { k.groups = UnpackGroupsSsse3; }

}  // namespace lumacore

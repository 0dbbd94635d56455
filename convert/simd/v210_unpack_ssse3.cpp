// SSSE3 v210 unpacking: each word's samples' top eight bits are brought to
// bytes 0, 1 and 2 of the word, and one byte shuffle closes the gaps: four
// words give twelve bytes.
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <tmmintrin.h>

#include <cstring>

namespace lumacore {
namespace {

inline __m128i Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

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

std::uint32_t UnpackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    if (groups == 0) return 0;
    // Each group's 16-byte store spills four bytes that the next group's
    // store overwrites; the last group stores exactly twelve.
    std::uint32_t g = 0;
    for (; g + 4 < groups; g += 4) {
        const __m128i a = UnpackOne(Load(src + 16 * g)), b = UnpackOne(Load(src + 16 * g + 16)),
                      c = UnpackOne(Load(src + 16 * g + 32)), d = UnpackOne(Load(src + 16 * g + 48));
        Store(dst + 12 * g, a);
        Store(dst + 12 * g + 12, b);
        Store(dst + 12 * g + 24, c);
        Store(dst + 12 * g + 36, d);
    }
    for (; g + 1 < groups; ++g) Store(dst + 12 * g, UnpackOne(Load(src + 16 * g)));
    const __m128i last = UnpackOne(Load(src + 16 * g));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12 * g), last);
    const int tail = _mm_cvtsi128_si32(_mm_srli_si128(last, 8));
    std::memcpy(dst + 12 * g + 8, &tail, 4);
    return groups;
}

}  // namespace lumacore

#else  // no SSSE3 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t UnpackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return UnpackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

// SSSE3 v210 packing: two byte shuffles spread a group's twelve samples over
// 16-bit lanes, and one multiply and one shift put each at its bit position
// (v x 4 at bit 0, v x 4 << 10 at bit 10, v x 4 << 20 at bit 20).
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <tmmintrin.h>

#include <cstring>

namespace lumacore {
namespace {

inline __m128i Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

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

std::uint32_t PackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    if (groups == 0) return 0;
    // A 16-byte load takes four bytes of the next group: fine for every
    // group but the last.
    std::uint32_t g = 0;
    for (; g + 4 < groups; g += 4) {
        const __m128i a = Load(src + 12 * g), b = Load(src + 12 * g + 12), c = Load(src + 12 * g + 24),
                      d = Load(src + 12 * g + 36);
        Store(dst + 16 * g, PackOne(a));
        Store(dst + 16 * g + 16, PackOne(b));
        Store(dst + 16 * g + 32, PackOne(c));
        Store(dst + 16 * g + 48, PackOne(d));
    }
    for (; g + 1 < groups; ++g) Store(dst + 16 * g, PackOne(Load(src + 12 * g)));
    // The last group: loaded from four bytes before it when there are such.
    __m128i last;
    if (g > 0) {
        last = _mm_srli_si128(Load(src + 12 * g - 4), 4);
    } else {
        std::uint8_t bytes[16] = {};
        std::memcpy(bytes, src, 12);
        last = Load(bytes);
    }
    Store(dst + 16 * g, PackOne(last));
    return groups;
}

}  // namespace lumacore

#else  // no SSSE3 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t PackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return PackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

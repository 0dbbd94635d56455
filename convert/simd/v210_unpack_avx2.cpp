// AVX2 v210 unpacking, two groups a register (one per 128-bit lane). Each
// word's samples' top eight bits are brought to bytes 0-2 of the word, then
// byte shuffles put them in UYVY order or sort them into planes.
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace lumacore {
namespace {

inline __m256i Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
// 16 bytes from `lo` in the low lane and 16 from `hi` in the high one.
inline __m256i Load2(const std::uint8_t* lo, const std::uint8_t* hi) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lo))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(hi)), 1);
}

// Bytes 0, 1, 2 of each word: bits 2-9 and 22-29 by a multiply-high (the low
// 16 bits shifted right by 2, the high ones by 6), bits 12-19 by a shift.
inline __m256i TopBytes(__m256i w) {
    const __m256i ends = _mm256_mulhi_epu16(w, _mm256_set1_epi32(0x04004000));
    const __m256i middle = _mm256_srli_epi32(w, 4);
    return _mm256_blendv_epi8(ends, middle, _mm256_set1_epi32(0x0000FF00));
}

// Two groups' words to their twelve bytes each, in bytes 0-11 of each lane.
inline __m256i UnpackTwo(__m256i w) {
    const __m256i close = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                           0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    return _mm256_shuffle_epi8(TopBytes(w), close);
}

// The two lanes' twelve bytes to dst and dst + 12; the second store spills
// four bytes past them.
inline void StoreTwo(std::uint8_t* dst, __m256i two) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(two));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm256_extracti128_si256(two, 1));
}

// In a group's top bytes, word k's samples sit at bytes 4k to 4k + 2:
// Cb0 Y0 Cr0 | Y1 Cb1 Y2 | Cr1 Y3 Cb2 | Y4 Cr2 Y5.
#define Y_OF_GROUP 1, 4, 6, 9, 12, 14
#define CB_OF_GROUP 0, 5, 10
#define CR_OF_GROUP 2, 8, 13
#define NONE2 -1, -1
#define NONE3 -1, -1, -1
#define NONE4 -1, -1, -1, -1

template <bool Chroma>
std::uint32_t ToPlanes(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                       std::uint32_t groups) {
    // A step takes four groups, the registers' lanes holding groups 0 and 2
    // (first) and 1 and 3 (second), so that one lane's shuffles give two
    // consecutive groups. Luma: groups 0|1 and 2|3 in bytes 0-11 of the
    // lanes. Chroma: Cb in bytes 0-5, Cr in bytes 8-13.
    const __m256i luma_first = _mm256_setr_epi8(Y_OF_GROUP, NONE2, NONE4, NONE4, Y_OF_GROUP, NONE2, NONE4, NONE4);
    const __m256i luma_second = _mm256_setr_epi8(NONE2, NONE4, Y_OF_GROUP, NONE4, NONE2, NONE4, Y_OF_GROUP, NONE4);
    const __m256i chroma_first = _mm256_setr_epi8(CB_OF_GROUP, NONE3, NONE2, CR_OF_GROUP, NONE3, NONE2,  //
                                                  CB_OF_GROUP, NONE3, NONE2, CR_OF_GROUP, NONE3, NONE2);
    const __m256i chroma_second = _mm256_setr_epi8(NONE3, CB_OF_GROUP, NONE2, NONE3, CR_OF_GROUP, NONE2,  //
                                                   NONE3, CB_OF_GROUP, NONE2, NONE3, CR_OF_GROUP, NONE2);
    // Each lane is stored on its own (no cross-lane permute). Stores spill
    // past each step's bytes (4 luma, 2 of each chroma row), which the next
    // step overwrites: steps run while the luma spill stays within the
    // groups' bytes (the chroma spill then does too).
    std::uint32_t g = 0;
    for (; 6 * g + 28 <= 6 * groups; g += 4) {
        const __m256i first = TopBytes(Load2(src + 16 * g, src + 16 * g + 32));
        const __m256i second = TopBytes(Load2(src + 16 * g + 16, src + 16 * g + 48));
        const __m256i luma =
            _mm256_or_si256(_mm256_shuffle_epi8(first, luma_first), _mm256_shuffle_epi8(second, luma_second));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + 6 * g), _mm256_castsi256_si128(luma));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + 6 * g + 12), _mm256_extracti128_si256(luma, 1));
        if constexpr (Chroma) {
            const __m256i chroma =
                _mm256_or_si256(_mm256_shuffle_epi8(first, chroma_first), _mm256_shuffle_epi8(second, chroma_second));
            const __m128i lo = _mm256_castsi256_si128(chroma), hi = _mm256_extracti128_si256(chroma, 1);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(cb + 3 * g), lo);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(cb + 3 * g + 6), hi);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(cr + 3 * g), _mm_unpackhi_epi64(lo, lo));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(cr + 3 * g + 6), _mm_unpackhi_epi64(hi, hi));
        }
    }
    return g;
}

}  // namespace

std::uint32_t UnpackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    // Two groups a register; each step's stores spill four bytes that the
    // next step overwrites, so steps run while those lie within the groups.
    // The SSSE3 kernel takes the rest and ends exactly.
    const std::uint32_t dst_bytes = 12 * groups;
    std::uint32_t g = 0;
    for (; 12 * g + 52 <= dst_bytes; g += 4) {
        const __m256i a = UnpackTwo(Load(src + 16 * g)), b = UnpackTwo(Load(src + 16 * g + 32));
        StoreTwo(dst + 12 * g, a);
        StoreTwo(dst + 12 * g + 24, b);
    }
    for (; 12 * g + 28 <= dst_bytes; g += 2) StoreTwo(dst + 12 * g, UnpackTwo(Load(src + 16 * g)));
    return g + UnpackGroupsSsse3(dst + 12 * g, src + 16 * g, groups - g);
}

std::uint32_t UnpackGroupsToPlanesAvx2(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                                       std::uint32_t groups) {
    return cb ? ToPlanes<true>(y, cb, cr, src, groups) : ToPlanes<false>(y, cb, cr, src, groups);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t UnpackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return UnpackGroupsPlain(dst, src, groups);
}

std::uint32_t UnpackGroupsToPlanesAvx2(std::uint8_t*, std::uint8_t*, std::uint8_t*, const std::uint8_t*,
                                       std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

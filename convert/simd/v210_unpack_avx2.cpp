// AVX2 v210 unpacking, two groups a register (one per 128-bit lane). Each
// word's samples' top eight bits are brought to bytes 0-2 of the word, then
// byte shuffles put them in UYVY order or sort them into planes.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace lumacore {
inline namespace LUMACORE_ISA {
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

// Four groups from src to 24 luma samples at y and 12 of each chroma at cb
// and cr. The registers' lanes hold groups 0 and 2 (first) and 1 and 3
// (second), so that one lane's shuffles give two consecutive groups. Luma:
// groups 0|1 and 2|3 in bytes 0-11 of the lanes. Chroma: Cb in bytes 0-5,
// Cr in bytes 8-13. Each lane is stored on its own (no cross-lane permute).
// Unless Exact, the stores spill past the step's bytes (4 luma, 2 of each
// chroma row) for the next step to overwrite; Exact ends every row at the
// step's last byte, at the cost of a few more stores.
template <bool Chroma, bool Exact>
inline void PlanesStep(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src) {
    const __m256i luma_first = _mm256_setr_epi8(Y_OF_GROUP, NONE2, NONE4, NONE4, Y_OF_GROUP, NONE2, NONE4, NONE4);
    const __m256i luma_second = _mm256_setr_epi8(NONE2, NONE4, Y_OF_GROUP, NONE4, NONE2, NONE4, Y_OF_GROUP, NONE4);
    const __m256i chroma_first = _mm256_setr_epi8(CB_OF_GROUP, NONE3, NONE2, CR_OF_GROUP, NONE3, NONE2,  //
                                                  CB_OF_GROUP, NONE3, NONE2, CR_OF_GROUP, NONE3, NONE2);
    const __m256i chroma_second = _mm256_setr_epi8(NONE3, CB_OF_GROUP, NONE2, NONE3, CR_OF_GROUP, NONE2,  //
                                                   NONE3, CB_OF_GROUP, NONE2, NONE3, CR_OF_GROUP, NONE2);
    const __m256i first = TopBytes(Load2(src, src + 32));
    const __m256i second = TopBytes(Load2(src + 16, src + 48));
    const __m256i luma =
        _mm256_or_si256(_mm256_shuffle_epi8(first, luma_first), _mm256_shuffle_epi8(second, luma_second));
    const __m128i luma_hi = _mm256_extracti128_si256(luma, 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(y), _mm256_castsi256_si128(luma));
    if constexpr (Exact) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(y + 12), luma_hi);
        _mm_storeu_si32(y + 20, _mm_srli_si128(luma_hi, 8));
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + 12), luma_hi);
    }
    if constexpr (Chroma) {
        const __m256i chroma =
            _mm256_or_si256(_mm256_shuffle_epi8(first, chroma_first), _mm256_shuffle_epi8(second, chroma_second));
        const __m128i lo = _mm256_castsi256_si128(chroma), hi = _mm256_extracti128_si256(chroma, 1);
        // Cr from the upper halves by a high-half store, which needs no
        // shuffle.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(cb), lo);
        _mm_storeh_pi(reinterpret_cast<__m64*>(cr), _mm_castsi128_ps(lo));
        if constexpr (Exact) {
            const __m128i hi_cr = _mm_unpackhi_epi64(hi, hi);
            _mm_storeu_si32(cb + 6, hi);
            _mm_storeu_si16(cb + 10, _mm_srli_si128(hi, 4));
            _mm_storeu_si32(cr + 6, hi_cr);
            _mm_storeu_si16(cr + 10, _mm_srli_si128(hi_cr, 4));
        } else {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(cb + 6), hi);
            _mm_storeh_pi(reinterpret_cast<__m64*>(cr + 6), _mm_castsi128_ps(hi));
        }
    }
}

// Every group when there are at least four: steps that spill while the spill
// stays within the groups' bytes, then one exact step ending at the last
// group (rewriting groups already done with the same bytes).
template <bool Chroma>
std::uint32_t ToPlanes(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                       std::uint32_t groups) {
    if (groups < 4) return 0;
    // Without chroma, cb and cr are null and stay so.
    const std::uint32_t chroma_step = Chroma ? 3 : 0;
    for (std::uint32_t g = 0; g + 5 <= groups; g += 4)
        PlanesStep<Chroma, false>(y + 6 * g, cb + chroma_step * g, cr + chroma_step * g, src + 16 * g);
    const std::uint32_t last = groups - 4;
    PlanesStep<Chroma, true>(y + 6 * last, cb + chroma_step * last, cr + chroma_step * last, src + 16 * last);
    return groups;
}

}  // namespace
}  // namespace LUMACORE_ISA

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

namespace lumacore {

void InstallV210UnpackAvx2(V210UnpackKernels& k) {
    k.groups = UnpackGroupsAvx2;
    k.to_planes = UnpackGroupsToPlanesAvx2;
}

}  // namespace lumacore

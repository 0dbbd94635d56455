// AVX2 Y'CbCr to RGB: the pair pipeline on 256-bit registers, 6-bit programs
// on packed pairs in 16-bit lanes (to_rgb_words.h), and a v210 unpacking by
// byte shuffles.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

#if defined(__x86_64__) || defined(__i386__)

#include "colour/simd/to_rgb_isa_avx2.h"
#include "colour/simd/to_rgb_pipeline.h"
#include "colour/simd/to_rgb_words.h"

namespace lumacore {

std::uint32_t ToRgbPairBlocksAvx2(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                  const void* b, const void* c, std::uint32_t pixels) {
    if (ShiftSixFitsWords(program, source))
        return to_rgb_words::Run<to_rgb_pipeline::Avx2>(program, source, dst, a, pixels);
    return to_rgb_pipeline::Run<to_rgb_pipeline::Avx2>(program, source, dst, a, b, c, pixels);
}

std::uint32_t ToRgbTwoLinesAvx2(const PairProgram& program, std::uint8_t* const dst[2],
                        const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                        std::uint32_t pixels) {
    return to_rgb_pipeline::RunTwoLines<to_rgb_pipeline::Avx2>(program, dst, luma, cb, cr, pixels);
}

// Two groups a step, one per lane. The words' three 10-bit fields, packed to
// 16 bits, are (Cb0 Y1 Cr1 Y4 | Y0 Cb1 Y3 Cr2) and (Cr0 Y2 Cb2 Y5); two byte
// shuffles of each pick the Y words (Y0 Y1, Y2 Y3, Y4 Y5) and the C words
// (Cb0 Cr0, Cb1 Cr1, Cb2 Cr2) of the lane's three pairs, and one permute
// joins the lanes' six pairs.
void UnpackV210PairsAvx2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs) {
    const __m256i mask = _mm256_set1_epi32(0x3FF);
    const __m256i y_from_low = _mm256_setr_epi8(8, 9, 2, 3, -1, -1, 12, 13, 6, 7, -1, -1, -1, -1, -1, -1,  //
                                                8, 9, 2, 3, -1, -1, 12, 13, 6, 7, -1, -1, -1, -1, -1, -1);
    const __m256i y_from_high = _mm256_setr_epi8(-1, -1, -1, -1, 2, 3, -1, -1, -1, -1, 6, 7, -1, -1, -1, -1,  //
                                                 -1, -1, -1, -1, 2, 3, -1, -1, -1, -1, 6, 7, -1, -1, -1, -1);
    const __m256i c_from_low = _mm256_setr_epi8(0, 1, -1, -1, 10, 11, 4, 5, -1, -1, 14, 15, -1, -1, -1, -1,  //
                                                0, 1, -1, -1, 10, 11, 4, 5, -1, -1, 14, 15, -1, -1, -1, -1);
    const __m256i c_from_high = _mm256_setr_epi8(-1, -1, 0, 1, -1, -1, -1, -1, 4, 5, -1, -1, -1, -1, -1, -1,  //
                                                 -1, -1, 0, 1, -1, -1, -1, -1, 4, 5, -1, -1, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    std::uint32_t g = 0;
    for (; g + 2 <= groups; g += 2) {
        const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 16 * g));
        const __m256i low = _mm256_and_si256(words, mask);
        const __m256i mid = _mm256_and_si256(_mm256_srli_epi32(words, 10), mask);
        const __m256i high = _mm256_and_si256(_mm256_srli_epi32(words, 20), mask);
        const __m256i low_mid = _mm256_packs_epi32(low, mid);
        const __m256i high_high = _mm256_packs_epi32(high, high);
        const __m256i y = _mm256_or_si256(_mm256_shuffle_epi8(low_mid, y_from_low),
                                          _mm256_shuffle_epi8(high_high, y_from_high));
        const __m256i c = _mm256_or_si256(_mm256_shuffle_epi8(low_mid, c_from_low),
                                          _mm256_shuffle_epi8(high_high, c_from_high));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(y_pairs + 3 * g), _mm256_permutevar8x32_epi32(y, join));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(c_pairs + 3 * g), _mm256_permutevar8x32_epi32(c, join));
    }
    for (; g < groups; ++g) UnpackV210Group(src + 16 * g, y_pairs + 3 * g, c_pairs + 3 * g);
}

void DivideBy10000Avx2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    to_rgb_pipeline::DivideBy10000<to_rgb_pipeline::Avx2>(sums, out, count);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t ToRgbTwoLinesAvx2(const PairProgram&, std::uint8_t* const[2], const std::uint8_t* const[2],
                        const std::uint8_t*, const std::uint8_t*, std::uint32_t) {
    return 0;
}

std::uint32_t ToRgbPairBlocksAvx2(const PairProgram&, PairSource, std::uint8_t*, const void*, const void*,
                                  const void*, std::uint32_t) {
    return 0;
}
void UnpackV210PairsAvx2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs) {
    UnpackV210PairsSse2(src, groups, y_pairs, c_pairs);
}
void DivideBy10000Avx2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    DivideBy10000Sse2(sums, out, count);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallToRgbAvx2(ToRgbKernels& k) {
    k.pair_blocks = ToRgbPairBlocksAvx2;
    k.block_pixels = kAvx2BlockPixels;
    k.two_lines = ToRgbTwoLinesAvx2;
    k.v210_pairs = UnpackV210PairsAvx2;
    k.divide = DivideBy10000Avx2;
}

}  // namespace lumacore

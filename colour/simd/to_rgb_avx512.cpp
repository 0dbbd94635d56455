// AVX-512 tier of the Y'CbCr to RGB kernels: 6-bit programs on packed 8-bit
// pairs in 16-bit lanes, thirty-two pixels a step (to_rgb_words.h); every
// other program on the pair pipeline with 512-bit registers and VNNI
// multiply-adds; v210 groups unpacked by byte permutes, four at a time.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "colour/simd/to_rgb_isa_avx512.h"
#include "colour/simd/to_rgb_pipeline.h"
#include "colour/simd/to_rgb_words.h"

namespace lumacore {

std::uint32_t ToRgbPairBlocksAvx512(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                    const void* b, const void* c, std::uint32_t pixels) {
    if (ShiftSixFitsWords(program, source))
        return to_rgb_words::Run<to_rgb_pipeline::Avx512>(program, source, dst, a, pixels);
    return to_rgb_pipeline::Run<to_rgb_pipeline::Avx512>(program, source, dst, a, b, c, pixels);
}

std::uint32_t ToRgbTwoLinesAvx512(const PairProgram& program, std::uint8_t* const dst[2],
                        const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                        std::uint32_t pixels) {
    return to_rgb_pipeline::RunTwoLines<to_rgb_pipeline::Avx512>(program, dst, luma, cb, cr, pixels);
}

void DivideBy10000Avx512(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    to_rgb_pipeline::DivideBy10000<to_rgb_pipeline::Avx512>(sums, out, count);
}

namespace {

// Where the words of four groups' pair words come from: each 10-bit field
// lies within two bytes of its group, shifted by 0, 2 or 4 bits. Word k of
// the Y (or C) words is field kFields[k % 6] of group k / 6; the last eight
// words of the register are not stored.
struct FieldPlaces {
    std::uint8_t bytes[64];
    std::uint16_t shifts[32];
};

constexpr FieldPlaces MakePlaces(const int (&fields)[6][2]) {
    FieldPlaces p{};
    for (int k = 0; k < 24; ++k) {
        const int word = fields[k % 6][0], field = fields[k % 6][1];
        const int bit = 32 * word + 10 * field, at = 16 * (k / 6) + bit / 8;
        p.bytes[2 * k] = std::uint8_t(at);
        p.bytes[2 * k + 1] = std::uint8_t(at + 1);
        p.shifts[k] = std::uint16_t(bit % 8);
    }
    return p;
}

// (word, field) of Y0..Y5 and of Cb0 Cr0 Cb2 Cr2 Cb4 Cr4 in a group.
constexpr int kYFields[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {3, 0}, {3, 2}};
constexpr int kCFields[6][2] = {{0, 0}, {0, 2}, {1, 1}, {2, 0}, {2, 2}, {3, 1}};
alignas(64) constexpr FieldPlaces kYPlaces = MakePlaces(kYFields);
alignas(64) constexpr FieldPlaces kCPlaces = MakePlaces(kCFields);

}  // namespace

// Four groups a step: one byte permute puts each field's two bytes in its
// word, one variable shift and a mask finish it.
void UnpackV210PairsAvx512(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                           std::uint32_t* c_pairs) {
    const __m512i y_bytes = _mm512_loadu_si512(kYPlaces.bytes), c_bytes = _mm512_loadu_si512(kCPlaces.bytes);
    const __m512i y_shifts = _mm512_loadu_si512(kYPlaces.shifts), c_shifts = _mm512_loadu_si512(kCPlaces.shifts);
    const __m512i field = _mm512_set1_epi16(0x3FF);
    const __mmask64 words24 = (__mmask64(1) << 48) - 1;
    std::uint32_t g = 0;
    for (; g + 4 <= groups; g += 4) {
        const __m512i v = _mm512_loadu_si512(src + 16 * std::size_t(g));
        const __m512i y = _mm512_and_si512(_mm512_srlv_epi16(_mm512_permutexvar_epi8(y_bytes, v), y_shifts), field);
        const __m512i c = _mm512_and_si512(_mm512_srlv_epi16(_mm512_permutexvar_epi8(c_bytes, v), c_shifts), field);
        _mm512_mask_storeu_epi8(y_pairs + 3 * std::size_t(g), words24, y);
        _mm512_mask_storeu_epi8(c_pairs + 3 * std::size_t(g), words24, c);
    }
    for (; g < groups; ++g) UnpackV210Group(src + 16 * g, y_pairs + 3 * g, c_pairs + 3 * g);
}

}  // namespace lumacore

#else

namespace lumacore {

std::uint32_t ToRgbTwoLinesAvx512(const PairProgram&, std::uint8_t* const[2], const std::uint8_t* const[2],
                        const std::uint8_t*, const std::uint8_t*, std::uint32_t) {
    return 0;
}

std::uint32_t ToRgbPairBlocksAvx512(const PairProgram&, PairSource, std::uint8_t*, const void*, const void*,
                                    const void*, std::uint32_t) {
    return 0;
}
void DivideBy10000Avx512(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    DivideBy10000Sse2(sums, out, count);
}
void UnpackV210PairsAvx512(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                           std::uint32_t* c_pairs) {
    UnpackV210PairsSse2(src, groups, y_pairs, c_pairs);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallToRgbAvx512(ToRgbKernels& k) {
    k.pair_blocks = ToRgbPairBlocksAvx512;
    k.block_pixels = kAvx512BlockPixels;
    k.two_lines = ToRgbTwoLinesAvx512;
    k.divide = DivideBy10000Avx512;
    k.v210_pairs = UnpackV210PairsAvx512;
}

}  // namespace lumacore

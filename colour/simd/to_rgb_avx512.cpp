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
namespace {

struct Avx512Words {
    using V = __m512i;
    static constexpr std::uint32_t kStepPixels = 32;

    static V Load(const void* p) { return _mm512_loadu_si512(p); }
    static void Store(void* p, V v) { _mm512_storeu_si512(p, v); }
    static V Zero() { return _mm512_setzero_si512(); }
    static V Set16(std::int16_t v) { return _mm512_set1_epi16(v); }
    static V Set32(std::int32_t v) { return _mm512_set1_epi32(v); }
    static V LaneBytes(char a, char b, char c, char d, char e, char f, char g, char h, char i, char j, char k,
                       char l, char m, char n, char o, char p) {
        const __m128i lane = _mm_setr_epi8(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p);
        return _mm512_broadcast_i32x4(lane);
    }
    static V And(V a, V b) { return _mm512_and_si512(a, b); }
    static V Or(V a, V b) { return _mm512_or_si512(a, b); }
    template <int N>
    static V Srli16(V a) { return _mm512_srli_epi16(a, N); }
    template <int N>
    static V Slli16(V a) { return _mm512_slli_epi16(a, N); }
    template <int N>
    static V Srai16(V a) { return _mm512_srai_epi16(a, N); }
    static V Mullo16(V a, V b) { return _mm512_mullo_epi16(a, b); }
    static V Add16(V a, V b) { return _mm512_add_epi16(a, b); }
    static V Adds16(V a, V b) { return _mm512_adds_epi16(a, b); }
    static V Madd(V a, V b) { return _mm512_madd_epi16(a, b); }
    static V Shuffle8(V a, V b) { return _mm512_shuffle_epi8(a, b); }
    static V Min16(V a, V b) { return _mm512_min_epi16(a, b); }
    static V Max16(V a, V b) { return _mm512_max_epi16(a, b); }
    static V PackUs16(V a, V b) { return _mm512_packus_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm512_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm512_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm512_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm512_unpackhi_epi16(a, b); }

    // Pixel bytes straight from the packed slots: lane k of `br` holds the
    // first and third slot's bytes of pixels 8k..8k+7, of `ga` the second and
    // fourth slot's. Half h of the step's pixels (16 each) as 4 or 3 bytes a
    // pixel, nothing written past them.
    static constexpr bool kBytePermutes = true;
    struct PixelIndex {
        std::uint8_t four[2][64], three[2][64];
    };
    static constexpr PixelIndex MakePixelIndex() {
        PixelIndex x{};
        for (int h = 0; h < 2; ++h)
            for (int p = 0; p < 16; ++p) {
                const int pixel = 16 * h + p, lane = pixel / 8, i = pixel % 8;
                // Slot j's byte: j even in `br` (0..63), j odd in `ga` (64..127).
                const int at[4] = {16 * lane + i, 64 + 16 * lane + i, 16 * lane + 8 + i, 64 + 16 * lane + 8 + i};
                for (int j = 0; j < 4; ++j) x.four[h][4 * p + j] = std::uint8_t(at[j]);
                for (int j = 0; j < 3; ++j) x.three[h][3 * p + j] = std::uint8_t(at[j]);
            }
        return x;
    }
    template <int kBytes>
    static void StorePixelBytes(std::uint8_t* dst, V br, V ga, int half) {
        alignas(64) static constexpr PixelIndex kIndex = MakePixelIndex();
        const V index = _mm512_loadu_si512(kBytes == 4 ? kIndex.four[half] : kIndex.three[half]);
        const V bytes = _mm512_permutex2var_epi8(br, index, ga);
        if constexpr (kBytes == 4)
            Store(dst, bytes);
        else
            _mm512_mask_storeu_epi8(dst, (__mmask64(1) << 48) - 1, bytes);
    }
};

}  // namespace

std::uint32_t ToRgbPairBlocksAvx512(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                    const void* b, const void* c, std::uint32_t pixels) {
    if (ShiftSixFitsWords(program, source)) return to_rgb_words::Run<Avx512Words>(program, source, dst, a, pixels);
    return to_rgb_pipeline::Run<to_rgb_pipeline::Avx512>(program, source, dst, a, b, c, pixels);
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
    k.divide = DivideBy10000Avx512;
    k.v210_pairs = UnpackV210PairsAvx512;
}

}  // namespace lumacore

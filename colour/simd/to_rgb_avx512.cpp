// AVX-512 tier of the Y'CbCr to RGB kernels: 6-bit programs on packed 8-bit
// pairs in 16-bit lanes, thirty-two pixels a step (to_rgb_words.h); every
// other program on the pair pipeline with 512-bit registers and VNNI
// multiply-adds. v210 is unpacked by the AVX2 kernel.
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

    // Lane k holds pixels 4k..4k+3 and 16+4k..16+4k+3: the in-lane
    // interleaving then leaves pixels 0..15 in one register.
    static V ForQuads(V v) { return _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 4, 1, 5, 2, 6, 3, 7), v); }

    // Two registers of sixteen 32-bit pixels -> their first three bytes
    // each, 96 bytes, nothing written past them.
    static void StoreThreeOfFour(std::uint8_t* dst, V first, V second) {
        const V squeeze = LaneBytes(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
        const V join = _mm512_setr_epi32(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 15, 15, 15);
        const __mmask64 bytes48 = (__mmask64(1) << 48) - 1;
        _mm512_mask_storeu_epi8(dst, bytes48, _mm512_permutexvar_epi32(join, _mm512_shuffle_epi8(first, squeeze)));
        _mm512_mask_storeu_epi8(dst + 48, bytes48,
                                _mm512_permutexvar_epi32(join, _mm512_shuffle_epi8(second, squeeze)));
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

}  // namespace lumacore

#endif

namespace lumacore {

void InstallToRgbAvx512(ToRgbKernels& k) {
    k.pair_blocks = ToRgbPairBlocksAvx512;
    k.block_pixels = kAvx512BlockPixels;
    k.divide = DivideBy10000Avx512;
}

}  // namespace lumacore

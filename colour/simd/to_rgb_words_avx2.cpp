// AVX2: 6-bit programs on packed 8-bit pairs in 16-bit lanes, sixteen pixels
// a step (to_rgb_words.h).
#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "colour/simd/to_rgb_words.h"

namespace lumacore {
namespace {

struct Avx2Words {
    using V = __m256i;
    static constexpr std::uint32_t kStepPixels = 16;

    static V Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void Store(void* p, V v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set16(std::int16_t v) { return _mm256_set1_epi16(v); }
    static V Set32(std::int32_t v) { return _mm256_set1_epi32(v); }
    static V LaneBytes(char a, char b, char c, char d, char e, char f, char g, char h, char i, char j, char k,
                       char l, char m, char n, char o, char p) {
        return _mm256_setr_epi8(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, a, b, c, d, e, f, g, h, i, j, k, l,
                                m, n, o, p);
    }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    template <int N>
    static V Srli16(V a) { return _mm256_srli_epi16(a, N); }
    template <int N>
    static V Slli16(V a) { return _mm256_slli_epi16(a, N); }
    template <int N>
    static V Srai16(V a) { return _mm256_srai_epi16(a, N); }
    static V Mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Adds16(V a, V b) { return _mm256_adds_epi16(a, b); }
    static V Madd(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V Shuffle8(V a, V b) { return _mm256_shuffle_epi8(a, b); }
    static V Min16(V a, V b) { return _mm256_min_epi16(a, b); }
    static V Max16(V a, V b) { return _mm256_max_epi16(a, b); }
    static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }

    // Pixels 0..3 and 8..11 in lane 0, 4..7 and 12..15 in lane 1: the
    // in-lane interleaving then leaves pixels 0..7 in one register.
    static V ForQuads(V v) { return _mm256_permute4x64_epi64(v, 0xD8); }

    // Two registers of eight 32-bit pixels -> their first three bytes each,
    // 48 bytes, nothing written past them.
    static void StoreThreeOfFour(std::uint8_t* dst, V first, V second) {
        const V squeeze = LaneBytes(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
        const V join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
        Store(dst, _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(first, squeeze), join));
        const V last = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(second, squeeze), join);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 24), _mm256_castsi256_si128(last));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 40), _mm256_extracti128_si256(last, 1));
    }
};

}  // namespace

std::uint32_t ShiftSixWordsAvx2(const PairProgram& p, PairSource source, std::uint8_t* dst, const void* line,
                                std::uint32_t pixels) {
    return to_rgb_words::Run<Avx2Words>(p, source, dst, line, pixels);
}

}  // namespace lumacore

#else

namespace lumacore {

std::uint32_t ShiftSixWordsAvx2(const PairProgram&, PairSource, std::uint8_t*, const void*, std::uint32_t) {
    return 0;
}

}  // namespace lumacore

#endif

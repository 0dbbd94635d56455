// The AVX2 record of the pair pipeline: eight pairs a register, 32 pixels a
// block. The in-lane instructions leave an 8-bit slot holding pixels 0..7
// and 16..23 in its low lane and 8..15 and 24..31 in its high lane; the
// stores put the pixels back in order. Include only from *_avx2.cpp.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace to_rgb_pipeline {

struct Avx2 {
    using V = __m256i;
    static constexpr std::uint32_t kPairs = 8;

    static V Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set32(std::int32_t v) { return _mm256_set1_epi32(v); }
    static V Set8(std::uint8_t v) { return _mm256_set1_epi8(char(v)); }
    static V Set16Pair(std::int32_t first, std::int32_t second) {
        return _mm256_set1_epi32(std::int32_t(std::uint32_t(std::uint16_t(first)) |
                                              std::uint32_t(std::uint16_t(second)) << 16));
    }
    static __m128i ShiftCount(int n) { return _mm_cvtsi32_si128(n); }

    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
    static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Madd(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    template <int N>
    static V Srai32(V a) { return _mm256_srai_epi32(a, N); }
    template <int N>
    static V Srli32(V a) { return _mm256_srli_epi32(a, N); }
    template <int N>
    static V Srli16(V a) { return _mm256_srli_epi16(a, N); }
    template <int N>
    static V Slli16(V a) { return _mm256_slli_epi16(a, N); }
    static V Srl32(V a, __m128i count) { return _mm256_srl_epi32(a, count); }
    static V PackS32(V a, V b) { return _mm256_packs_epi32(a, b); }
    static V HighHalves(V a, V b) { return _mm256_blend_epi16(_mm256_srli_epi32(a, 16), b, 0xAA); }
    static V PackU16(V a, V b) { return _mm256_packus_epi16(a, b); }
    // Word operations of the 6-bit word kernels (to_rgb_words.h).
    static void Store(void* p, V v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static V Set16Word(std::int16_t v) { return _mm256_set1_epi16(v); }
    static V LaneBytes(char a, char b, char c, char d, char e, char f, char g, char h, char i, char j, char k,
                       char l, char m, char n, char o, char p) {
        return _mm256_setr_epi8(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, a, b, c, d, e, f, g, h, i, j, k, l,
                                m, n, o, p);
    }
    template <int N>
    static V Srai16(V a) { return _mm256_srai_epi16(a, N); }
    static V Mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Adds16(V a, V b) { return _mm256_adds_epi16(a, b); }
    static V Shuffle8(V a, V b) { return _mm256_shuffle_epi8(a, b); }
    static V Min16(V a, V b) { return _mm256_min_epi16(a, b); }
    static V Max16(V a, V b) { return _mm256_max_epi16(a, b); }
    // Pixels 0..3 and 8..11 in lane 0, 4..7 and 12..15 in lane 1: the
    // in-lane interleaving then leaves pixels 0..7 in one register.
    static V ForQuads(V v) { return _mm256_permute4x64_epi64(v, 0xD8); }
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }

    static V Divide10000(V sum) {
        const __m256 factor = _mm256_set1_ps(__builtin_bit_cast(float, kTenThousandthBits));
        return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(sum), factor));
    }

    // Single precision with fused multiply-adds (FusedDivide in the pipeline).
    using F = __m256;
    static constexpr bool kFusedDivide = true;
    static F ToFloat(V v) { return _mm256_cvtepi32_ps(v); }
    static F SetF(float v) { return _mm256_set1_ps(v); }
    static F MulAddF(F a, F b, F c) { return _mm256_fmadd_ps(a, b, c); }
    static V Truncate(F v) { return _mm256_cvttps_epi32(v); }

    static V Gather32(const std::uint32_t* table, V index) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 4);
    }

    // 32 pixels of planes: register r holds pairs 8r..8r+7, the first four
    // in the low lane.
    static void LoadLuma8(const std::uint8_t* y, V yw[2]) {
        for (int r = 0; r < 2; ++r)
            yw[r] = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y + 16 * r)));
    }
    static void LoadPlanar8(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, V yw[2],
                            V cw[2]) {
        for (int r = 0; r < 2; ++r) {
            yw[r] = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y + 16 * r)));
            const __m128i chroma =
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + 8 * r)),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + 8 * r)));
            cw[r] = _mm256_cvtepu8_epi16(chroma);
        }
    }

    // The quads of a block hold pixels (0..3 | 8..11), (4..7 | 12..15),
    // (16..19 | 24..27), (20..23 | 28..31); in order, eight pixels each.
    static void InOrder(const V q[4], V out[4]) {
        out[0] = _mm256_permute2x128_si256(q[0], q[1], 0x20);
        out[1] = _mm256_permute2x128_si256(q[0], q[1], 0x31);
        out[2] = _mm256_permute2x128_si256(q[2], q[3], 0x20);
        out[3] = _mm256_permute2x128_si256(q[2], q[3], 0x31);
    }

    // `stream`: streaming stores, dst 32-byte aligned.
    static void Put(void* p, V v, bool stream) {
        if (stream)
            _mm256_stream_si256(static_cast<__m256i*>(p), v);
        else
            _mm256_storeu_si256(static_cast<__m256i*>(p), v);
    }

    static void StoreQuads32(std::uint8_t* dst, const V q[4], bool stream) {
        V o[4];
        InOrder(q, o);
        for (int i = 0; i < 4; ++i) Put(dst + 32 * i, o[i], stream);
    }

    static void StoreQuads32KeepFourth(std::uint8_t* dst, const V q[4]) {
        V o[4];
        InOrder(q, o);
        const V colour = _mm256_set1_epi32(0x00FFFFFF);
        for (int i = 0; i < 4; ++i) {
            auto* p = reinterpret_cast<__m256i*>(dst + 32 * i);
            _mm256_storeu_si256(p, _mm256_blendv_epi8(_mm256_loadu_si256(p), o[i], colour));
        }
    }

    // Eight pixels with zero fourth bytes -> 24 bytes at bytes 0..23.
    static V Compact24(V v) {
        const V squeeze = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                           0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
        const V join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
        return _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, squeeze), join);
    }

    // Two registers of eight 32-bit pixels -> their first three bytes each,
    // 48 bytes, nothing written past them.
    static void StoreThreeOfFour(std::uint8_t* dst, V first, V second) {
        Store(dst, Compact24(first));
        const V last = Compact24(second);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 24), _mm256_castsi256_si128(last));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 40), _mm256_extracti128_si256(last, 1));
    }

    // 96 bytes: each store writes its 24 and a few that the next overwrites;
    // the last one writes exactly up to the block's end.
    static void StoreQuads24(std::uint8_t* dst, const V q[4]) {
        V o[4];
        InOrder(q, o);
        for (int i = 0; i < 3; ++i) _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 24 * i), Compact24(o[i]));
        const V last = Compact24(o[3]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 72), _mm256_castsi256_si128(last));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 88), _mm256_extracti128_si256(last, 1));
    }

    static void StoreWords(std::uint8_t* dst, V first, V second) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), first);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), second);
    }

    // Bytes packed from four registers of 32-bit lanes, back in lane order.
    static void StoreBytesInOrder(std::uint8_t* dst, V v) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                            _mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
    }
};

}  // namespace to_rgb_pipeline
}  // namespace LUMACORE_ISA
}  // namespace lumacore

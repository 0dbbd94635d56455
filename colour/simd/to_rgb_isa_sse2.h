// The SSE2 record of the pair pipeline: four pairs a register, sixteen
// pixels a block, registers in pixel order. Include only from *_sse2.cpp.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace to_rgb_pipeline {

struct Sse2 {
    using V = __m128i;
    static constexpr std::uint32_t kPairs = 4;

    static V Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Set32(std::int32_t v) { return _mm_set1_epi32(v); }
    static V Set8(std::uint8_t v) { return _mm_set1_epi8(char(v)); }
    static V Set16Pair(std::int32_t first, std::int32_t second) {
        return _mm_set1_epi32(std::int32_t(std::uint32_t(std::uint16_t(first)) |
                                           std::uint32_t(std::uint16_t(second)) << 16));
    }
    static V ShiftCount(int n) { return _mm_cvtsi32_si128(n); }

    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
    static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Madd(V a, V b) { return _mm_madd_epi16(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    template <int N>
    static V Srai32(V a) { return _mm_srai_epi32(a, N); }
    template <int N>
    static V Srli32(V a) { return _mm_srli_epi32(a, N); }
    template <int N>
    static V Srli16(V a) { return _mm_srli_epi16(a, N); }
    template <int N>
    static V Slli16(V a) { return _mm_slli_epi16(a, N); }
    static V Srl32(V a, V count) { return _mm_srl_epi32(a, count); }
    static V PackS32(V a, V b) { return _mm_packs_epi32(a, b); }
    // The high 16-bit halves of a's and b's 32-bit lanes, interleaved: a's in
    // the even words, b's in the odd ones.
    static V HighHalves(V a, V b) {
        return _mm_or_si128(_mm_srli_epi32(a, 16), _mm_and_si128(b, _mm_set1_epi32(std::int32_t(0xFFFF0000u))));
    }
    static V PackU16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }

    // Exact for every sum the coefficients can reach: the sum converts to
    // float without loss, and the product truncates to the quotient (proved
    // over the whole range by the tests).
    static V Divide10000(V sum) {
        const __m128 factor = _mm_set1_ps(__builtin_bit_cast(float, kTenThousandthBits));
        return _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(sum), factor));
    }

    static V Gather32(const std::uint32_t* table, V index) {
        alignas(16) std::uint32_t i[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(i), index);
        return _mm_set_epi32(std::int32_t(table[i[3]]), std::int32_t(table[i[2]]), std::int32_t(table[i[1]]),
                             std::int32_t(table[i[0]]));
    }

    // Sixteen pixels of planes: luma bytes and eight Cb and Cr bytes.
    static void LoadPlanar8(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, V yw[2],
                            V cw[2]) {
        const V zero = Zero();
        const V luma = Load(y);
        yw[0] = _mm_unpacklo_epi8(luma, zero);
        yw[1] = _mm_unpackhi_epi8(luma, zero);
        const V chroma = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)),
                                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)));
        cw[0] = _mm_unpacklo_epi8(chroma, zero);
        cw[1] = _mm_unpackhi_epi8(chroma, zero);
    }

    // Four registers of four 32-bit pixels each, in pixel order.
    // `stream`: streaming stores, dst 16-byte aligned.
    static void StoreQuads32(std::uint8_t* dst, const V q[4], bool stream) {
        for (int i = 0; i < 4; ++i) {
            auto* p = reinterpret_cast<__m128i*>(dst + 16 * i);
            if (stream)
                _mm_stream_si128(p, q[i]);
            else
                _mm_storeu_si128(p, q[i]);
        }
    }

    static void StoreQuads32KeepFourth(std::uint8_t* dst, const V q[4]) {
        const V colour = _mm_set1_epi32(0x00FFFFFF);
        for (int i = 0; i < 4; ++i) {
            auto* p = reinterpret_cast<__m128i*>(dst + 16 * i);
            const V old = _mm_loadu_si128(p);
            _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(q[i], colour), _mm_andnot_si128(colour, old)));
        }
    }

    // Four pixels with a zero fourth byte -> twelve bytes at bytes 0..11,
    // bytes 12..15 zero.
    static V Compact12(V q) {
        const V even = _mm_set_epi32(0, -1, 0, -1);
        const V packed = _mm_or_si128(_mm_and_si128(q, even), _mm_srli_epi64(_mm_andnot_si128(even, q), 8));
        return _mm_or_si128(_mm_move_epi64(packed), _mm_slli_si128(_mm_srli_si128(packed, 8), 6));
    }

    static void StoreQuads24(std::uint8_t* dst, const V q[4]) {
        const V c0 = Compact12(q[0]), c1 = Compact12(q[1]), c2 = Compact12(q[2]), c3 = Compact12(q[3]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16),
                         _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32),
                         _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
    }

    static void StoreWords(std::uint8_t* dst, V first, V second) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), second);
    }

    static void StoreBytesInOrder(std::uint8_t* dst, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v); }
};

}  // namespace to_rgb_pipeline
}  // namespace LUMACORE_ISA
}  // namespace lumacore

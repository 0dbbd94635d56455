// The AVX-512 record of the pair pipeline: sixteen pairs a register, 64
// pixels a block, and the multiply-adds that accumulate (VNNI). The in-lane
// instructions leave an 8-bit slot holding pixels 0..7 and 32..39 in lane 0,
// 8..15 and 40..47 in lane 1, and so on; the stores put the pixels back in
// order. Include only from *_avx512.cpp.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace to_rgb_pipeline {

struct Avx512 {
    using V = __m512i;
    static constexpr std::uint32_t kPairs = 16;
    static constexpr bool kMaddAccumulates = true;

    static V Load(const void* p) { return _mm512_loadu_si512(p); }
    static V Zero() { return _mm512_setzero_si512(); }
    static V Set32(std::int32_t v) { return _mm512_set1_epi32(v); }
    static V Set8(std::uint8_t v) { return _mm512_set1_epi8(char(v)); }
    static V Set16Pair(std::int32_t first, std::int32_t second) {
        return _mm512_set1_epi32(std::int32_t(std::uint32_t(std::uint16_t(first)) |
                                              std::uint32_t(std::uint16_t(second)) << 16));
    }
    static __m128i ShiftCount(int n) { return _mm_cvtsi32_si128(n); }

    static V Add32(V a, V b) { return _mm512_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm512_sub_epi32(a, b); }
    static V Sub16(V a, V b) { return _mm512_sub_epi16(a, b); }
    static V Madd(V a, V b) { return _mm512_madd_epi16(a, b); }
    // acc + the pairs' multiply-add, in one instruction.
    static V MaddAcc(V acc, V a, V b) { return _mm512_dpwssd_epi32(acc, a, b); }
    static V And(V a, V b) { return _mm512_and_si512(a, b); }
    static V Or(V a, V b) { return _mm512_or_si512(a, b); }
    template <int N>
    static V Srai32(V a) { return _mm512_srai_epi32(a, N); }
    template <int N>
    static V Srli32(V a) { return _mm512_srli_epi32(a, N); }
    template <int N>
    static V Srli16(V a) { return _mm512_srli_epi16(a, N); }
    template <int N>
    static V Slli16(V a) { return _mm512_slli_epi16(a, N); }
    static V Srl32(V a, __m128i count) { return _mm512_srl_epi32(a, count); }
    static V PackS32(V a, V b) { return _mm512_packs_epi32(a, b); }
    static V HighHalves(V a, V b) { return _mm512_mask_blend_epi16(0xAAAAAAAAu, _mm512_srli_epi32(a, 16), b); }
    static V PackU16(V a, V b) { return _mm512_packus_epi16(a, b); }
    // Word operations of the 6-bit word kernels (to_rgb_words.h).
    static void Store(void* p, V v) { _mm512_storeu_si512(p, v); }
    static V Set16Word(std::int16_t v) { return _mm512_set1_epi16(v); }
    static V LaneBytes(char a, char b, char c, char d, char e, char f, char g, char h, char i, char j, char k,
                       char l, char m, char n, char o, char p) {
        return _mm512_broadcast_i32x4(_mm_setr_epi8(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p));
    }
    template <int N>
    static V Srai16(V a) { return _mm512_srai_epi16(a, N); }
    static V Mullo16(V a, V b) { return _mm512_mullo_epi16(a, b); }
    static V Add16(V a, V b) { return _mm512_add_epi16(a, b); }
    static V Adds16(V a, V b) { return _mm512_adds_epi16(a, b); }
    static V Shuffle8(V a, V b) { return _mm512_shuffle_epi8(a, b); }
    static V Min16(V a, V b) { return _mm512_min_epi16(a, b); }
    static V Max16(V a, V b) { return _mm512_max_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm512_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm512_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm512_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm512_unpackhi_epi16(a, b); }

    static V Divide10000(V sum) {
        const __m512 factor = _mm512_set1_ps(__builtin_bit_cast(float, kTenThousandthBits));
        return _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(sum), factor));
    }

    // Single precision with fused multiply-adds (FusedDivide in the pipeline).
    using F = __m512;
    static constexpr bool kFusedDivide = true;
    static F ToFloat(V v) { return _mm512_cvtepi32_ps(v); }
    static F SetF(float v) { return _mm512_set1_ps(v); }
    static F MulAddF(F a, F b, F c) { return _mm512_fmadd_ps(a, b, c); }
    static V Truncate(F v) { return _mm512_cvttps_epi32(v); }

    static V Gather32(const std::uint32_t* table, V index) { return _mm512_i32gather_epi32(index, table, 4); }

    // 64 pixels of planes: register r holds pairs 16r..16r+15, four a lane.
    // The block's 32 Cb and 32 Cr bytes side by side; one byte permute a
    // register puts pair k's Cb and Cr in the low bytes of its two words.
    static void LoadLuma8(const std::uint8_t* y, V yw[2]) {
        for (int r = 0; r < 2; ++r)
            yw[r] = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + 32 * r)));
    }
    static void LoadPlanar8(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, V yw[2],
                            V cw[2]) {
        struct ChromaIndex {
            std::uint8_t bytes[2][64];
        };
        static constexpr ChromaIndex kIndex = [] {
            ChromaIndex x{};
            for (int r = 0; r < 2; ++r)
                for (int k = 0; k < 16; ++k) {
                    x.bytes[r][4 * k] = std::uint8_t(16 * r + k);            // Cb
                    x.bytes[r][4 * k + 2] = std::uint8_t(32 + 16 * r + k);   // Cr
                }
            return x;
        }();
        constexpr __mmask64 kLowBytes = 0x5555555555555555ull;
        const V chroma = _mm512_inserti64x4(
            _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cb))),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cr)), 1);
        for (int r = 0; r < 2; ++r) {
            yw[r] = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + 32 * r)));
            cw[r] = _mm512_maskz_permutexvar_epi8(kLowBytes, _mm512_loadu_si512(kIndex.bytes[r]), chroma);
        }
    }

    // The quads of a block: quad q lane k holds pixels 8k + 4(q & 1) + 32(q >> 1)
    // and the three after; in order, sixteen pixels each.
    static void InOrder(const V q[4], V out[4]) {
        const V first = _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11);
        const V second = _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15);
        out[0] = _mm512_permutex2var_epi64(q[0], first, q[1]);
        out[1] = _mm512_permutex2var_epi64(q[0], second, q[1]);
        out[2] = _mm512_permutex2var_epi64(q[2], first, q[3]);
        out[3] = _mm512_permutex2var_epi64(q[2], second, q[3]);
    }

    // `stream`: streaming stores, dst 64-byte aligned.
    static void Put(void* p, V v, bool stream) {
        if (stream)
            _mm512_stream_si512(static_cast<__m512i*>(p), v);
        else
            _mm512_storeu_si512(p, v);
    }

    static void StoreQuads32(std::uint8_t* dst, const V q[4], bool stream) {
        V o[4];
        InOrder(q, o);
        for (int i = 0; i < 4; ++i) Put(dst + 64 * i, o[i], stream);
    }

    static void StoreQuads32KeepFourth(std::uint8_t* dst, const V q[4]) {
        V o[4];
        InOrder(q, o);
        for (int i = 0; i < 4; ++i)
            _mm512_mask_storeu_epi8(dst + 64 * i, 0x7777777777777777ull, o[i]);
    }

    // Pixel bytes put in place with two-register byte permutes (VBMI), for
    // the pipeline's 24-bit slots (StoreSlots24) and the word kernels'
    // packed words (StorePixelBytes).
    static constexpr bool kBytePermutes = true;

    // The pipeline's first three slots as 24-bit pixels: the slot bytes pair
    // up as (0, 1) and (2, 2) per pixel, then the pairs become 3 bytes a
    // pixel, sixteen pixels a register, nothing written past them.
    struct SlotIndex {
        std::uint8_t pairs[2][64], three[2][64];
    };
    static constexpr int SlotByte(int pixel) {
        return pixel < 32 ? 16 * (pixel / 8) + pixel % 8 : 16 * ((pixel - 32) / 8) + 8 + pixel % 8;
    }
    static constexpr SlotIndex MakeSlotIndex() {
        SlotIndex x{};
        for (int h = 0; h < 2; ++h)
            for (int q = 0; q < 32; ++q) {
                x.pairs[h][2 * q] = std::uint8_t(SlotByte(32 * h + q));
                x.pairs[h][2 * q + 1] = std::uint8_t(64 + SlotByte(32 * h + q));
            }
        for (int o = 0; o < 2; ++o)
            for (int p = 0; p < 16; ++p) {
                const int q = 16 * o + p;  // pixel within the half
                const int at[3] = {2 * q, 2 * q + 1, 64 + 2 * q};
                for (int c = 0; c < 3; ++c) x.three[o][3 * p + c] = std::uint8_t(at[c]);
            }
        return x;
    }
    static void StoreSlots24(std::uint8_t* dst, const V slot[4]) {
        alignas(64) static constexpr SlotIndex kIndex = MakeSlotIndex();
        for (int h = 0; h < 2; ++h) {
            const V pairs = _mm512_loadu_si512(kIndex.pairs[h]);
            const V first = _mm512_permutex2var_epi8(slot[0], pairs, slot[1]);
            const V second = _mm512_permutex2var_epi8(slot[2], pairs, slot[2]);
            for (int o = 0; o < 2; ++o) {
                const V bytes = _mm512_permutex2var_epi8(first, _mm512_loadu_si512(kIndex.three[o]), second);
                _mm512_mask_storeu_epi8(dst + 3 * (32 * h + 16 * o), (__mmask64(1) << 48) - 1, bytes);
            }
        }
    }

    // Pixel bytes straight from the packed slots: lane k of `br` holds the
    // first and third slot's bytes of pixels 8k..8k+7, of `ga` the second and
    // fourth slot's (kPairsSplit: the left pixels of pairs 4k..4k+3, then
    // their right pixels). Half h of the step's pixels (16 each) as 4 or 3
    // bytes a pixel, nothing written past them.
    struct PixelIndex {
        std::uint8_t four[2][64], three[2][64];
    };
    static constexpr PixelIndex MakePixelIndex(bool pairs_split) {
        PixelIndex x{};
        for (int h = 0; h < 2; ++h)
            for (int p = 0; p < 16; ++p) {
                const int pixel = 16 * h + p, pair = pixel / 2;
                const int lane = pixel / 8, i = pairs_split ? (pixel % 2) * 4 + pair % 4 : pixel % 8;
                // Slot j's byte: j even in `br` (0..63), j odd in `ga` (64..127).
                const int at[4] = {16 * lane + i, 64 + 16 * lane + i, 16 * lane + 8 + i, 64 + 16 * lane + 8 + i};
                for (int j = 0; j < 4; ++j) x.four[h][4 * p + j] = std::uint8_t(at[j]);
                for (int j = 0; j < 3; ++j) x.three[h][3 * p + j] = std::uint8_t(at[j]);
            }
        return x;
    }
    template <int kBytes, bool kPairsSplit = false>
    static void StorePixelBytes(std::uint8_t* dst, V br, V ga, int half, bool stream) {
        alignas(64) static constexpr PixelIndex kIndex = MakePixelIndex(kPairsSplit);
        const V index = _mm512_loadu_si512(kBytes == 4 ? kIndex.four[half] : kIndex.three[half]);
        const V bytes = _mm512_permutex2var_epi8(br, index, ga);
        if constexpr (kBytes == 4)
            Put(dst, bytes, stream);
        else
            _mm512_mask_storeu_epi8(dst, (__mmask64(1) << 48) - 1, bytes);
    }

    // ---- v210 groups read straight into pair words ------------------------
    //
    // Register r of block n holds the pairs of pixels 64n + 32r on. Its 32
    // pixels lie within the six groups from the group of its first pixel
    // (pixel 0, 2 or 4 of that group: the phase), 96 bytes read as 64 + 32.
    // One two-register byte permute per word kind puts each 10-bit field's
    // two bytes in its word, a variable shift and a mask finish it. Three
    // blocks (32 groups) pass through every phase once.
    static constexpr bool kV210Groups = true;
    struct V210Places {
        std::uint8_t bytes[2][64];  // [Y, C]
        std::uint16_t shifts[2][32];
    };
    static constexpr V210Places MakeV210Places(int phase) {
        // (word, field) of Y0..Y5 and of Cb0 Cr0 Cb2 Cr2 Cb4 Cr4 in a group.
        constexpr int y_fields[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {3, 0}, {3, 2}};
        constexpr int c_fields[6][2] = {{0, 0}, {0, 2}, {1, 1}, {2, 0}, {2, 2}, {3, 1}};
        V210Places p{};
        for (int kind = 0; kind < 2; ++kind)
            for (int j = 0; j < 32; ++j) {
                // Y word j: pixel phase + j; C word j: component j % 2 of the
                // pair of pixel phase + j - j % 2.
                const int pixel = phase + (kind == 0 ? j : j - j % 2);
                const int* f = kind == 0 ? y_fields[pixel % 6] : c_fields[pixel % 6 + j % 2];
                const int bit = 32 * f[0] + 10 * f[1], at = 16 * (pixel / 6) + bit / 8;
                p.bytes[kind][2 * j] = std::uint8_t(at);
                p.bytes[kind][2 * j + 1] = std::uint8_t(at + 1);
                p.shifts[kind][j] = std::uint16_t(bit % 8);
            }
        return p;
    }
    // Blocks of a line whose first pixels / 6 groups may be read: every
    // register's six groups within them.
    static std::uint32_t V210Blocks(std::uint32_t pixels) {
        const std::uint32_t groups = pixels / 6;
        std::uint32_t blocks = 0;
        while ((64 * blocks + 32) / 6 + 6 <= groups) ++blocks;
        return blocks;
    }
    static void LoadV210(const std::uint8_t* line, std::uint32_t block, V y[2], V c[2]) {
        alignas(64) static constexpr V210Places kPlaces[3] = {MakeV210Places(0), MakeV210Places(2),
                                                              MakeV210Places(4)};
        const V field = _mm512_set1_epi16(0x3FF);
        for (int r = 0; r < 2; ++r) {
            const std::uint32_t first = 64 * block + 32 * r, group = first / 6;
            const V210Places& p = kPlaces[(first - 6 * group) / 2];
            const std::uint8_t* at = line + 16 * std::size_t(group);
            const V low = _mm512_loadu_si512(at);
            const V high = _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 64)));
            const V ys = _mm512_permutex2var_epi8(low, _mm512_load_si512(p.bytes[0]), high);
            const V cs = _mm512_permutex2var_epi8(low, _mm512_load_si512(p.bytes[1]), high);
            y[r] = _mm512_and_si512(_mm512_srlv_epi16(ys, _mm512_load_si512(p.shifts[0])), field);
            c[r] = _mm512_and_si512(_mm512_srlv_epi16(cs, _mm512_load_si512(p.shifts[1])), field);
        }
    }

    // Words of pixels 0..31 and 32..63, each register in order.
    static void StoreWords(std::uint8_t* dst, V first, V second) {
        _mm512_storeu_si512(dst, first);
        _mm512_storeu_si512(dst + 64, second);
    }

    // Bytes packed from four registers of 32-bit lanes, back in lane order.
    static void StoreBytesInOrder(std::uint8_t* dst, V v) {
        _mm512_storeu_si512(dst, _mm512_permutexvar_epi32(
                                     _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15), v));
    }
};

}  // namespace to_rgb_pipeline
}  // namespace LUMACORE_ISA
}  // namespace lumacore

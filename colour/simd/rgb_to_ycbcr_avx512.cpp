// AVX-512 tier of the RGB to Y'CbCr line kernels: the lane operations of
// rgb_to_ycbcr_lanes.h on 512-bit registers, lane k holding the k-th block of
// four; the coefficient sums accumulate with VNNI. Stores put the four lanes'
// results back in line order.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <array>
#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

// Byte permutes for the pairs of a 32-pixel block: where each output byte
// comes from. Luma from the low bytes of two registers of 32-bit lanes
// (pixel n at byte 4n of the pair); Cb and Cr from the packed chroma bytes,
// where lane k holds Cb of pairs 2k, 2k+1, 8+2k, 9+2k and then their Cr.
struct PairBytes {
    std::array<std::uint8_t, 64> luma{}, chroma{};
    std::uint64_t chroma_bytes = 0;  // the output bytes taken from chroma
};
constexpr PairBytes PairBytesOf(PackedOrder order) {
    // Per byte of a pair: 0 and 1 are Y'0 and Y'1, 2 Cb, 3 Cr.
    constexpr int kUyvy[4] = {2, 0, 3, 1}, kYuy2[4] = {0, 2, 1, 3}, kYvyu[4] = {0, 3, 1, 2};
    const int* roles = order == PackedOrder::Uyvy ? kUyvy : order == PackedOrder::Yuy2 ? kYuy2 : kYvyu;
    PairBytes t;
    for (int pair = 0; pair < 16; ++pair) {
        const int half = pair / 8, in_half = pair % 8;
        const int cb = 16 * (in_half / 2) + 2 * half + in_half % 2;
        for (int j = 0; j < 4; ++j) {
            const int at = 4 * pair + j;
            if (roles[j] < 2) {
                t.luma[at] = std::uint8_t(4 * (2 * pair + roles[j]));
            } else {
                t.chroma[at] = std::uint8_t(roles[j] == 2 ? cb : cb + 4);
                t.chroma_bytes |= std::uint64_t(1) << at;
            }
        }
    }
    return t;
}

struct Avx512Lanes {
    using I = __m512i;
    using F = __m512;
    static constexpr std::uint32_t kLaneCount = 4;
    static constexpr bool kMaddAccumulates = true;

    static I Zero() { return _mm512_setzero_si512(); }
    static I Set32(std::int32_t v) { return _mm512_set1_epi32(v); }
    static I Set16(std::int16_t v) { return _mm512_set1_epi16(v); }
    static F SetF(float v) { return _mm512_set1_ps(v); }
    static I And(I a, I b) { return _mm512_and_si512(a, b); }
    static I Or(I a, I b) { return _mm512_or_si512(a, b); }
    static I Add32(I a, I b) { return _mm512_add_epi32(a, b); }
    static I Add16(I a, I b) { return _mm512_add_epi16(a, b); }
    static I Min16(I a, I b) { return _mm512_min_epi16(a, b); }
    static I Max16(I a, I b) { return _mm512_max_epi16(a, b); }
    static I Madd(I a, I b) { return _mm512_madd_epi16(a, b); }
    static I MaddAcc(I acc, I a, I b) { return _mm512_dpwssd_epi32(acc, a, b); }
    template <int n>
    static I Srli16(I a) {
        return _mm512_srli_epi16(a, n);
    }
    template <int n>
    static I Srli32(I a) {
        return _mm512_srli_epi32(a, n);
    }
    template <int n>
    static I Slli32(I a) {
        return _mm512_slli_epi32(a, n);
    }
    template <int n>
    static I Srai32(I a) {
        return _mm512_srai_epi32(a, n);
    }
    static I PacksI32(I a, I b) { return _mm512_packs_epi32(a, b); }
    static I PackusI16(I a, I b) { return _mm512_packus_epi16(a, b); }
    static I UnpackLo16(I a, I b) { return _mm512_unpacklo_epi16(a, b); }
    static I UnpackHi16(I a, I b) { return _mm512_unpackhi_epi16(a, b); }
    static I UnpackLo32(I a, I b) { return _mm512_unpacklo_epi32(a, b); }
    static I UnpackHi32(I a, I b) { return _mm512_unpackhi_epi32(a, b); }
    static I UnpackLo64(I a, I b) { return _mm512_unpacklo_epi64(a, b); }
    static I UnpackHi64(I a, I b) { return _mm512_unpackhi_epi64(a, b); }
    static I EvenOf(I a, I b) {
        return _mm512_castps_si512(
            _mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
    }
    static F ToFloat(I a) { return _mm512_cvtepi32_ps(a); }
    static I Truncate(F a) { return _mm512_cvttps_epi32(a); }
    static F MulAddF(F a, F b, F c) { return _mm512_fmadd_ps(a, b, c); }
    static F MulF(F a, F b) { return _mm512_mul_ps(a, b); }

    // Products rounded toward zero (10-bit samples; see rgb_to_ycbcr_lanes.h).
    static constexpr bool kTowardZero = true;
    static F MulTowardZero(F a, F b) { return _mm512_mul_round_ps(a, b, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
    static F MulAddTowardZero(F a, F b, F c) {
        return _mm512_fmadd_round_ps(a, b, c, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }

    // 8-bit luma as the low byte of each lane (see LumaBitsAddend): the sum
    // times the factor plus the addend, rounded down once.
    static constexpr bool kLumaBits = true;
    static I LumaBits(I s, F factor, F addend) {
        return _mm512_castps_si512(_mm512_fmadd_round_ps(_mm512_cvtepi32_ps(s), factor, addend,
                                                         _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
    }
    // The low bytes of pixels 0..15 (l0) and 16..31 (l1), in order.
    static void StoreLumaFromBits(std::uint8_t* p, I l0, I l1) {
        const I bytes = _mm512_permutex2var_epi8(l0, _mm512_set_epi64(0, 0, 0, 0, 0x7C7874706C686460, 0x5C5854504C484440,
                                                                       0x3C3834302C282420, 0x1C1814100C080400),
                                                 l1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm512_castsi512_si256(bytes));
    }
    // 16 pairs in order O from luma bits (as above) and packed chroma bytes.
    template <PackedOrder O>
    static void StorePairsFromBits(std::uint8_t* p, I l0, I l1, I chroma) {
        alignas(64) static constexpr PairBytes kBytes = PairBytesOf(O);
        const I luma = _mm512_permutex2var_epi8(l0, _mm512_load_si512(kBytes.luma.data()), l1);
        Store(p, _mm512_mask_permutexvar_epi8(luma, kBytes.chroma_bytes, _mm512_load_si512(kBytes.chroma.data()),
                                              chroma));
    }

    // [last of prev, a0 .. a14]: each lane's first dword is the one before it.
    static I ShiftInLast(I a, I prev) { return _mm512_alignr_epi32(a, prev, 15); }

    static __m128i Load128(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static I Lanes(__m128i l0, __m128i l1, __m128i l2, __m128i l3) {
        const __m256i low = _mm256_inserti128_si256(_mm256_castsi128_si256(l0), l1, 1);
        const __m256i high = _mm256_inserti128_si256(_mm256_castsi128_si256(l2), l3, 1);
        return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
    }
    static I LoadQuad32(const std::uint8_t* p, std::size_t lane_stride) {
        return Lanes(Load128(p), Load128(p + lane_stride), Load128(p + 2 * lane_stride),
                     Load128(p + 3 * lane_stride));
    }

    // Lane 0 read from the quad's own start or from 4 bytes before it; the
    // other lanes from 4 bytes before theirs.
    template <bool kBlockStart>
    static I LoadQuad24(const std::uint8_t* p, std::size_t lane_stride) {
        constexpr char z = -128;
        const __m128i before = _mm_setr_epi8(4, 5, 6, z, 7, 8, 9, z, 10, 11, 12, z, 13, 14, 15, z);
        const __m128i start = _mm_setr_epi8(0, 1, 2, z, 3, 4, 5, z, 6, 7, 8, z, 9, 10, 11, z);
        const I mask = Lanes(kBlockStart ? start : before, before, before, before);
        const I v = Lanes(Load128(kBlockStart ? p : p - 4), Load128(p + lane_stride - 4),
                          Load128(p + 2 * lane_stride - 4), Load128(p + 3 * lane_stride - 4));
        return _mm512_shuffle_epi8(v, mask);
    }

    // Y'0..7 and [Cb0..3, Cr0..3] as 16-bit words to the bytes of four
    // packed pairs a lane, clamped to 0..255.
    template <PackedOrder O>
    static I PackPairs(I luma, I colour) {
        const I bytes = _mm512_packus_epi16(luma, colour);
        __m128i order;
        if constexpr (O == PackedOrder::Uyvy)
            order = _mm_setr_epi8(8, 0, 12, 1, 9, 2, 13, 3, 10, 4, 14, 5, 11, 6, 15, 7);
        else if constexpr (O == PackedOrder::Yuy2)
            order = _mm_setr_epi8(0, 8, 1, 12, 2, 9, 3, 13, 4, 10, 5, 14, 6, 11, 7, 15);
        else
            order = _mm_setr_epi8(0, 12, 1, 8, 2, 13, 3, 9, 4, 14, 5, 10, 6, 15, 7, 11);
        return _mm512_shuffle_epi8(bytes, _mm512_broadcast_i32x4(order));
    }

    static void Store(std::uint8_t* p, I v) { _mm512_storeu_si512(p, v); }

    // ---- Whole registers of pixels (packed and planar lines) ----------------
    //
    // The block's 32 pixels as two registers, lane k of the first holding
    // pixels 4k..4k+3 and of the second 16+4k..16+4k+3, colour in bytes 0..2.
    // 3-byte pixels are spread by one byte permute from 64 bytes read within
    // the block's 96.
    static constexpr bool kWholeQuads = true;
    //
    // The two cache lines kPrefetchAhead bytes on are asked for as a block is
    // read: the processor's own prefetching alone leaves the loads waiting
    // (1080p RGB32 -> YV12 and -> UYVY 6-9% faster in one band). A prefetch
    // past the line's end is only a hint: it reads nothing and cannot fault.
    static constexpr std::size_t kPrefetchAhead = 512;
    static void PrefetchAhead(const std::uint8_t* at) {
        _mm_prefetch(reinterpret_cast<const char*>(at + kPrefetchAhead), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(at + kPrefetchAhead + 64), _MM_HINT_T0);
    }
    template <RgbPixels P>
    static void LoadPixels(const std::uint8_t* line, std::uint32_t x, I* p0, I* p1) {
        if constexpr (P == RgbPixels::Three) {
            const std::uint8_t* at = line + 3 * std::size_t(x);
            PrefetchAhead(at);
            alignas(64) static constexpr std::uint8_t kFirst[64] = {
                0,  1,  2,  0, 3,  4,  5,  0, 6,  7,  8,  0, 9,  10, 11, 0, 12, 13, 14, 0, 15, 16,
                17, 0,  18, 19, 20, 0, 21, 22, 23, 0, 24, 25, 26, 0, 27, 28, 29, 0, 30, 31, 32, 0,
                33, 34, 35, 0,  36, 37, 38, 0, 39, 40, 41, 0, 42, 43, 44, 0, 45, 46, 47, 0};
            const I spread = _mm512_loadu_si512(kFirst);
            const I colour = Set32(0x00FFFFFF);
            // The second half's 48 bytes start 16 bytes into a read from byte 32.
            const I later = _mm512_add_epi8(spread, _mm512_set1_epi8(16));
            *p0 = And(_mm512_permutexvar_epi8(spread, _mm512_loadu_si512(at)), colour);
            *p1 = And(_mm512_permutexvar_epi8(later, _mm512_loadu_si512(at + 32)), colour);
        } else {
            const std::uint8_t* at = line + 4 * std::size_t(x);
            PrefetchAhead(at);
            *p0 = _mm512_loadu_si512(at);
            *p1 = _mm512_loadu_si512(at + 64);
            if constexpr (P == RgbPixels::FourHigh) {
                *p0 = Srli32<8>(*p0);
                *p1 = Srli32<8>(*p1);
            }
        }
    }
    // Lane k: the pairs of pixels 4k..4k+3, then of 16+4k..16+4k+3.
    static void StorePairsInOrder(std::uint8_t* p, I v) {
        Store(p, _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), v));
    }
    // Lane k's first 8 bytes: Y' of pixels 4k..4k+3, then 16+4k..16+4k+3.
    static void StoreLumaInOrder(std::uint8_t* p, I v) {
        const I quads = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 0, 0, 0, 0, 0, 0, 0, 0);
        const I in_order = _mm512_permutexvar_epi32(quads, v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm512_castsi512_si256(in_order));
    }
    // Lane k's first dword: Cb of pairs 2k, 2k+1, 8+2k, 9+2k; the second
    // dword the same pairs' Cr.
    static void StoreChromaInOrder(std::uint8_t* cb, std::uint8_t* cr, I v) {
        const I words =
            _mm512_zextsi256_si512(_mm256_setr_epi16(0, 8, 16, 24, 1, 9, 17, 25, 2, 10, 18, 26, 3, 11, 19, 27));
        const I in_order = _mm512_permutexvar_epi16(words, v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cb), _mm512_castsi512_si128(in_order));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cr), _mm512_extracti32x4_epi32(in_order, 1));
    }
    // Two blocks' chroma bytes, lane k holding the first block's Cb and Cr
    // of pairs 2k, 2k+1, 8+2k, 9+2k and then the second block's: 32 Cb and
    // 32 Cr in order.
    static void StoreChromaOfTwo(std::uint8_t* cb, std::uint8_t* cr, I v) {
        struct Order {
            std::uint8_t bytes[64];
        };
        alignas(64) static constexpr Order kOrder = [] {
            Order o{};
            for (int pair = 0; pair < 32; ++pair) {
                const int in_block = pair % 16, half = in_block / 8, in_half = in_block % 8;
                const int at = 16 * (in_half / 2) + 8 * (pair / 16) + 2 * half + in_half % 2;
                o.bytes[pair] = std::uint8_t(at);
                o.bytes[32 + pair] = std::uint8_t(at + 4);
            }
            return o;
        }();
        const I in_order = _mm512_permutexvar_epi8(_mm512_load_si512(kOrder.bytes), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(cb), _mm512_castsi512_si256(in_order));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(cr), _mm512_extracti64x4_epi64(in_order, 1));
    }
    // Lane k of g_i holds group 4k + i of the block: a 4 x 4 transpose of
    // 16-byte groups.
    static void StoreGroups(std::uint8_t* p, I g0, I g1, I g2, I g3) {
        const I t0 = _mm512_shuffle_i64x2(g0, g1, 0x44), t1 = _mm512_shuffle_i64x2(g0, g1, 0xEE);
        const I t2 = _mm512_shuffle_i64x2(g2, g3, 0x44), t3 = _mm512_shuffle_i64x2(g2, g3, 0xEE);
        Store(p, _mm512_shuffle_i64x2(t0, t2, 0x88));
        Store(p + 64, _mm512_shuffle_i64x2(t0, t2, 0xDD));
        Store(p + 128, _mm512_shuffle_i64x2(t1, t3, 0x88));
        Store(p + 192, _mm512_shuffle_i64x2(t1, t3, 0xDD));
    }
    static I LoadInts(const std::int32_t* p) { return _mm512_loadu_si512(p); }
    static void StoreInts(std::int32_t* p, I v) { _mm512_storeu_si512(p, v); }
};

}  // namespace
}  // namespace LUMACORE_ISA
}  // namespace lumacore

#include "colour/simd/rgb_to_ycbcr_lanes.h"

namespace lumacore {

using Avx512Kernels = rgb_to_lanes::Kernels<Avx512Lanes>;

std::uint32_t RgbToPacked8LineAvx512(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                     const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs) {
    return Avx512Kernels::PackedLine(k, pixels, order, src, dst, pairs);
}

std::uint32_t RgbToPlanar8LineAvx512(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                     std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs) {
    return Avx512Kernels::PlanarLine(k, pixels, src, y, cb, cr, pairs);
}

std::uint32_t RgbToV210LineAvx512(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                  std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                  std::uint32_t before_cr) {
    return Avx512Kernels::V210Line(k, pixels, src, dst, width, before_cb, before_cr);
}

bool FromRgbSamplesAvx512(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                          std::int32_t offset) {
    Avx512Kernels::Samples(sums, samples, n, kind, offset);
    return true;
}

}  // namespace lumacore

#else  // no AVX-512 on this architecture: the tier is never chosen, and converts nothing

namespace lumacore {

std::uint32_t RgbToPacked8LineAvx512(const PixelCoefficients&, RgbPixels, PackedOrder, const std::uint8_t*,
                                     std::uint8_t*, std::uint32_t) {
    return 0;
}
std::uint32_t RgbToPlanar8LineAvx512(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                     std::uint8_t*, std::uint8_t*, std::uint32_t) {
    return 0;
}
std::uint32_t RgbToV210LineAvx512(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                  std::uint32_t, std::uint32_t, std::uint32_t) {
    return 0;
}
bool FromRgbSamplesAvx512(const std::int32_t*, std::int32_t*, std::uint32_t, SampleKind, std::int32_t) {
    return false;
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallFromRgbAvx512(FromRgbKernels& k) {
    k.packed = RgbToPacked8LineAvx512;
    k.planar = RgbToPlanar8LineAvx512;
    k.v210 = RgbToV210LineAvx512;
}

}  // namespace lumacore

// AVX2 tier of the RGB to Y'CbCr line kernels: the lane operations of
// rgb_to_ycbcr_lanes.h on 256-bit registers, lane 0 holding one block of
// pixels and lane 1 the next. Stores put the two lanes' results back in
// line order; 3-byte pixels are spread to 32-bit lanes with one byte shuffle.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

struct Avx2Lanes {
    using I = __m256i;
    using F = __m256;
    static constexpr std::uint32_t kLaneCount = 2;

    static I Zero() { return _mm256_setzero_si256(); }
    static I Set32(std::int32_t v) { return _mm256_set1_epi32(v); }
    static I Set16(std::int16_t v) { return _mm256_set1_epi16(v); }
    static F SetF(float v) { return _mm256_set1_ps(v); }
    static I And(I a, I b) { return _mm256_and_si256(a, b); }
    static I Or(I a, I b) { return _mm256_or_si256(a, b); }
    static I Add32(I a, I b) { return _mm256_add_epi32(a, b); }
    static I Sub32(I a, I b) { return _mm256_sub_epi32(a, b); }
    static I Add16(I a, I b) { return _mm256_add_epi16(a, b); }
    static I Min16(I a, I b) { return _mm256_min_epi16(a, b); }
    static I Max16(I a, I b) { return _mm256_max_epi16(a, b); }
    static I Madd(I a, I b) { return _mm256_madd_epi16(a, b); }
    template <int n>
    static I Srli16(I a) {
        return _mm256_srli_epi16(a, n);
    }
    template <int n>
    static I Srli32(I a) {
        return _mm256_srli_epi32(a, n);
    }
    template <int n>
    static I Slli32(I a) {
        return _mm256_slli_epi32(a, n);
    }
    template <int n>
    static I Srai32(I a) {
        return _mm256_srai_epi32(a, n);
    }
    template <int n>
    static I SrliBytes(I a) {
        return _mm256_srli_si256(a, n);
    }
    static I PacksI32(I a, I b) { return _mm256_packs_epi32(a, b); }
    static I PackusI16(I a, I b) { return _mm256_packus_epi16(a, b); }
    static I UnpackLo16(I a, I b) { return _mm256_unpacklo_epi16(a, b); }
    static I UnpackHi16(I a, I b) { return _mm256_unpackhi_epi16(a, b); }
    static I UnpackLo32(I a, I b) { return _mm256_unpacklo_epi32(a, b); }
    static I UnpackHi32(I a, I b) { return _mm256_unpackhi_epi32(a, b); }
    static I UnpackLo64(I a, I b) { return _mm256_unpacklo_epi64(a, b); }
    static I UnpackHi64(I a, I b) { return _mm256_unpackhi_epi64(a, b); }
    static I EvenOf(I a, I b) {
        return _mm256_castps_si256(
            _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
    }
    static F ToFloat(I a) { return _mm256_cvtepi32_ps(a); }
    static I Truncate(F a) { return _mm256_cvttps_epi32(a); }
    static F MulF(F a, F b) { return _mm256_mul_ps(a, b); }
    static F AddF(F a, F b) { return _mm256_add_ps(a, b); }
#ifdef __FMA__
    static F MulAddF(F a, F b, F c) { return _mm256_fmadd_ps(a, b, c); }
#else
    static F MulAddF(F a, F b, F c) { return _mm256_add_ps(_mm256_mul_ps(a, b), c); }
#endif

    // Lane 0: [last of prev's lane 1, a0, a1, a2]; lane 1: [last of a's lane 0, a4, a5, a6].
    static I ShiftInLast(I a, I prev) { return _mm256_alignr_epi8(a, _mm256_permute2x128_si256(a, prev, 0x03), 12); }

    static __m128i Load128(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static I Lanes(__m128i lo, __m128i hi) { return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1); }
    static I LoadQuad32(const std::uint8_t* p, std::size_t lane_stride) {
        return Lanes(Load128(p), Load128(p + lane_stride));
    }

    // A lane read from the quad's own start, or from 4 bytes before it.
    static I SpreadMask(bool lane0_from_start) {
        constexpr char z = -128;
        if (lane0_from_start)
            return _mm256_setr_epi8(0, 1, 2, z, 3, 4, 5, z, 6, 7, 8, z, 9, 10, 11, z,  //
                                    4, 5, 6, z, 7, 8, 9, z, 10, 11, 12, z, 13, 14, 15, z);
        return _mm256_setr_epi8(4, 5, 6, z, 7, 8, 9, z, 10, 11, 12, z, 13, 14, 15, z,  //
                                4, 5, 6, z, 7, 8, 9, z, 10, 11, 12, z, 13, 14, 15, z);
    }
    template <bool kBlockStart>
    static I LoadQuad24(const std::uint8_t* p, std::size_t lane_stride) {
        const I v = Lanes(Load128(kBlockStart ? p : p - 4), Load128(p + lane_stride - 4));
        return _mm256_shuffle_epi8(v, SpreadMask(kBlockStart));
    }

    // Y'0..7 and [Cb0..3, Cr0..3] as 16-bit words to the bytes of four
    // packed pairs, clamped to 0..255: packed to bytes together (Y' at bytes
    // 0..7, Cb at 8..11, Cr at 12..15 of each lane), then put in place.
    template <PackedOrder O>
    static I PackPairs(I luma, I colour) {
        const I bytes = _mm256_packus_epi16(luma, colour);
        if constexpr (O == PackedOrder::Uyvy)
            return _mm256_shuffle_epi8(bytes, _mm256_setr_epi8(8, 0, 12, 1, 9, 2, 13, 3, 10, 4, 14, 5, 11, 6, 15, 7,  //
                                                               8, 0, 12, 1, 9, 2, 13, 3, 10, 4, 14, 5, 11, 6, 15, 7));
        else if constexpr (O == PackedOrder::Yuy2)
            return _mm256_shuffle_epi8(bytes, _mm256_setr_epi8(0, 8, 1, 12, 2, 9, 3, 13, 4, 10, 5, 14, 6, 11, 7, 15,  //
                                                               0, 8, 1, 12, 2, 9, 3, 13, 4, 10, 5, 14, 6, 11, 7, 15));
        else
            return _mm256_shuffle_epi8(bytes, _mm256_setr_epi8(0, 12, 1, 8, 2, 13, 3, 9, 4, 14, 5, 10, 6, 15, 7, 11,  //
                                                               0, 12, 1, 8, 2, 13, 3, 9, 4, 14, 5, 10, 6, 15, 7, 11));
    }

    static void Store(std::uint8_t* p, I v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static void StoreLow8PerLane(std::uint8_t* p, I v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(_mm256_permute4x64_epi64(v, 0x08)));
    }
    static void StoreDwords01PerLane(std::uint8_t* p0, std::uint8_t* p1, I v) {
        const __m128i t =
            _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(0, 4, 1, 5, 0, 4, 1, 5)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p0), t);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p1), _mm_srli_si128(t, 8));
    }
    // Lane 0 holds groups 0..3 of the block, lane 1 groups 4..7.
    static void StoreGroups(std::uint8_t* p, I g0, I g1, I g2, I g3) {
        Store(p, _mm256_permute2x128_si256(g0, g1, 0x20));
        Store(p + 32, _mm256_permute2x128_si256(g2, g3, 0x20));
        Store(p + 64, _mm256_permute2x128_si256(g0, g1, 0x31));
        Store(p + 96, _mm256_permute2x128_si256(g2, g3, 0x31));
    }
    static I LoadInts(const std::int32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void StoreInts(std::int32_t* p, I v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
};

}  // namespace
}  // namespace LUMACORE_ISA
}  // namespace lumacore

#include "colour/simd/rgb_to_ycbcr_lanes.h"

namespace lumacore {

using Avx2Kernels = rgb_to_lanes::Kernels<Avx2Lanes>;

std::uint32_t RgbToPacked8LineAvx2(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                   const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs) {
    return Avx2Kernels::PackedLine(k, pixels, order, src, dst, pairs);
}

std::uint32_t RgbToPlanar8LineAvx2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                   std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs) {
    return Avx2Kernels::PlanarLine(k, pixels, src, y, cb, cr, pairs);
}

std::uint32_t RgbToV210LineAvx2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                std::uint32_t before_cr) {
    return Avx2Kernels::V210Line(k, pixels, src, dst, width, before_cb, before_cr);
}

bool FromRgbSamplesAvx2(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                        std::int32_t offset) {
    Avx2Kernels::Samples(sums, samples, n, kind, offset);
    return true;
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen, and converts nothing

namespace lumacore {

std::uint32_t RgbToPacked8LineAvx2(const PixelCoefficients&, RgbPixels, PackedOrder, const std::uint8_t*, std::uint8_t*,
                                   std::uint32_t) {
    return 0;
}
std::uint32_t RgbToPlanar8LineAvx2(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                   std::uint8_t*, std::uint8_t*, std::uint32_t) {
    return 0;
}
std::uint32_t RgbToV210LineAvx2(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                std::uint32_t, std::uint32_t, std::uint32_t) {
    return 0;
}
bool FromRgbSamplesAvx2(const std::int32_t*, std::int32_t*, std::uint32_t, SampleKind, std::int32_t) { return false; }

}  // namespace lumacore

#endif

namespace lumacore {

void InstallFromRgbAvx2(FromRgbKernels& k) {
    k.packed = RgbToPacked8LineAvx2;
    k.planar = RgbToPlanar8LineAvx2;
    k.v210 = RgbToV210LineAvx2;
}

}  // namespace lumacore

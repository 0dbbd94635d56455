// SSE2 tier of the RGB to Y'CbCr line kernels: the lane operations of
// rgb_to_ycbcr_lanes.h on 128-bit registers. Without a byte shuffle, 3-byte
// pixels are spread to 32-bit lanes with 64-bit shifts and masks.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include <cstddef>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

struct Sse2Lanes {
    using I = __m128i;
    using F = __m128;
    static constexpr std::uint32_t kLaneCount = 1;

    static I Zero() { return _mm_setzero_si128(); }
    static I Set32(std::int32_t v) { return _mm_set1_epi32(v); }
    static I Set16(std::int16_t v) { return _mm_set1_epi16(v); }
    static F SetF(float v) { return _mm_set1_ps(v); }
    static I And(I a, I b) { return _mm_and_si128(a, b); }
    static I Or(I a, I b) { return _mm_or_si128(a, b); }
    static I Add32(I a, I b) { return _mm_add_epi32(a, b); }
    static I Sub32(I a, I b) { return _mm_sub_epi32(a, b); }
    static I Add16(I a, I b) { return _mm_add_epi16(a, b); }
    static I Min16(I a, I b) { return _mm_min_epi16(a, b); }
    static I Max16(I a, I b) { return _mm_max_epi16(a, b); }
    static I Madd(I a, I b) { return _mm_madd_epi16(a, b); }
    template <int n>
    static I Srli16(I a) {
        return _mm_srli_epi16(a, n);
    }
    template <int n>
    static I Srli32(I a) {
        return _mm_srli_epi32(a, n);
    }
    template <int n>
    static I Slli32(I a) {
        return _mm_slli_epi32(a, n);
    }
    template <int n>
    static I Srai32(I a) {
        return _mm_srai_epi32(a, n);
    }
    template <int n>
    static I SrliBytes(I a) {
        return _mm_srli_si128(a, n);
    }
    static I PacksI32(I a, I b) { return _mm_packs_epi32(a, b); }
    static I PackusI16(I a, I b) { return _mm_packus_epi16(a, b); }
    static I UnpackLo16(I a, I b) { return _mm_unpacklo_epi16(a, b); }
    static I UnpackHi16(I a, I b) { return _mm_unpackhi_epi16(a, b); }
    static I UnpackLo32(I a, I b) { return _mm_unpacklo_epi32(a, b); }
    static I UnpackHi32(I a, I b) { return _mm_unpackhi_epi32(a, b); }
    static I UnpackLo64(I a, I b) { return _mm_unpacklo_epi64(a, b); }
    static I UnpackHi64(I a, I b) { return _mm_unpackhi_epi64(a, b); }
    static I EvenOf(I a, I b) {
        return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
    }
    static F ToFloat(I a) { return _mm_cvtepi32_ps(a); }
    static I Truncate(F a) { return _mm_cvttps_epi32(a); }
    static F MulF(F a, F b) { return _mm_mul_ps(a, b); }
    static F AddF(F a, F b) { return _mm_add_ps(a, b); }
    static F MulAddF(F a, F b, F c) { return _mm_add_ps(_mm_mul_ps(a, b), c); }

    // [last of prev, a0, a1, a2]
    static I ShiftInLast(I a, I prev) { return _mm_or_si128(_mm_slli_si128(a, 4), _mm_srli_si128(prev, 12)); }

    static I Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static I LoadQuad32(const std::uint8_t* p, std::size_t) { return Load(p); }

    // Four 3-byte pixels in bytes 0..11 to 32-bit lanes: each 64-bit half
    // takes two pixels (bytes 0..7 and 6..13) and moves the second up a byte.
    static I Expand24(I v) {
        const I halves = _mm_unpacklo_epi64(v, _mm_srli_si128(v, 6));
        const I first = _mm_and_si128(halves, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
        const I second = _mm_and_si128(_mm_slli_epi64(halves, 8), _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0));
        return _mm_or_si128(first, second);
    }
    template <bool kBlockStart>
    static I LoadQuad24(const std::uint8_t* p, std::size_t) {
        if constexpr (kBlockStart) return Expand24(Load(p));
        return Expand24(_mm_srli_si128(Load(p - 4), 4));
    }

    // Y'0..7 and [Cb0..3, Cr0..3] as 16-bit words to the bytes of four
    // packed pairs, clamped to 0..255.
    template <PackedOrder O>
    static I PackPairs(I luma, I colour) {
        const I high_half = _mm_srli_si128(colour, 8);
        if constexpr (O == PackedOrder::Uyvy) {
            const I cbcr = _mm_unpacklo_epi16(colour, high_half);
            return _mm_packus_epi16(_mm_unpacklo_epi16(cbcr, luma), _mm_unpackhi_epi16(cbcr, luma));
        } else if constexpr (O == PackedOrder::Yuy2) {
            const I cbcr = _mm_unpacklo_epi16(colour, high_half);
            return _mm_packus_epi16(_mm_unpacklo_epi16(luma, cbcr), _mm_unpackhi_epi16(luma, cbcr));
        } else {
            const I crcb = _mm_unpacklo_epi16(high_half, colour);
            return _mm_packus_epi16(_mm_unpacklo_epi16(luma, crcb), _mm_unpackhi_epi16(luma, crcb));
        }
    }

    static void Store(std::uint8_t* p, I v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static void StoreLow8PerLane(std::uint8_t* p, I v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }
    static void StoreDwords01PerLane(std::uint8_t* p0, std::uint8_t* p1, I v) {
        _mm_storeu_si32(p0, v);
        _mm_storeu_si32(p1, _mm_srli_si128(v, 4));
    }
    static void StoreGroups(std::uint8_t* p, I g0, I g1, I g2, I g3) {
        Store(p, g0);
        Store(p + 16, g1);
        Store(p + 32, g2);
        Store(p + 48, g3);
    }
    static I LoadInts(const std::int32_t* p) { return Load(p); }
    static void StoreInts(std::int32_t* p, I v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
};

}  // namespace
}  // namespace LUMACORE_ISA
}  // namespace lumacore

#include "colour/simd/rgb_to_ycbcr_lanes.h"

namespace lumacore {

using Sse2Kernels = rgb_to_lanes::Kernels<Sse2Lanes>;

std::uint32_t RgbToPacked8LineSse2(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                   const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs) {
    return Sse2Kernels::PackedLine(k, pixels, order, src, dst, pairs);
}

std::uint32_t RgbToPlanar8LineSse2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                   std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs) {
    return Sse2Kernels::PlanarLine(k, pixels, src, y, cb, cr, pairs);
}

std::uint32_t RgbToV210LineSse2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                std::uint32_t before_cr) {
    return Sse2Kernels::V210Line(k, pixels, src, dst, width, before_cb, before_cr);
}

bool FromRgbSamplesSse2(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                        std::int32_t offset) {
    Sse2Kernels::Samples(sums, samples, n, kind, offset);
    return true;
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen, and converts nothing

namespace lumacore {

std::uint32_t RgbToPacked8LineSse2(const PixelCoefficients&, RgbPixels, PackedOrder, const std::uint8_t*, std::uint8_t*,
                                   std::uint32_t) {
    return 0;
}
std::uint32_t RgbToPlanar8LineSse2(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                   std::uint8_t*, std::uint8_t*, std::uint32_t) {
    return 0;
}
std::uint32_t RgbToV210LineSse2(const PixelCoefficients&, RgbPixels, const std::uint8_t*, std::uint8_t*,
                                std::uint32_t, std::uint32_t, std::uint32_t) {
    return 0;
}
bool FromRgbSamplesSse2(const std::int32_t*, std::int32_t*, std::uint32_t, SampleKind, std::int32_t) { return false; }

}  // namespace lumacore

#endif

namespace lumacore {

void InstallFromRgbSse2(FromRgbKernels& k) {
    k.packed = RgbToPacked8LineSse2;
    k.planar = RgbToPlanar8LineSse2;
    k.v210 = RgbToV210LineSse2;
}

}  // namespace lumacore

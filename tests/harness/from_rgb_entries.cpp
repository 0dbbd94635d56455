// Harness entries of the RGB to Y'CbCr line kernels and their division.
#include <cstring>

#include "colour/rgb_to_v210.h"
#include "colour/rgb_to_ycbcr8.h"
#include "colour/rgb_to_ycbcr_pixel.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "tests/harness/kernel_harness.h"

namespace kernel_harness {
namespace {

using namespace lumacore;
using U8 = std::uint8_t;
using U32 = std::uint32_t;

// Variant v picks the RGB layout, the matrix (v % 5) and the packed order (v % 3).
struct RgbLayout {
    int bits;
    U32 flags;
};
constexpr RgbLayout kRgbLayouts[] = {{24, ORDER_BGRX}, {24, ORDER_RGBX}, {32, ORDER_BGRX}, {32, ORDER_XBGR},
                                     {32, ORDER_XRGB}};
// Variants past 4 (luma only) take the three kinds of pixel in turn.
const RgbLayout& Rgb(int v) { return kRgbLayouts[v < 5 ? v : 2 * (v - 5) % 5]; }
RgbSourceLayout LayoutOf(int v) { return RgbSourceLayoutOf(Rgb(v).bits, Rgb(v).flags); }
std::size_t RgbBytes(U32 pixels, int v) { return std::size_t(pixels) * LayoutOf(v).bytes_per_pixel; }
std::size_t RgbPairBytes(U32 pairs, int v) { return RgbBytes(2 * pairs, v); }
PixelCoefficients Coefficients8(int v) {
    return PixelCoefficientsFor(kFromRgb8[FromRgbRow(v % 5)], LayoutOf(v).red_first, kChromaOffset8, 255);
}

using Packed8Kernel = U32 (*)(const PixelCoefficients&, RgbPixels, PackedOrder, const U8*, U8*, U32);
template <Packed8Kernel K>
U32 Packed8(const Call& c) {
    return K(Coefficients8(c.variant), LayoutOf(c.variant).pixels, PackedOrder(c.variant % 3), c.src[0], c.dst[0],
             c.n);
}
U32 Packed8Plain(const Call& c) {
    // Y', Cb and Cr of a pair in UYVY, YUY2 and YVYU.
    static constexpr int kAt[3][3] = {{1, 0, 2}, {0, 1, 3}, {0, 3, 1}};
    const int* at = kAt[c.variant % 3];
    U8* d = c.dst[0];
    RgbToYCbCr8With(SimdTier::Plain, d + at[0], d + at[1], d + at[2], c.src[0], 2 * c.n, 1, 4 * c.n,
                    U32(RgbPairBytes(c.n, c.variant)), c.variant % 5, Rgb(c.variant).flags, true, false,
                    Rgb(c.variant).bits, 0);
    return c.n;
}

// Planar; variants 5 to 7 write the luma only (the plain code's chroma then
// goes to scratch).
using Planar8Kernel = U32 (*)(const PixelCoefficients&, RgbPixels, const U8*, U8*, U8*, U8*, U32);
template <Planar8Kernel K>
U32 Planar8(const Call& c) {
    const bool chroma = c.variant < 5;
    return K(Coefficients8(c.variant), LayoutOf(c.variant).pixels, c.src[0], c.dst[0], chroma ? c.dst[1] : nullptr,
             chroma ? c.dst[2] : nullptr, c.n);
}
U32 Planar8Plain(const Call& c) {
    std::vector<U8> scratch(2 * std::size_t(c.n));
    U8* cb = c.variant < 5 ? c.dst[1] : scratch.data();
    U8* cr = c.variant < 5 ? c.dst[2] : scratch.data() + c.n;
    RgbToYCbCr8With(SimdTier::Plain, c.dst[0], cb, cr, c.src[0], 2 * c.n, 1, 2 * c.n, U32(RgbPairBytes(c.n, c.variant)),
                    c.variant % 5, Rgb(c.variant).flags, true, true, Rgb(c.variant).bits, c.n);
    return c.n;
}

using V210Kernel = U32 (*)(const PixelCoefficients&, RgbPixels, const U8*, U8*, U32, U32, U32);
template <V210Kernel K>
U32 RgbV210(const Call& c) {
    const PixelCoefficients k =
        PixelCoefficientsFor(kFromRgb10[FromRgbRow(c.variant)], LayoutOf(c.variant).red_first, kChromaOffset10, 1023);
    return K(k, LayoutOf(c.variant).pixels, c.src[0], c.dst[0], c.n, 512, 512);
}
U32 RgbV210Plain(const Call& c) {
    RgbToV210With(SimdTier::Plain, c.dst[0], c.src[0], c.n, 1, U32(Per<16, 6>(c.n, 0)), U32(RgbBytes(c.n, c.variant)),
                  c.variant, Rgb(c.variant).flags, Rgb(c.variant).bits);
    return c.n;
}

// Samples from sums: variant picks the kind and offset; the sums span what
// that kind's rows reach, both ends included (8-bit luma: the rows with that
// offset, as some kernels rely on no luma row leaving 0..255).
struct SampleCase {
    SampleKind kind;
    SumRange sums;
    std::int32_t offset, max;
};
constexpr SampleCase kSampleCases[] = {
    {SampleKind::Luma8, from_rgb_detail::LumaRange(kFromRgb8, 0), 0, 255},
    {SampleKind::Luma8, from_rgb_detail::LumaRange(kFromRgb8, 16), 16, 255},
    {SampleKind::Chroma8, kChroma8Sums, 128, 255},  {SampleKind::Luma10, kLuma10Sums, 0, 1 << 30},
    {SampleKind::Luma10, kLuma10Sums, 64, 1 << 30}, {SampleKind::Chroma10, kChroma10Sums, 512, 1023},
};
void SampleSums(int v, std::int64_t* low, std::int64_t* high) {
    *low = kSampleCases[v].sums.low;
    *high = kSampleCases[v].sums.high;
}
void FillSampleSums(U8* p, std::size_t n, U32 seed, int v) {
    FillSums(p, n, seed, kSampleCases[v].sums.low, kSampleCases[v].sums.high);
}
template <bool (*K)(const std::int32_t*, std::int32_t*, U32, SampleKind, std::int32_t)>
U32 Samples(const Call& c) {
    const SampleCase& s = kSampleCases[c.variant];
    const bool ran = K(reinterpret_cast<const std::int32_t*>(c.src[0]), reinterpret_cast<std::int32_t*>(c.dst[0]),
                       c.n, s.kind, s.offset);
    return ran ? c.n : 0;
}
U32 SamplesPlain(const Call& c) {
    const SampleCase& s = kSampleCases[c.variant];
    const auto* sums = reinterpret_cast<const std::int32_t*>(c.src[0]);
    auto* out = reinterpret_cast<std::int32_t*>(c.dst[0]);
    for (U32 i = 0; i < c.n; ++i) out[i] = ComponentSample(sums[i], s.offset, s.max);
    return c.n;
}

}  // namespace

void AddFromRgbEntries(std::vector<Entry>& table) {
    const Plane byte{Per<1>}, word{Per<4>, 4};
    table.insert(table.end(), {
        {.name = "RgbToPacked8Line", .src = {{RgbPairBytes}}, .dst = {{Per<4>}}, .plain = Packed8Plain,
         .tiers = {{Isa::Sse2, Packed8<RgbToPacked8LineSse2>, 4}, {Isa::Avx2, Packed8<RgbToPacked8LineAvx2>, 8},
                   {Isa::Avx512, Packed8<RgbToPacked8LineAvx512>, 16}},
         .variants = 5, .large = {1920}},
        {.name = "RgbToPlanar8Line", .src = {{RgbPairBytes}}, .dst = {{Per<2>}, byte, byte}, .plain = Planar8Plain,
         .tiers = {{Isa::Sse2, Planar8<RgbToPlanar8LineSse2>, 4}, {Isa::Avx2, Planar8<RgbToPlanar8LineAvx2>, 8},
                   {Isa::Avx512, Planar8<RgbToPlanar8LineAvx512>, 16}},
         .variants = 8, .large = {1920}},
        {.name = "RgbToV210Line", .src = {{RgbBytes}}, .dst = {{Per<16, 6>}}, .plain = RgbV210Plain,
         .tiers = {{Isa::Sse2, RgbV210<RgbToV210LineSse2>, 24}, {Isa::Avx2, RgbV210<RgbToV210LineAvx2>, 48},
                   {Isa::Avx512, RgbV210<RgbToV210LineAvx512>, 96}},
         .variants = 5, .large = {1920}},
        {.name = "FromRgbSamples", .src = {word}, .dst = {word}, .plain = SamplesPlain,
         .tiers = {{Isa::Sse2, Samples<FromRgbSamplesSse2>}, {Isa::Avx2, Samples<FromRgbSamplesAvx2>},
                   {Isa::Avx512, Samples<FromRgbSamplesAvx512>}},
         .variants = 6, .large = {4096}, .fill = FillSampleSums, .sums = SampleSums},
    });
}

}  // namespace kernel_harness

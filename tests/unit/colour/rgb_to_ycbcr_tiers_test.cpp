// The vector tiers of the RGB to Y'CbCr conversions on whole frames against
// the plain code (pitches, line order, chroma rows, the plain code finishing
// each line), and the vector division by 10000 over every sum the
// coefficient tables can reach.
#include <gtest/gtest.h>

#include <vector>

#include "colour/rgb_to_v210.h"
#include "colour/rgb_to_ycbcr8.h"
#include "colour/rgb_to_ycbcr_tables.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore {
namespace {

using lumacore_test::Bytes;
using lumacore_test::kCanary;

// UYVY, YUY2, YVYU by the byte positions of Y', Cb, Cr in a pair; then
// 4:2:0 and 4:2:2 planes; then v210.
enum Layout { kUyvy, kYuy2, kYvyu, kPlanar420, kPlanar422, kV210 };

Bytes Convert(SimdTier tier, Layout layout, const Bytes& src, std::uint32_t w, std::uint32_t h,
              std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, int bits) {
    if (layout == kV210) {
        const std::uint32_t pitch = 16 * ((w + 5) / 6) + 8;
        Bytes out(std::size_t(h) * pitch + 32, kCanary);
        RgbToV210With(tier, out.data(), src.data(), w, h, pitch, src_pitch, matrix, flags, bits);
        return out;
    }
    // Padded pitches: each row must land at its own.
    const std::uint32_t pitch = 2 * w + 6, chroma_pitch = pitch / 2 + 3;
    const std::size_t luma = std::size_t(h) * pitch, plane = std::size_t(h) * chroma_pitch;
    Bytes out(luma + 2 * plane + 32, kCanary);
    std::uint8_t* d = out.data();
    static constexpr int kAt[3][3] = {{1, 0, 2}, {0, 1, 3}, {0, 3, 1}};
    if (layout <= kYvyu)
        RgbToYCbCr8With(tier, d + kAt[layout][0], d + kAt[layout][1], d + kAt[layout][2], src.data(), w, h, pitch,
                        src_pitch, matrix, flags, true, false, bits, 0);
    else
        RgbToYCbCr8With(tier, d, d + luma, d + luma + plane, src.data(), w, h, pitch, src_pitch, matrix, flags,
                        layout == kPlanar422, true, bits, chroma_pitch);
    return out;
}

TEST(RgbToYCbCrTiers, WholeFramesMatchThePlainCode) {
    std::uint32_t seed = 0;
    for (const auto [w, h] : lumacore_test::kFrameSizes) {
        for (int bits : {24, 32}) {
            ++seed;
            const std::uint32_t bpp = bits / 8, src_pitch = bpp * w + (seed % 3) * 4;
            // Exactly as long as its lines: the address sanitizer sees any read past them.
            Bytes src = lumacore_test::Random(std::size_t(src_pitch) * (h - 1) + bpp * w, seed);
            for (std::uint8_t& b : src) b = b < 32 ? 0 : b < 64 ? 255 : b;  // clamps and the largest sums
            const std::int32_t matrix = std::int32_t(seed % 7);
            for (std::uint32_t order : {0u, 1u, 2u, 3u}) {
                const std::uint32_t flags = order | (seed % 2 ? 0x8000u : 0u);
                for (Layout layout : {kUyvy, kYuy2, kYvyu, kPlanar420, kPlanar422, kV210}) {
                    const Bytes want = Convert(SimdTier::Plain, layout, src, w, h, src_pitch, matrix, flags, bits);
                    for (SimdTier tier : lumacore_test::VectorTiers())
                        ASSERT_EQ(Convert(tier, layout, src, w, h, src_pitch, matrix, flags, bits), want)
                            << lumacore_test::TierName(tier) << " " << w << "x" << h << " bits " << bits << " order "
                            << order << " layout " << int(layout);
                }
            }
        }
    }
}

// The vector samples against the plain arithmetic (signed division, offset,
// clamp) for every sum from the lowest to the highest that a kind of row
// can form, with every offset the tables use.
TEST(RgbToYCbCrTiers, VectorDivisionIsExactOverEverySum) {
    if (lumacore_test::VectorTiers().empty()) GTEST_SKIP() << "no vector tier on this processor";
    using Samples = bool (*)(const std::int32_t*, std::int32_t*, std::uint32_t, SampleKind, std::int32_t);
    struct Kind {
        SampleKind kind;
        SumRange sums;
        std::int32_t offset, max;
    };
    const Kind kinds[] = {
        {SampleKind::Luma8, kLuma8Sums, 0, 255},        {SampleKind::Luma8, kLuma8Sums, 16, 255},
        {SampleKind::Chroma8, kChroma8Sums, 128, 255},  {SampleKind::Luma10, kLuma10Sums, 0, 1 << 30},
        {SampleKind::Luma10, kLuma10Sums, 64, 1 << 30}, {SampleKind::Chroma10, kChroma10Sums, 512, 1023},
    };
    constexpr std::uint32_t kChunk = 1 << 16;
    std::vector<std::int32_t> sums(kChunk), samples(kChunk);
    for (SimdTier tier : lumacore_test::VectorTiers()) {
        const Samples convert = tier == SimdTier::Avx2 ? &FromRgbSamplesAvx2 : &FromRgbSamplesSse2;
        for (const Kind& k : kinds) {
            std::int64_t mismatches = 0;
            for (std::int64_t first = k.sums.low; first <= k.sums.high; first += kChunk) {
                const std::uint32_t n = std::uint32_t(std::min<std::int64_t>(kChunk, k.sums.high - first + 1));
                for (std::uint32_t i = 0; i < n; ++i) sums[i] = std::int32_t(first + i);
                ASSERT_TRUE(convert(sums.data(), samples.data(), n, k.kind, k.offset));
                // Runs of sums with one quotient share their expected sample.
                const std::int32_t* got = samples.data();
                std::int32_t s = std::int32_t(first);
                for (std::uint32_t i = 0; i < n;) {
                    const std::int32_t q = s / 10000;
                    const std::int64_t last = s >= 0 ? std::int64_t(q) * 10000 + 9999 : q < 0 ? q * 10000 : -1;
                    const std::int32_t v = q + k.offset, expected = v < 0 ? 0 : v > k.max ? k.max : v;
                    const std::uint32_t end = std::uint32_t(std::min<std::int64_t>(n, i + (last - s) + 1));
                    for (; i < end; ++i, ++s) mismatches += got[i] != expected;
                }
            }
            EXPECT_EQ(mismatches, 0) << lumacore_test::TierName(tier) << " kind " << int(k.kind) << " offset "
                                     << k.offset;
        }
    }
}

}  // namespace
}  // namespace lumacore

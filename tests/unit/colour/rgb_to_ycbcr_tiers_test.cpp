// Every vector tier of the RGB to Y'CbCr conversions against the plain
// reference, byte for byte, and the vector division by 10000 over every sum
// the coefficient tables can reach.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "colour/rgb_to_v210.h"
#include "colour/rgb_to_ycbcr8.h"
#include "colour/rgb_to_ycbcr_tables.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "engine/simd_tier.h"

namespace lumacore {
namespace {

constexpr std::uint8_t kCanary = 0xA5;

std::vector<SimdTier> VectorTiers() {
    std::vector<SimdTier> tiers;
    for (SimdTier t : {SimdTier::Sse2, SimdTier::Avx2})
        if (t <= HostSimdTier()) tiers.push_back(t);
    return tiers;
}

const char* Name(SimdTier t) { return t == SimdTier::Avx2 ? "avx2" : "sse2"; }

// Random bytes with runs of extremes, so that clamps and the largest sums occur.
std::vector<std::uint8_t> Noise(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned r = rng();
        v[i] = (r >> 28) == 0 ? 0 : (r >> 28) == 1 ? 255 : std::uint8_t(r);
    }
    return v;
}

// 8-bit layouts as RgbToYCbCr8 arguments: packed pointer offsets or planar.
enum class Layout { Uyvy, Yuy2, Yvyu, Planar420, Planar422 };

std::vector<std::uint8_t> Convert8(SimdTier tier, Layout layout, const std::vector<std::uint8_t>& src, std::uint32_t w,
                                   std::uint32_t h, std::uint32_t pitch, std::uint32_t src_pitch, std::int32_t matrix,
                                   std::uint32_t flags, int bits) {
    const std::uint32_t chroma_pitch = pitch / 2 + 3;  // padded: rows must land at their own pitch
    const std::size_t luma = std::size_t(h) * pitch, plane = std::size_t(h) * chroma_pitch;
    std::vector<std::uint8_t> out(luma + 2 * plane + 32, kCanary);
    std::uint8_t* d = out.data();
    switch (layout) {
        case Layout::Uyvy:
            RgbToYCbCr8With(tier, d + 1, d, d + 2, src.data(), w, h, pitch, src_pitch, matrix, flags, true, false, bits,
                            0);
            break;
        case Layout::Yuy2:
            RgbToYCbCr8With(tier, d, d + 1, d + 3, src.data(), w, h, pitch, src_pitch, matrix, flags, true, false, bits,
                            0);
            break;
        case Layout::Yvyu:
            RgbToYCbCr8With(tier, d, d + 3, d + 1, src.data(), w, h, pitch, src_pitch, matrix, flags, true, false, bits,
                            0);
            break;
        case Layout::Planar420:
        case Layout::Planar422:
            RgbToYCbCr8With(tier, d, d + luma, d + luma + plane, src.data(), w, h, pitch, src_pitch, matrix, flags,
                            layout == Layout::Planar422, true, bits, chroma_pitch);
            break;
    }
    return out;
}

std::vector<std::uint8_t> ConvertV210(SimdTier tier, const std::vector<std::uint8_t>& src, std::uint32_t w,
                                      std::uint32_t h, std::uint32_t pitch, std::uint32_t src_pitch,
                                      std::int32_t matrix, std::uint32_t flags, int bits) {
    std::vector<std::uint8_t> out(std::size_t(h) * pitch + 32, kCanary);
    RgbToV210With(tier, out.data(), src.data(), w, h, pitch, src_pitch, matrix, flags, bits);
    return out;
}

// One frame in every layout, with every tier, against the plain code.
void CompareAtWidth(std::uint32_t w, std::uint32_t h, unsigned seed) {
    for (int bits : {24, 32}) {
        const std::uint32_t bpp = bits / 8;
        // The source is exactly as long as its lines: any read past them is
        // caught by the address sanitizer.
        const std::uint32_t src_pitch = bpp * w + (seed % 3) * 4;
        const std::vector<std::uint8_t> src = Noise(std::size_t(src_pitch) * (h - 1) + bpp * w, seed + bits);
        const std::uint32_t pitch8 = 2 * w + 6, pitch10 = 16 * ((w + 5) / 6) + 8;
        const std::int32_t matrix = std::int32_t(seed % 7);
        for (std::uint32_t order : {0u, 1u, 2u, 3u}) {
            const std::uint32_t flags = order | (seed % 2 ? 0x8000u : 0u);
            for (Layout layout : {Layout::Uyvy, Layout::Yuy2, Layout::Yvyu, Layout::Planar420, Layout::Planar422}) {
                const auto reference =
                    Convert8(SimdTier::Plain, layout, src, w, h, pitch8, src_pitch, matrix, flags, bits);
                for (SimdTier tier : VectorTiers()) {
                    ASSERT_EQ(Convert8(tier, layout, src, w, h, pitch8, src_pitch, matrix, flags, bits), reference)
                        << Name(tier) << " width " << w << " bits " << bits << " order " << order << " layout "
                        << int(layout);
                }
            }
            const auto reference = ConvertV210(SimdTier::Plain, src, w, h, pitch10, src_pitch, matrix, flags, bits);
            for (SimdTier tier : VectorTiers()) {
                ASSERT_EQ(ConvertV210(tier, src, w, h, pitch10, src_pitch, matrix, flags, bits), reference)
                    << Name(tier) << " v210 width " << w << " bits " << bits << " order " << order;
            }
        }
    }
}

TEST(RgbToYCbCrTiers, EveryTierMatchesThePlainCodeAtEveryWidth) {
    if (VectorTiers().empty()) GTEST_SKIP() << "no vector tier on this processor";
    for (std::uint32_t w = 1; w <= 64; ++w) CompareAtWidth(w, 3, w);
    for (std::uint32_t w : {96u, 97u, 143u, 144u, 352u, 640u, 704u, 720u, 854u, 1280u, 1920u, 2048u})
        CompareAtWidth(w, 2, w);
}

// The vector samples against the plain arithmetic (signed division, offset,
// clamp) for every sum from the lowest to the highest that a kind of row
// can form, with every offset the tables use.
TEST(RgbToYCbCrTiers, VectorDivisionIsExactOverEverySum) {
    if (VectorTiers().empty()) GTEST_SKIP() << "no vector tier on this processor";
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
    for (SimdTier tier : VectorTiers()) {
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
            EXPECT_EQ(mismatches, 0) << Name(tier) << " kind " << int(k.kind) << " offset " << k.offset;
        }
    }
    // The ranges are those of the tables: for example 10-bit luma reaches
    // 255 x 40000 and 10-bit chroma -255 x 20440.
    EXPECT_EQ(kLuma10Sums.high, 10200000);
    EXPECT_EQ(kChroma10Sums.low, -255 * (18560 + 1880));
    EXPECT_EQ(kLuma8Sums.high, 2550000);
}

}  // namespace
}  // namespace lumacore

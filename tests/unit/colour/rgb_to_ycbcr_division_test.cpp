// The vector division by 10000 of the RGB to Y'CbCr conversions over every
// sum the coefficient tables can reach.
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

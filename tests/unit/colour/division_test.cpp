// The vector tiers divide sums by 10000 with a float multiply, both ways.
// Proof by exhaustion: every sum that any matrix's coefficients can form
// from 8-bit or 10-bit samples gives the plain code's clamped quotient.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "colour/matrices_to_rgb.h"
#include "colour/rgb_to_ycbcr_tables.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "colour/to_rgb_program.h"
#include "engine/simd_tier.h"

namespace lumacore {
namespace {

std::vector<SimdTier> VectorTiers() {
    std::vector<SimdTier> tiers;
    for (int t = 1; t <= int(HostSimdTier()); ++t) tiers.push_back(SimdTier(t));
    return tiers;
}

const char* TierName(SimdTier tier) { return tier == SimdTier::Avx2 ? "avx2" : "sse2"; }

struct Range {
    std::int64_t low = 0, high = 0;
    void Add(std::int64_t v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

// Each channel's sum is linear in Y, Cb and Cr, so its extremes lie at the
// extremes of the samples.
Range ReachableSums(const ToRgbCoefficients* sets, int max_sample) {
    Range r;
    for (int m = 0; m < kMatrixCount; ++m) {
        const ToRgbCoefficients& k = sets[m];
        for (int y : {0, max_sample})
            for (int cb : {0, max_sample})
                for (int cr : {0, max_sample}) {
                    const std::int64_t ys = std::int64_t(y - k.luma_offset) * k.luma_gain;
                    const std::int64_t cbs = cb - k.chroma_offset, crs = cr - k.chroma_offset;
                    r.Add(ys + k.cr_to_r * crs);
                    r.Add(ys - k.cb_to_g * cbs - k.cr_to_g * crs);
                    r.Add(ys + k.cb_to_b * cbs);
                }
    }
    return r;
}

TEST(ToRgbDivision, FloatQuotientEqualsTruncatedDivisionOverEveryReachableSum) {
    Range range = ReachableSums(kToRgb8, 255);
    const Range ten = ReachableSums(kToRgb10, 1023);
    range.Add(ten.low);
    range.Add(ten.high);
    // The sums convert to float exactly.
    ASSERT_LT(range.high, std::int64_t(1) << 24);
    ASSERT_GT(range.low, -(std::int64_t(1) << 24));

    constexpr std::size_t kChunk = 1 << 20;
    std::vector<std::int32_t> sums(kChunk);
    std::vector<std::uint8_t> expected(kChunk), actual(kChunk);
    for (SimdTier tier : VectorTiers()) {
        std::int64_t checked = 0;
        for (std::int64_t start = range.low; start <= range.high; start += kChunk) {
            // Whole vector steps: the tail of a count goes through plain code.
            const std::size_t n = kChunk;
            for (std::size_t i = 0; i < n; ++i) {
                const std::int32_t s = std::int32_t(start + std::int64_t(i));
                sums[i] = s;
                const std::int32_t q = s / kToRgbDivisor;
                expected[i] = std::uint8_t(q < 0 ? 0 : q > 255 ? 255 : q);
            }
            DivideBy10000(tier, sums.data(), actual.data(), std::uint32_t(n));
            const auto bad = std::mismatch(expected.begin(), expected.end(), actual.begin());
            ASSERT_TRUE(bad.first == expected.end())
                << TierName(tier) << " sum " << sums[std::size_t(bad.first - expected.begin())];
            checked += std::int64_t(n);
        }
        EXPECT_GT(checked, range.high - range.low);
    }
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
            EXPECT_EQ(mismatches, 0) << TierName(tier) << " kind " << int(k.kind) << " offset "
                                     << k.offset;
        }
    }
}

}  // namespace
}  // namespace lumacore

// The vector tiers divide the generic converters' sums by 10000 with a float
// multiply. Proof by exhaustion: every sum that any matrix's coefficients can
// form from 8-bit or 10-bit samples gives the reference's clamped quotient.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_program.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::ToRgbCoefficients;

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
    for (int m = 0; m < lumacore::kMatrixCount; ++m) {
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
    Range range = ReachableSums(lumacore::kToRgb8, 255);
    const Range ten = ReachableSums(lumacore::kToRgb10, 1023);
    range.Add(ten.low);
    range.Add(ten.high);
    // The sums convert to float exactly.
    ASSERT_LT(range.high, std::int64_t(1) << 24);
    ASSERT_GT(range.low, -(std::int64_t(1) << 24));

    constexpr std::size_t kChunk = 1 << 20;
    std::vector<std::int32_t> sums(kChunk);
    std::vector<std::uint8_t> expected(kChunk), actual(kChunk);
    for (lumacore::SimdTier tier : VectorTiers()) {
        std::int64_t checked = 0;
        for (std::int64_t start = range.low; start <= range.high; start += kChunk) {
            // Whole vector steps: the tail of a count goes through plain code.
            const std::size_t n = kChunk;
            for (std::size_t i = 0; i < n; ++i) {
                const std::int32_t s = std::int32_t(start + std::int64_t(i));
                sums[i] = s;
                const std::int32_t q = s / lumacore::kToRgbDivisor;
                expected[i] = std::uint8_t(q < 0 ? 0 : q > 255 ? 255 : q);
            }
            lumacore::DivideBy10000(tier, sums.data(), actual.data(), std::uint32_t(n));
            const auto bad = std::mismatch(expected.begin(), expected.end(), actual.begin());
            ASSERT_TRUE(bad.first == expected.end())
                << TierName(tier) << " sum " << sums[std::size_t(bad.first - expected.begin())];
            checked += std::int64_t(n);
        }
        EXPECT_GT(checked, range.high - range.low);
    }
}

}  // namespace
}  // namespace lumacore_test

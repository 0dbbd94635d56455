// The three kernel families on frames whose bytes are worked out by hand:
// white and black levels, the sets each matrix gets, the fourth bytes, line
// placement, odd pair counts and the 13-bit tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_lut_tables.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::KernelPairOrder;
using lumacore::SimdTier;

// A packed line of `w` pixels repeating one pair.
Bytes PackedLine(KernelPairOrder order, std::uint32_t w, int y0, int cb, int y1, int cr) {
    Bytes line(2 * w);
    for (std::uint32_t k = 0; k < w / 2; ++k) {
        std::uint8_t* p = &line[4 * k];
        if (order == KernelPairOrder::Uyvy) {
            p[0] = std::uint8_t(cb), p[1] = std::uint8_t(y0), p[2] = std::uint8_t(cr), p[3] = std::uint8_t(y1);
        } else {
            p[0] = std::uint8_t(y0), p[1] = std::uint8_t(cb), p[2] = std::uint8_t(y1), p[3] = std::uint8_t(cr);
        }
    }
    return line;
}

constexpr std::uint32_t kWide = 64;  // reaches every tier's blocks

// Pixel 0 of a one-line conversion by a table or 6-bit kernel.
Bytes FirstPixel(bool table, SimdTier tier, KernelPairOrder order, int bits, std::int32_t matrix, int y, int cb,
                 int cr) {
    const Bytes src = PackedLine(order, kWide, y, cb, y, cr);
    const std::uint32_t size = bits / 8;
    Bytes dst(size * kWide, kCanary);
    if (table)
        lumacore::LutKernel(tier, order, bits, lumacore::LutSetFor(matrix), dst.data(), 0, src.data(), 0, kWide, 1);
    else
        lumacore::K6Kernel(tier, order, bits,
                           lumacore::IsStandardRange(matrix) ? lumacore::K6_601_EXPANDED : lumacore::K6_601_PLAIN,
                           dst.data(), 0, src.data(), 0, kWide, 1);
    for (std::uint32_t x = 1; x < kWide; ++x)
        EXPECT_TRUE(std::equal(dst.begin(), dst.begin() + size, dst.begin() + x * size));
    return Bytes(dst.begin(), dst.begin() + size);
}

Bytes K13FirstPixel(SimdTier tier, std::int32_t matrix, std::uint32_t flags, int y, int cb, int cr) {
    const Bytes src = PackedLine(KernelPairOrder::Uyvy, kWide, y, cb, y, cr);
    Bytes dst(4 * kWide, kCanary);
    lumacore::K13Packed8ToRgb32(tier, dst.data(), src.data(), kWide, 1, 4 * kWide, 2 * kWide, matrix, flags);
    for (std::uint32_t x = 1; x < kWide; ++x)
        EXPECT_TRUE(std::equal(dst.begin(), dst.begin() + 4, dst.begin() + 4 * x));
    return Bytes(dst.begin(), dst.begin() + 4);
}

// Pixels worked out by hand, every tier, both source orders.
TEST(ToRgbKernels, HandWorkedPixelsOfEachFamily) {
    enum Family { kTable, kSixBit, kThirteen };
    struct Case {
        Family family;
        std::int32_t matrix;
        int y, cb, cr;
        Bytes bgr;
    };
    const Case cases[] = {
        // Table: luma entry 275, red field 275 + 224 - 244 = 255.
        {kTable, 1, 235, 128, 128, {255, 255, 255}},
        {kTable, 1, 16, 128, 128, {0, 0, 0}},
        {kTable, 0, 16, 128, 128, {16, 16, 16}},  // extended range passes luma through
        // 6-bit: (74 x 219 + 32) >> 6 = 253.
        {kSixBit, 1, 235, 128, 128, {253, 253, 253}},
        {kSixBit, 1, 16, 128, 128, {0, 0, 0}},
        {kSixBit, 0, 16, 128, 128, {16, 16, 16}},
        {kSixBit, 2, 235, 128, 128, {235, 235, 235}},
        // 13-bit: 9535 x 219 >> 13 = 254, fourth byte 255.
        {kThirteen, 1, 235, 128, 128, {254, 254, 254, 255}},
        {kThirteen, 1, 16, 128, 128, {0, 0, 0, 255}},
        {kThirteen, 0, 200, 128, 128, {200, 200, 200, 255}},
    };
    for (SimdTier tier : AllTiers())
        for (KernelPairOrder order : {KernelPairOrder::Uyvy, KernelPairOrder::Yuy2})
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message() << TierName(tier) << " family " << c.family << " matrix " << c.matrix
                                                << " Y " << c.y);
                if (c.family == kThirteen)
                    EXPECT_EQ(K13FirstPixel(tier, c.matrix, 0, c.y, c.cb, c.cr), c.bgr);
                else
                    EXPECT_EQ(FirstPixel(c.family == kTable, tier, order, 24, c.matrix, c.y, c.cb, c.cr), c.bgr);
            }
    // 6-bit sums past 8 bits: B = (74 x 239 + 32 + 129 x 127) >> 6 = 532 clamps to 255.
    for (SimdTier tier : AllTiers()) {
        const Bytes p = FirstPixel(false, tier, KernelPairOrder::Yuy2, 24, 1, 255, 255, 0);
        EXPECT_EQ(p[0], 255);
        EXPECT_EQ(p[2], (74 * 239 + 32 - 102 * 128) >> 6);
        EXPECT_EQ(FirstPixel(false, tier, KernelPairOrder::Yuy2, 24, 1, 0, 0, 0)[0], 0);  // negative sums clamp to 0
    }
}

}  // namespace
}  // namespace lumacore_test

// The generic converters: the matrices' levels, the truncation and clamp,
// chroma sharing, the packings and channel orders, line order and counts.
// Values are worked out by hand from the coefficient tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "colour/to_rgb_kernels.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;
using Rgb = std::array<int, 3>;

// (R, G, B) of a 64-pixel UYVY line of one sample triple, BGRX order.
Rgb Convert8(SimdTier tier, std::int32_t matrix, int y, int cb, int cr) {
    constexpr std::uint32_t w = 64;
    Bytes src(2 * w);
    for (std::uint32_t k = 0; k < w / 2; ++k) {
        src[4 * k] = std::uint8_t(cb);
        src[4 * k + 1] = std::uint8_t(y);
        src[4 * k + 2] = std::uint8_t(cr);
        src[4 * k + 3] = std::uint8_t(y);
    }
    Bytes dst(3 * w);
    lumacore::YCbCr8ToRgbWith(tier, dst.data(), src.data() + 1, src.data(), src.data() + 2, w, 1, 3 * w, 2 * w,
                              matrix, 0, lumacore::kChromaRowPerLine, lumacore::kPackedLayout, 24, 2 * w);
    for (std::uint32_t x = 1; x < w; ++x)
        EXPECT_TRUE(dst[3 * x] == dst[0] && dst[3 * x + 1] == dst[1] && dst[3 * x + 2] == dst[2]);
    return {dst[2], dst[1], dst[0]};
}

// The same through v210 words (one sample triple in every field).
Rgb Convert10(SimdTier tier, std::int32_t matrix, std::uint32_t y, std::uint32_t cb, std::uint32_t cr) {
    constexpr std::uint32_t w = 96;
    Bytes src(16 * w / 6);
    const std::uint32_t words[4] = {cb | y << 10 | cr << 20, y | cb << 10 | y << 20, cr | y << 10 | cb << 20,
                                    y | cr << 10 | y << 20};
    for (std::uint32_t g = 0; g < w / 6; ++g)
        for (int i = 0; i < 4; ++i)
            for (int b = 0; b < 4; ++b) src[16 * g + 4 * i + b] = std::uint8_t(words[i] >> (8 * b));
    Bytes dst(4 * w);
    lumacore::V210ToRgbWith(tier, dst.data(), src.data(), w, 1, 4 * w, std::uint32_t(src.size()), matrix, 0, 32);
    for (std::uint32_t x = 1; x < w; ++x)
        EXPECT_TRUE(dst[4 * x] == dst[0] && dst[4 * x + 1] == dst[1] && dst[4 * x + 2] == dst[2]);
    return {dst[2], dst[1], dst[0]};
}

// Standard range stretches luma, truncates its white and clamps; extended
// range passes luma through (ten bits: quarter gains, the low two bits lost).
TEST(GenericToRgb, LevelsWorkedOutByHand) {
    struct Case {
        bool ten;
        std::int32_t matrix;
        int y, cb, cr;
        Rgb rgb;
    };
    const Case cases[] = {
        {false, 1, 235, 128, 128, {254, 254, 254}},  // 219 x 1.164 = 254.9
        {false, 1, 16, 128, 128, {0, 0, 0}},         {false, 1, 255, 128, 128, {255, 255, 255}},
        {false, 1, 0, 128, 128, {0, 0, 0}},          {true, 1, 940, 512, 512, {254, 254, 254}},
        {true, 1, 64, 512, 512, {0, 0, 0}},
        // Saturated red: R 2703720 clamps high, G -86558 low, and B's -9860 truncates to 0.
        {false, 1, 81, 90, 250, {255, 0, 0}},
        // R 977760 + 15960 x 50, G 977760 + 3910 x 30 - 8129 x 50, B 977760 - 20170 x 30.
        {false, 1, 100, 98, 178, {177, 68, 37}},
        {false, 0, 0, 128, 128, {0, 0, 0}},          {false, 0, 128, 128, 128, {128, 128, 128}},
        {false, 0, 255, 128, 128, {255, 255, 255}},  {false, 2, 16, 128, 128, {16, 16, 16}},
        {false, 4, 235, 128, 128, {235, 235, 235}},  {true, 0, 941, 512, 512, {235, 235, 235}},
        // Blue of (Y 0, Cb 127) with matrix 0: 17320 x -1 truncates to 0, as
        // does every sum between -9999 and 9999.
        {false, 0, 0, 127, 128, {0, 0, 0}},          {false, 0, 1, 127, 128, {1, 1, 0}},
    };
    for (SimdTier tier : AllTiers())
        for (const Case& c : cases)
            EXPECT_EQ(c.ten ? Convert10(tier, c.matrix, c.y, c.cb, c.cr) : Convert8(tier, c.matrix, c.y, c.cb, c.cr),
                      c.rgb)
                << TierName(tier) << " matrix " << c.matrix << " Y " << c.y;
}

}  // namespace
}  // namespace lumacore_test

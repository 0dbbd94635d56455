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

// One pair of distinct pixels, every packing and order, byte by byte.
TEST(GenericToRgb, PacksEveryBitCountInEveryOrder) {
    // Matrix 0, Cb' = 1, Cr' = 32: R = Y + 43.872, G = Y - 0.336 - 22.3328,
    // B = Y + 1.732, each truncated: pixel 0 (Y 200) is R 243, G 177, B 201;
    // pixel 1 (Y 96) is R 139, G 73, B 97.
    const std::uint8_t uyvy[4] = {129, 200, 160, 96};
    struct Case {
        int bits;
        std::uint32_t order;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {24, 0, {201, 177, 243, 97, 73, 139}},
        {24, 1, {201, 177, 243, 97, 73, 139}},
        {24, 2, {243, 177, 201, 139, 73, 97}},
        {24, 3, {243, 177, 201, 139, 73, 97}},
        {24, 9, {243, 177, 201, 139, 73, 97}},
        {32, 0, {201, 177, 243, 0, 97, 73, 139, 0}},
        {32, 1, {0, 201, 177, 243, 0, 97, 73, 139}},
        {32, 2, {243, 177, 201, 0, 139, 73, 97, 0}},
        {32, 3, {0, 243, 177, 201, 0, 139, 73, 97}},
        {32, 4, {243, 177, 201, 0, 139, 73, 97, 0}},
        // 5-5-5, blue high: 25 << 10 | 22 << 5 | 30 = 0x66DE; red high 0x7AD9.
        {15, 0, {0xDE, 0x66, 0x31, 0x31}},
        {15, 1, {0xDE, 0x66, 0x31, 0x31}},
        {15, 2, {0xD9, 0x7A, 0x2C, 0x45}},
        {15, 3, {0xD9, 0x7A, 0x2C, 0x45}},
        // 5-6-5, blue high: 25 << 11 | 44 << 5 | 30 = 0xCD9E; red high 0xF599.
        {16, 0, {0x9E, 0xCD, 0x51, 0x62}},
        {16, 2, {0x99, 0xF5, 0x4C, 0x8A}},
        {16, 5, {0x99, 0xF5, 0x4C, 0x8A}},
    };
    for (SimdTier tier : AllTiers()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << TierName(tier) << " bits " << c.bits << " order " << c.order);
            constexpr std::uint32_t w = 64;
            Bytes src(2 * w);
            for (std::uint32_t k = 0; k < w / 2; ++k)
                for (int i = 0; i < 4; ++i) src[4 * k + i] = uyvy[i];
            const std::uint32_t size = c.bits == 24 ? 3 : c.bits == 32 ? 4 : 2;
            Bytes dst(size * w, kCanary);
            lumacore::YCbCr8ToRgbWith(tier, dst.data(), src.data() + 1, src.data(), src.data() + 2, w, 1, size * w,
                                      2 * w, 0, c.order, lumacore::kChromaRowPerLine, lumacore::kPackedLayout,
                                      c.bits, 2 * w);
            for (std::uint32_t x = 0; x < w; x += 2)
                ASSERT_EQ(Bytes(dst.begin() + x * size, dst.begin() + (x + 2) * size), c.bytes) << "pixel " << x;
        }
    }
}

// Each chroma row of a 4:2:0 source serves two lines; with 4:2:2 rows each
// line has its own. Chroma rows of Cr 128 + 20 r make red step by row.
TEST(GenericToRgb, FourTwoZeroLinesShareTheirChromaRow) {
    for (SimdTier tier : AllTiers()) {
        constexpr std::uint32_t w = 34, h = 5, cp = w / 2;
        const Bytes luma(w * h, 128);
        Bytes cb(cp * h, 128), cr(cp * h);
        for (std::uint32_t r = 0; r < h; ++r)
            for (std::uint32_t x = 0; x < cp; ++x) cr[r * cp + x] = std::uint8_t(128 + 20 * r);
        for (int rows : {lumacore::kChromaRowPerTwoLines, lumacore::kChromaRowPerLine}) {
            Bytes dst(3 * w * h);
            lumacore::YCbCr8ToRgbWith(tier, dst.data(), luma.data(), cb.data(), cr.data(), w, h, 3 * w, w, 0, 0,
                                      rows, lumacore::kPlanarLayout, 24, cp);
            for (std::uint32_t y = 0; y < h; ++y) {
                const std::uint32_t row = rows == lumacore::kChromaRowPerLine ? y : y / 2;
                const int red = std::min(255, 128 + 13710 * int(20 * row) / 10000);
                for (std::uint32_t x = 0; x < w; ++x) ASSERT_EQ(dst[(y * w + x) * 3 + 2], red) << y << " " << x;
            }
        }
    }
}

// Pixels of a pair share its chroma; an odd width's last pixel takes the
// chroma of the pair to its left, and a one-pixel line is neutral.
TEST(GenericToRgb, OddWidthsGiveTheLastPixelItsNeighboursChroma) {
    for (SimdTier tier : AllTiers()) {
        for (std::uint32_t w : {1u, 3u, 33u, 65u}) {
            Bytes luma(w, 100), cb(w / 2), cr(w / 2);
            for (std::uint32_t k = 0; k < w / 2; ++k) cr[k] = std::uint8_t(130 + 2 * k);
            Bytes dst(3 * w + 3, kCanary);
            lumacore::YCbCr8ToRgbWith(tier, dst.data(), luma.data(), cb.data(), cr.data(), w, 1, 3 * w, w, 0, 0,
                                      lumacore::kChromaRowPerLine, lumacore::kPlanarLayout, 24, w / 2);
            for (std::uint32_t x = 0; x < w; ++x) {
                const int k = w == 1 ? -1 : int(std::min(x / 2, w / 2 - 1));
                const int crs = k < 0 ? 0 : 2 + 2 * k;
                ASSERT_EQ(dst[3 * x + 2], 100 + 13710 * crs / 10000) << TierName(tier) << " w=" << w << " x=" << x;
            }
            EXPECT_EQ(dst[3 * w], kCanary);
        }
    }
}

}  // namespace
}  // namespace lumacore_test

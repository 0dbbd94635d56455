// Y'CbCr to RGB: the levels of the generic converters worked out by hand from
// the coefficient tables, and which kernel or converter each processor level
// and channel order gets.
#include "colour/to_rgb_routines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "colour/to_rgb_kernels.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "engine/routine.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;
using Rgb = std::array<int, 3>;

struct Out {
    std::uint32_t count;
    Bytes dst;
};

Out Convert(lumacore::RgbConvertRoutine routine, const Bytes& src, std::uint32_t w, std::uint32_t h, std::uint32_t dp,
        std::uint32_t sp, std::int32_t matrix, std::uint32_t flags = 0x8000, std::uint8_t fill = kCanary) {
    Out o{0, Bytes(std::size_t(h) * dp, fill)};
    o.count = routine(o.dst.data(), src.data(), w, h, dp, sp, matrix, flags);
    return o;
}

// Which path a routine takes, by processor level and channel order, told
// apart by a uniform frame: white is 255 from the table kernel, 253 from the
// 6-bit kernel and 254 from the converter and the 13-bit kernel. Kernels
// count whole pitches, the converter w x h x its bytes per pixel; fourth
// bytes come from the 13-bit kernel (255), the 6-bit kernel (its luma term),
// the converter (0) or nobody (the table kernel).
TEST(ToRgbRoutines, ProcessorLevelAndOrderPickThePath) {
    using Pair = std::array<std::uint8_t, 4>;
    constexpr Pair kUyvyWhite{128, 235, 128, 235}, kYuy2White{235, 128, 235, 128}, kGrey{128, 120, 128, 120};
    // Matrix 0 with Cb' = -100: the kernels' 5-5-5 words have red high and
    // B = (64 x 200 + 32 - 113 x 100) >> 6, G = (64 x 200 + 32 + 22 x 100) >> 6;
    // the converter gives B = Y - 173.2, G = Y + 33.6, R = Y.
    constexpr Pair kBlueless{28, 200, 128, 200};
    constexpr int r = 200, k6_b = 23, k6_g = 234, g = 233, b = 26;
    auto word = [](int w) { return Bytes{std::uint8_t(w), std::uint8_t(w >> 8)}; };
    enum Count { kPitches, kPixels };
    struct Case {
        lumacore::RgbConvertRoutine routine;
        std::vector<std::uint32_t> levels;
        std::uint32_t flags;
        std::int32_t matrix;
        Pair pair;
        Bytes pixel;
        Count count;
    };
    const Case cases[] = {
        {&lumacore::UyvyToRgb24, {1}, 0x8000, 1, kUyvyWhite, {255, 255, 255}, kPitches},
        {&lumacore::UyvyToRgb24, {2, 3, 4, 5}, 0x8000, 1, kUyvyWhite, {253, 253, 253}, kPitches},
        {&lumacore::UyvyToRgb24, {0, 6}, 0x8000, 1, kUyvyWhite, {254, 254, 254}, kPixels},
        {&lumacore::CyuvToRgb24, {1}, 0x8000, 1, kUyvyWhite, {255, 255, 255}, kPitches},
        {&lumacore::CyuvToRgb24, {2, 3, 4, 5}, 0x8000, 1, kUyvyWhite, {253, 253, 253}, kPitches},
        {&lumacore::CyuvToRgb24, {0, 6}, 0x8000, 1, kUyvyWhite, {254, 254, 254}, kPixels},
        // Orders other than B G R: the converter, except for the 13-bit kernel.
        {&lumacore::UyvyToRgb24, {4}, 0x8001, 1, kUyvyWhite, {254, 254, 254}, kPixels},
        {&lumacore::UyvyToRgb32, {4}, 0x8003, 1, kUyvyWhite, {255, 254, 254, 254}, kPitches},
        {&lumacore::Yuy2ToRgb32, {4}, 0x8002, 1, kYuy2White, {254, 254, 254, 0}, kPixels},
        {&lumacore::Yuy2ToRgb32, {4}, 0x8000, 1, kYuy2White, {253, 253, 253, 253}, kPitches},
        {&lumacore::UyvyToRgb32, {1}, 0x8000, 0, kGrey, {120, 120, 120, kCanary}, kPitches},
        {&lumacore::UyvyToRgb32, {2, 3, 4, 5}, 0x8000, 0, kGrey, {120, 120, 120, 255}, kPitches},
        {&lumacore::UyvyToRgb32, {6}, 0x8000, 0, kGrey, {120, 120, 120, 0}, kPixels},
        // 5-6-5 at kernel levels: the kernels' 5-5-5 words; the converter's
        // 5-6-5 has blue high in a B-first order; 5-5-5 always the converter's.
        {&lumacore::UyvyToRgb565, {4}, 0x8000, 0, kBlueless, word((r >> 3) << 10 | (k6_g >> 3) << 5 | k6_b >> 3),
         kPitches},
        {&lumacore::UyvyToRgb565, {4}, 0x8001, 0, kBlueless, word((b >> 3) << 11 | (g >> 2) << 5 | r >> 3), kPixels},
        {&lumacore::UyvyToRgb555, {1, 4}, 0x8000, 0, kBlueless, word((b >> 3) << 10 | (g >> 3) << 5 | r >> 3),
         kPixels},
    };
    const std::uint32_t w = 32, h = 2;
    for (const Case& c : cases) {
        Bytes src(2 * w * h);
        for (std::size_t i = 0; i < src.size(); ++i) src[i] = c.pair[i % 4];
        const std::uint32_t size = std::uint32_t(c.pixel.size()), dp = size * w + 4;
        for (std::uint32_t level : c.levels) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << " level " << level);
            ScopedSimdLevel scoped(level);
            const Out o = Convert(c.routine, src, w, h, dp, 2 * w, c.matrix, c.flags);
            EXPECT_EQ(o.count, c.count == kPitches ? h * dp : w * h * size);
            for (std::uint32_t y = 0; y < h; ++y)
                for (std::uint32_t x = 0; x < w; ++x)
                    ASSERT_EQ(Bytes(o.dst.begin() + y * dp + x * size, o.dst.begin() + y * dp + (x + 1) * size),
                              c.pixel)
                        << "pixel " << x << " line " << y;
        }
    }
}

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

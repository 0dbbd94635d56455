// Y'CbCr to RGB: which kernel or converter each processor level and channel
// order gets, told apart by levels worked out by hand.
#include "colour/to_rgb_routines.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/routine.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {
namespace {

constexpr std::uint8_t kCanary = 0xA5;

// The processor level the routines see while this lives.
struct ScopedSimdLevel {
    explicit ScopedSimdLevel(std::uint32_t level) {
        lumacore::EnsureProcessorFeatures();
        saved = lumacore::SimdLevel.load();
        lumacore::SimdLevel.store(level);
    }
    ~ScopedSimdLevel() { lumacore::SimdLevel.store(saved); }
    std::uint32_t saved = 0;
};

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

// Streaming stores change how the 32-bit routines write, not what: every
// width and every start of the destination (the pixels before its first
// cache line go through a block converted on the side) gives the bytes the
// cached stores give, and nothing outside the lines.
TEST(ToRgbRoutines, StreamingStoresWriteTheSameBytes) {
    struct Case {
        lumacore::RgbConvertRoutine routine;
        std::uint32_t (*source_bytes)(std::uint32_t w, std::uint32_t h);
        std::uint32_t flags;
    };
    auto packed = [](std::uint32_t w, std::uint32_t h) { return 2 * w * h; };
    auto planar = [](std::uint32_t w, std::uint32_t h) { return w * h + 2 * (w / 2) * ((h + 1) / 2); };
    auto v210 = [](std::uint32_t w, std::uint32_t h) { return 16 * ((w + 5) / 6) * h; };
    const Case cases[] = {
        {&lumacore::UyvyToRgb32, packed, 0x8000},  // 13-bit kernel
        {&lumacore::CyuvToRgb32, packed, 0x8001},
        {&lumacore::Yuy2ToRgb32, packed, 0x8000},  // 6-bit kernel
        {&lumacore::YvyuToRgb32, packed, 0x8002},  // converter
        {&lumacore::I420ToRgb32, planar, 0x8000},
        {&lumacore::V210ToRgb32, v210, 0x8000},
        {&lumacore::V210ToRgb24, v210, 0x8000},  // 24-bit: nothing streams
    };
    const std::uint32_t h = 3;
    for (const Case& c : cases)
        for (std::uint32_t w : {2u, 66u, 130u, 198u, 1928u})
            for (std::uint32_t offset : {0u, 4u, 8u, 24u, 56u, 60u, 2u, 3u})
                for (std::uint32_t pad : {0u, 32u}) {  // lines as far off a cache line as the first, or not
                    SCOPED_TRACE(testing::Message() << "case " << &c - cases << " width " << w << " offset " << offset
                                                    << " pad " << pad);
                    const std::uint32_t sp =
                        c.source_bytes == v210 ? 16 * ((w + 5) / 6) : c.source_bytes == planar ? w : 2 * w;
                    const Bytes src = Random(c.source_bytes(w, h), w + offset);
                    const std::uint32_t dp = (4 * w + 63) / 64 * 64 + pad;
                    const Bytes fill = Random(std::size_t(h) * dp + 128, w);
                    alignas(64) static std::uint8_t cached[3 * (4 * 1928 + 64) + 256], streamed[sizeof cached];
                    std::copy(fill.begin(), fill.end(), cached);
                    std::copy(fill.begin(), fill.end(), streamed);
                    c.routine(cached + offset, src.data(), w, h, dp, sp, 5, c.flags);
                    c.routine(streamed + offset, src.data(), w, h, dp, sp, 5, c.flags | 0x10000);
                    ASSERT_EQ(FirstDifference(Bytes(cached, cached + fill.size()),
                                              Bytes(streamed, streamed + fill.size())),
                              -1);
                }
}

}  // namespace
}  // namespace lumacore_test

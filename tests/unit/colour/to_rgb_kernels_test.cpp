// The three kernel families on frames whose bytes are worked out by hand:
// white and black levels, the sets each matrix gets, the fourth bytes, line
// placement, odd pair counts and the 13-bit tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_k13_tables.h"
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

// The table and 6-bit kernels have two sets, by the matrix's parity; the
// 13-bit kernel has every matrix (3 and 5 share one, others read as 0).
TEST(ToRgbKernels, SetsFollowTheMatrix) {
    const int samples[][3] = {{100, 98, 178}, {200, 40, 60}, {50, 220, 30}};
    for (SimdTier tier : AllTiers()) {
        for (const auto& s : samples) {
            auto pixel = [&](bool table, std::int32_t m) {
                return FirstPixel(table, tier, KernelPairOrder::Uyvy, 24, m, s[0], s[1], s[2]);
            };
            for (bool table : {true, false}) {
                EXPECT_EQ(pixel(table, 3), pixel(table, 1));
                EXPECT_EQ(pixel(table, 5), pixel(table, 1));
                EXPECT_EQ(pixel(table, 4), pixel(table, 0));
                EXPECT_NE(pixel(table, 1), pixel(table, 0));
            }
            auto k13 = [&](std::int32_t m) { return K13FirstPixel(tier, m, 0, s[0], s[1], s[2]); };
            EXPECT_NE(k13(1), k13(3));
            EXPECT_EQ(k13(3), k13(5));
            EXPECT_EQ(k13(9), k13(0));
        }
    }
}

// Every Cb and Cr with the extreme and the nominal luma values, through
// every tier of the 6-bit kernels: the sums reach their extremes here (past
// 16 bits, and clamped), and every tier must give the plain kernel's bytes.
TEST(ToRgbKernels, SixBitTiersAgreeOnEveryChromaPair) {
    constexpr int kLumaPairs[][2] = {{0, 255}, {255, 0}, {16, 235}, {128, 17}};
    constexpr std::uint32_t kWidth = 2 * 256;  // one line per Cb: every Cr
    for (const KernelPairOrder order : {KernelPairOrder::Uyvy, KernelPairOrder::Yuy2}) {
        for (const auto& luma : kLumaPairs) {
            Bytes src(2 * kWidth * 256);
            for (int cb = 0; cb < 256; ++cb)
                for (int cr = 0; cr < 256; ++cr) {
                    std::uint8_t* p = &src[2 * kWidth * std::size_t(cb) + 4 * std::size_t(cr)];
                    const std::uint8_t y0 = std::uint8_t(luma[0]), y1 = std::uint8_t(luma[1]);
                    if (order == KernelPairOrder::Uyvy)
                        p[0] = std::uint8_t(cb), p[1] = y0, p[2] = std::uint8_t(cr), p[3] = y1;
                    else
                        p[0] = y0, p[1] = std::uint8_t(cb), p[2] = y1, p[3] = std::uint8_t(cr);
                }
            for (const lumacore::K6Set* set : {&lumacore::K6_601_EXPANDED, &lumacore::K6_601_PLAIN}) {
                for (const int bits : {16, 24, 32}) {
                    const std::size_t line = kWidth * std::size_t(bits / 8);
                    Bytes want(line * 256);
                    lumacore::K6Kernel(SimdTier::Plain, order, bits, *set, want.data(), std::ptrdiff_t(line),
                                       src.data(), 2 * kWidth, kWidth, 256);
                    for (SimdTier tier : VectorTiers()) {
                        Bytes got(want.size(), kCanary);
                        lumacore::K6Kernel(tier, order, bits, *set, got.data(), std::ptrdiff_t(line), src.data(),
                                           2 * kWidth, kWidth, 256);
                        ASSERT_EQ(got, want) << TierName(tier) << " bits " << bits << " luma " << luma[0] << "/"
                                             << luma[1];
                    }
                }
            }
        }
    }
}

TEST(ToRgbKernels, FourthBytesOfEachFamily) {
    for (SimdTier tier : AllTiers()) {
        SCOPED_TRACE(TierName(tier));
        // 6-bit from YUY2: the pixel's own luma term, here its luma byte.
        const Bytes src = Random(2 * kWide, 9);
        Bytes dst(4 * kWide, kCanary);
        lumacore::K6Kernel(tier, KernelPairOrder::Yuy2, 32, lumacore::K6_601_PLAIN, dst.data(), 0, src.data(), 0, kWide,
                           1);
        for (std::uint32_t x = 0; x < kWide; ++x) ASSERT_EQ(dst[4 * x + 3], src[2 * x]) << x;
        // Table kernels leave it as it was.
        Bytes noise = Random(4 * kWide, 10);
        dst = noise;
        lumacore::LutKernel(tier, KernelPairOrder::Uyvy, 32, lumacore::LUT_601_EXPANDED, dst.data(), 0, src.data(), 0,
                            kWide, 1);
        for (std::uint32_t x = 0; x < kWide; ++x) ASSERT_EQ(dst[4 * x + 3], noise[4 * x + 3]) << x;
        // 13-bit: 255, at the front in the X-first orders.
        const int y = 150, cb = 100, cr = 170;
        const Bytes bgrx = K13FirstPixel(tier, 4, 0, y, cb, cr);
        EXPECT_EQ(bgrx[3], 255);
        EXPECT_EQ(K13FirstPixel(tier, 4, 1, y, cb, cr), (Bytes{255, bgrx[0], bgrx[1], bgrx[2]}));
        EXPECT_EQ(K13FirstPixel(tier, 4, 2, y, cb, cr), (Bytes{bgrx[2], bgrx[1], bgrx[0], 255}));
        EXPECT_EQ(K13FirstPixel(tier, 4, 3, y, cb, cr), (Bytes{255, bgrx[2], bgrx[1], bgrx[0]}));
        EXPECT_EQ(K13FirstPixel(tier, 4, 7, y, cb, cr), (Bytes{bgrx[2], bgrx[1], bgrx[0], 255}));
        // 12900 x 42 >> 13 = 66: R = 150 + 66; G = 150 - (1534 x -28 + 3835 x 42) >> 13; B = 150 + 15201 x -28 >> 13.
        const int ys = 8192 * y;
        EXPECT_EQ(bgrx, (Bytes{std::uint8_t((ys - 15201 * 28) >> 13), std::uint8_t((ys + 1534 * 28 - 3835 * 42) >> 13),
                               std::uint8_t((ys + 12900 * 42) >> 13), 255}));
    }
}

// Table kernel, 16-bit words, UYVY and matrix 0: every pair in UYVY order
// and with the plain set, each word red-high 5-5-5 from the tables.
TEST(ToRgbKernels, TableKernelSixteenBitWordsComeFromTheTables) {
    const Bytes src = Random(2 * 40, 77);
    const lumacore::LutSet& t = lumacore::LUT_601_PLAIN;
    auto clamp5 = [](int v) { return (v < 0 ? 0 : v > 255 ? 255 : v) >> 3; };
    for (SimdTier tier : AllTiers()) {
        Bytes dst(2 * 40);
        lumacore::LutKernel(tier, KernelPairOrder::Uyvy, 16, t, dst.data(), 0, src.data(), 0, 40, 1);
        for (std::uint32_t x = 0; x < 40; ++x) {
            const std::uint8_t* pair = &src[4 * (x / 2)];
            const std::uint32_t sum = t.luma[src[2 * x + 1]] + t.cb[pair[0]] + t.cr[pair[2]];
            const int b = int(sum & 0x3FF) - 308, g = int((sum >> 10) & 0x3FF) - 204, r = int(sum >> 20) - 244;
            const int word = clamp5(r) << 10 | clamp5(g) << 5 | clamp5(b);
            ASSERT_EQ(dst[2 * x] | dst[2 * x + 1] << 8, word) << TierName(tier) << " pixel " << x;
        }
    }
}

// Lines placed by start and step: a top-down frame is the bottom-up frame
// upside down; widths 2 and 6 (one and three pairs) keep their set.
TEST(ToRgbKernels, LinesGoWhereStartAndStepPutThem) {
    for (SimdTier tier : AllTiers()) {
        for (std::uint32_t w : {2u, 6u, 66u}) {
            const std::uint32_t h = 3, dp = 3 * w + 2;
            const Bytes src = Random(2 * w * h, w);
            Bytes up(dp * h, kCanary), down(dp * h, kCanary);
            lumacore::K6Kernel(tier, KernelPairOrder::Uyvy, 24, lumacore::K6_601_PLAIN, up.data() + (h - 1) * dp,
                               -std::ptrdiff_t(dp), src.data(), 2 * w, w, h);
            lumacore::K6Kernel(tier, KernelPairOrder::Uyvy, 24, lumacore::K6_601_PLAIN, down.data(), dp, src.data(),
                               2 * w, w, h);
            for (std::uint32_t y = 0; y < h; ++y) {
                ASSERT_TRUE(std::equal(up.begin() + y * dp, up.begin() + (y + 1) * dp,
                                       down.begin() + (h - 1 - y) * dp));
                // Plain set: neutral-free check of the first pixel of each line.
                const std::uint8_t* s = &src[2 * w * y];
                const int luma = 64 * s[1] + 32, cb = s[0] - 128, cr = s[2] - 128;
                auto c = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
                const std::uint8_t* p = &down[y * dp];
                EXPECT_EQ(p[0], c((luma + 113 * cb) >> 6));
                EXPECT_EQ(p[1], c((luma - 22 * cb - 46 * cr) >> 6));
                EXPECT_EQ(p[2], c((luma + 90 * cr) >> 6));
                EXPECT_EQ(p[3 * w], kCanary);
            }
        }
    }
}

// A 1280-pixel v210 line holds 213 whole groups and one pair of a 214th.
TEST(ToRgbKernels, TenBitKernelStopsAfterTheLinesLastPair) {
    constexpr std::uint32_t w = 1280, groups = 214;
    Bytes src(16 * groups);
    auto put = [&](std::uint32_t word_index, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        const std::uint32_t v = a | b << 10 | c << 20;
        for (int i = 0; i < 4; ++i) src[4 * word_index + i] = std::uint8_t(v >> (8 * i));
    };
    for (std::uint32_t g = 0; g < groups - 1; ++g) {
        put(4 * g, 512, 400, 512), put(4 * g + 1, 400, 512, 400), put(4 * g + 2, 512, 400, 512);
        put(4 * g + 3, 400, 512, 400);
    }
    // Last group: Y0 800, Y1 600 with Cb0 512, Cr0 512; the rest would show.
    put(4 * 213, 512, 800, 512), put(4 * 213 + 1, 600, 0, 1000), put(4 * 213 + 2, 0, 1000, 0);
    put(4 * 213 + 3, 1000, 0, 1000);
    for (SimdTier tier : AllTiers()) {
        Bytes dst(4 * w + 8, kCanary);
        lumacore::K13V210ToRgb32(tier, dst.data(), src.data(), w, 1, 4 * w, 16 * groups, 0, 0);
        EXPECT_EQ(Bytes(dst.begin(), dst.begin() + 4), (Bytes{100, 100, 100, 255}));
        EXPECT_EQ(Bytes(dst.begin() + 4 * 1278, dst.begin() + 4 * 1280),
                  (Bytes{200, 200, 200, 255, 150, 150, 150, 255}));
        EXPECT_EQ(Bytes(dst.begin() + 4 * w, dst.end()), Bytes(8, kCanary)) << TierName(tier);
    }
}

bool SameLayout(const lumacore::K13Layout& a, const lumacore::K13Layout& b) {
    for (int j = 0; j < 4; ++j) {
        const lumacore::K13Row &x = a.rows[j], &y = b.rows[j];
        if (x.luma != y.luma || x.cb != y.cb || x.cr != y.cr || x.bias != y.bias) return false;
    }
    return true;
}

bool SameTables(const lumacore::K13Tables& a, const lumacore::K13Tables& b) {
    if (a.luma_offset8 != b.luma_offset8 || a.chroma_offset8 != b.chroma_offset8 ||
        a.luma_offset10 != b.luma_offset10 || a.chroma_offset10 != b.chroma_offset10)
        return false;
    for (int o = 0; o < 4; ++o)
        if (!SameLayout(a.bits8[o], b.bits8[o]) || !SameLayout(a.bits10[o], b.bits10[o])) return false;
    return true;
}

TEST(ToRgbKernels, ThirteenBitTablesAreBuiltOnceAndShared) {
    for (std::int32_t m = 0; m < lumacore::kMatrixCount; ++m) {
        const Bytes src = PackedLine(KernelPairOrder::Uyvy, 8, 100, 90, 110, 160);
        Bytes dst(32);
        lumacore::K13Packed8ToRgb32(SimdTier::Plain, dst.data(), src.data(), 8, 1, 32, 16, m, 0);
        EXPECT_TRUE(lumacore::K13TablesBuilt(m));
        lumacore::K13Tables scratch{};
        const lumacore::K13Tables& shared = lumacore::K13TablesFor(m, scratch);
        EXPECT_NE(&shared, &scratch);
        const lumacore::K13Tables fresh = lumacore::BuildK13Tables(m);
        EXPECT_TRUE(SameTables(shared, fresh)) << m;
    }
    // Rows of matrix 1, B G R X: gains in order, filler 255 << 13.
    const lumacore::K13Tables t = lumacore::BuildK13Tables(1);
    const lumacore::K13Row* rows = t.bits8[0].rows;
    EXPECT_EQ(rows[0].luma, 9535);
    EXPECT_EQ(rows[0].cb, 16523);
    EXPECT_EQ(rows[1].cb, -3203);
    EXPECT_EQ(rows[1].cr, -6660);
    EXPECT_EQ(rows[2].cr, 13074);
    EXPECT_EQ(rows[3].bias, 255 << 13);
    EXPECT_EQ(t.bits10[0].rows[0].cb, 4130);
    EXPECT_EQ(t.luma_offset10, 64);
}

// Threads converting at once with a matrix whose tables may not be built
// yet (in a process of its own, they are not) all get the same frame.
TEST(ToRgbKernels, ConcurrentFirstUsesAgree) {
    const std::uint32_t w = 96, h = 8;
    const Bytes src = Random(2 * w * h, 3);
    Bytes expected(4 * w * h);
    std::vector<Bytes> results(4, Bytes(4 * w * h));
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            lumacore::K13Packed8ToRgb32(lumacore::HostSimdTier(), results[i].data(), src.data(), w, h, 4 * w, 2 * w,
                                        2, 0x8000);
        });
    for (auto& th : threads) th.join();
    lumacore::K13Packed8ToRgb32(SimdTier::Plain, expected.data(), src.data(), w, h, 4 * w, 2 * w, 2, 0x8000);
    for (const Bytes& r : results) EXPECT_EQ(r, expected);
}

}  // namespace
}  // namespace lumacore_test

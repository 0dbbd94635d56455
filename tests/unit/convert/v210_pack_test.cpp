// 8-bit to v210: every tier against the layout model, the sample values,
// the last group of a line, and the pitches and counts.
#include "convert/v210_pack.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::V210Tier;

std::vector<V210Tier> HostTiers() {
    std::vector<V210Tier> tiers;
    for (int t = 0; t <= int(lumacore::HostV210Tier()); ++t) tiers.push_back(V210Tier(t));
    return tiers;
}

std::uint32_t Word(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

std::size_t SourceBytes(int from, std::uint32_t h, std::uint32_t sp) {
    return IsPlanar(from) ? PlanarBytes(from, sp, h) : std::size_t(h) * sp;
}

TEST(PackV210, EveryTierMatchesTheModel) {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 64; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 640u, 704u, 720u, 800u, 1280u, 1920u, 2048u, 3840u}) widths.push_back(w);
    std::uint32_t seed = 21;
    // -1: PackUYVYToV210.
    for (int from : std::initializer_list<int>{-1, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_I420, FMT_YV12, FMT_P422}) {
        const int layout = from < 0 ? FMT_UYVY : from;
        for (std::uint32_t w : widths) {
            const std::uint32_t groups = 16 * ((w + 5) / 6);
            for (std::uint32_t h : {1u, 2u, 3u, 5u}) {
                if (w > 64 && h > 2) continue;
                const std::uint32_t natural = IsPlanar(layout) ? w : 2 * w;
                // Tight and padded lines on both sides.
                const std::uint32_t pitches[][2] = {{groups, natural}, {(w + 47) / 48 * 128 + 16, natural + 4}};
                for (const auto& p : pitches) {
                    const std::uint32_t dp = p[0], sp = p[1];
                    const Bytes src = Random(SourceBytes(layout, h, sp), ++seed);
                    const Bytes before = Random(std::size_t(h) * dp, ++seed);
                    Bytes want = before;
                    PackModel(want, src, layout, w, h, dp, sp);
                    for (V210Tier tier : HostTiers()) {
                        Bytes dst = before;
                        if (from < 0)
                            lumacore::PackUYVYToV210(tier, dst.data(), src.data(), w, h, dp, sp);
                        else
                            lumacore::PackV210(tier, from, dst.data(), src.data(), w, h, dp, sp);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << from << " tier " << int(tier) << " w " << w << " h " << h << " dp " << dp;
                    }
                }
            }
        }
    }
}

TEST(PackV210, SamplesAreWidenedByTwoZeroBits) {
    const Bytes white(12, 255);
    for (V210Tier tier : HostTiers()) {
        Bytes out(16);
        lumacore::PackUYVYToV210(tier, out.data(), white.data(), 6, 1, 16, 12);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(Word(out, 4 * k), 0x3FCFF3FCu) << int(tier);
    }
    // Cb0 Y0 Cr0 Y1 ... = 1 2 3 4 ...: word 0 holds 1, 2, 3 times 4.
    const Bytes ramp = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Bytes out(16);
    lumacore::PackUYVYToV210(V210Tier::Plain, out.data(), ramp.data(), 6, 1, 16, 12);
    EXPECT_EQ(Word(out, 0), 4u | 8u << 10 | 12u << 20);
    EXPECT_EQ(Word(out, 12), 40u | 44u << 10 | 48u << 20);
}

TEST(PackV210, LastGroupRepeatsTheLastPixel) {
    // YUY2 width 8: pixels 8 to 11 of the second group repeat pixel 7 and the
    // chroma of pair 3.
    Bytes src(16);
    for (int k = 0; k < 4; ++k) {
        src[4 * k] = std::uint8_t(10 + 2 * k);
        src[4 * k + 1] = std::uint8_t(100 + k);
        src[4 * k + 2] = std::uint8_t(11 + 2 * k);
        src[4 * k + 3] = std::uint8_t(200 + k);
    }
    Bytes out(32);
    lumacore::PackV210(V210Tier::Plain, FMT_YUY2, out.data(), src.data(), 8, 1, 32, 16);
    // Second group: Cb0 Y0 Cr0 = 103 16 203; Y1 Cb1 Y2 = 17 103 17; ...
    EXPECT_EQ(Word(out, 16), 103u * 4 | 16u * 4 << 10 | 203u * 4 << 20);
    EXPECT_EQ(Word(out, 20), 17u * 4 | 103u * 4 << 10 | 17u * 4 << 20);
    EXPECT_EQ(Word(out, 28), 17u * 4 | 203u * 4 << 10 | 17u * 4 << 20);
}

TEST(PackV210, PitchesAndCounts) {
    // YUY2 1280 wide: 214 groups a line, lines read SP apart; the count is
    // (16 x 1280 x h) / 6.
    const std::uint32_t w = 1280, h = 3, sp = 2600, dp = 3456;
    Bytes src = Random(std::size_t(h) * sp, 5);
    Bytes dst(std::size_t(h) * dp, 0xEE);
    EXPECT_EQ(lumacore::PackV210(V210Tier::Plain, FMT_YUY2, dst.data(), src.data(), w, h, dp, sp),
              (16u * 1280u * h) / 6u);
    for (std::uint32_t i = 0; i < h; ++i) {
        EXPECT_EQ(Word(dst, i * dp + 4), std::uint32_t(src[i * sp + 2]) * 4 | std::uint32_t(src[i * sp + 5]) * 4 << 10 |
                                             std::uint32_t(src[i * sp + 4]) * 4 << 20);
        EXPECT_EQ(dst[i * dp + 214 * 16], 0) << "padding is zeroed";
        EXPECT_EQ(dst[i * dp + dp - 1], 0);
    }

    // Too narrow a pitch for the groups is widened and the count follows.
    const std::uint32_t small = 48;  // 8 groups: 128 bytes a line
    Bytes uyvy = Random(2 * small * 2, 6);
    Bytes wide(2 * 128, 0xEE);
    EXPECT_EQ(lumacore::PackUYVYToV210(V210Tier::Plain, wide.data(), uyvy.data(), small, 2, 100, 2 * small), 256u);
    EXPECT_EQ(lumacore::PackV210(V210Tier::Plain, FMT_YUY2, wide.data(), uyvy.data(), small, 2, 100, 2 * small), 256u);
    EXPECT_EQ(lumacore::PackUYVYToV210(V210Tier::Plain, wide.data(), uyvy.data(), small, 2, 128, 2 * small), 256u);
}

}  // namespace
}  // namespace lumacore_test

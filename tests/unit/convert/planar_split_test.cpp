// Packed 4:2:2 to planar: every tier against the layout model, and the line
// choices, counts and odd sizes of the split.
#include "convert/planar_split.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;

std::vector<SimdTier> HostTiers() {
    std::vector<SimdTier> tiers;
    for (int t = 0; t <= int(lumacore::HostSimdTier()); ++t) tiers.push_back(SimdTier(t));
    return tiers;
}

std::vector<std::uint32_t> Widths() {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 64; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 640u, 720u, 1280u, 1920u, 3840u}) widths.push_back(w);
    return widths;
}

TEST(SplitPacked, EveryTierMatchesTheModel) {
    std::uint32_t seed = 1;
    for (int packed : {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU}) {
        for (int planar : {FMT_I420, FMT_YV12, FMT_P422}) {
            for (std::uint32_t w : Widths()) {
                for (std::uint32_t h : {1u, 2u, 3u, 5u, 7u, 8u}) {
                    if (w > 64 && h > 3) continue;
                    // Tight lines, then padded ones on both sides.
                    for (const std::uint32_t pad : {0u, 6u}) {
                        const std::uint32_t dp = w + pad, sp = 2 * w + pad;
                        const Bytes src = Random(std::size_t(h) * sp, ++seed);
                        const Bytes before = Random(PlanarBytes(planar, dp, h), ++seed);
                        Bytes want = before;
                        SplitModel(want, src, packed, planar, w, h, dp, sp);
                        for (SimdTier tier : HostTiers()) {
                            Bytes dst = before;
                            lumacore::SplitPacked(tier, packed, planar, dst.data(), src.data(), w, h, dp, sp);
                            ASSERT_EQ(FirstDifference(dst, want), -1) << packed << " > " << planar << " tier "
                                                                      << int(tier) << " w " << w << " h " << h
                                                                      << " pad " << pad;
                        }
                    }
                }
            }
        }
    }
}

// A UYVY frame whose chroma bytes hold their line number.
Bytes NumberedChroma(std::uint32_t w, std::uint32_t h) {
    Bytes f(std::size_t(2) * w * h);
    for (std::uint32_t i = 0; i < h; ++i)
        for (std::uint32_t k = 0; k < w / 2; ++k) {
            f[2 * w * i + 4 * k] = std::uint8_t(i);
            f[2 * w * i + 4 * k + 1] = 0x11;
            f[2 * w * i + 4 * k + 2] = std::uint8_t(100 + i);
            f[2 * w * i + 4 * k + 3] = 0x22;
        }
    return f;
}

TEST(SplitPacked, FourTwoZeroRowsComeFromAlternateLinesOfEachPair) {
    struct Case {
        std::uint32_t h;
        std::vector<int> lines;
    };
    // Rows from lines 0, 3, 4, 7 ...; an odd height's last row, when it has
    // no odd line of its own, from line h - 1.
    const Case cases[] = {{8, {0, 3, 4, 7}}, {7, {0, 3, 4, 6}}, {3, {0, 2}}, {5, {0, 3, 4}}, {1, {0}}};
    for (const Case& c : cases) {
        const std::uint32_t w = 4;
        const Bytes src = NumberedChroma(w, c.h);
        Bytes dst(PlanarBytes(FMT_I420, w, c.h), 0xEE);
        lumacore::SplitPacked(SimdTier::Plain, FMT_UYVY, FMT_I420, dst.data(), src.data(), w, c.h, w, 2 * w);
        const PlaneOffsets o = OffsetsOf(FMT_I420, w, c.h);
        ASSERT_EQ(o.rows, c.lines.size());
        for (std::uint32_t r = 0; r < o.rows; ++r) {
            EXPECT_EQ(dst[o.cb + 2 * r], c.lines[r]) << "h " << c.h << " row " << r;
            EXPECT_EQ(dst[o.cb + 2 * r + 1], c.lines[r]);
            EXPECT_EQ(dst[o.cr + 2 * r], 100 + c.lines[r]);
        }
    }
}

TEST(SplitPacked, OddWidthLeavesTheLastPixelAndCountsArePerLayout) {
    // YUY2 width 7: three pairs a line; the seventh luma byte is not written.
    const std::uint32_t w = 7, h = 4;
    const Bytes src = Random(2 * w * h, 3);
    Bytes dst(PlanarBytes(FMT_I420, w, h), 0xEE);
    const std::uint32_t n =
        lumacore::SplitPacked(SimdTier::Plain, FMT_YUY2, FMT_I420, dst.data(), src.data(), w, h, w, 2 * w);
    for (std::uint32_t i = 0; i < h; ++i) {
        EXPECT_EQ(dst[i * w + 5], src[i * 2 * w + 10]);
        EXPECT_EQ(dst[i * w + 6], 0xEE) << i;
    }
    EXPECT_EQ(n, h * w + 2 * ((h * w) / 4));

    // 2 x h x DP to P422; h x DP = 1000 gives 1500 to I420.
    Bytes big(4000);
    const Bytes uyvy = Random(2000, 4);
    EXPECT_EQ(lumacore::SplitPacked(SimdTier::Plain, FMT_UYVY, FMT_P422, big.data(), uyvy.data(), 100, 10, 100, 200),
              2000u);
    EXPECT_EQ(lumacore::SplitPacked(SimdTier::Plain, FMT_UYVY, FMT_I420, big.data(), uyvy.data(), 100, 10, 100, 200),
              1500u);
}

TEST(SplitPacked, CyuvGivesThePlanesOfTheMirroredUyvyFrame) {
    for (std::uint32_t h : {4u, 5u, 6u, 7u, 8u}) {
        const std::uint32_t w = 10;
        const Bytes frame = Random(2 * w * h, h);
        Bytes mirrored(frame.size());
        for (std::uint32_t i = 0; i < h; ++i)
            std::memcpy(&mirrored[i * 2 * w], &frame[(h - 1 - i) * 2 * w], 2 * w);
        Bytes from_cyuv(PlanarBytes(FMT_YV12, w, h)), from_uyvy(from_cyuv.size());
        lumacore::SplitPacked(SimdTier::Plain, FMT_CYUV, FMT_YV12, from_cyuv.data(), frame.data(), w, h, w, 2 * w);
        lumacore::SplitPacked(SimdTier::Plain, FMT_UYVY, FMT_YV12, from_uyvy.data(), mirrored.data(), w, h, w, 2 * w);
        EXPECT_EQ(FirstDifference(from_cyuv, from_uyvy), -1) << "h " << h;
    }
}

}  // namespace
}  // namespace lumacore_test

// Planar to packed 4:2:2: every tier against the layout model, chroma row
// sharing, and the final pair of an odd width.
#include "convert/planar_merge.h"

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

TEST(MergePlanar, EveryTierMatchesTheModel) {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 70; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 704u, 720u, 1280u, 1920u, 3840u}) widths.push_back(w);
    std::uint32_t seed = 7;
    for (int planar : {FMT_I420, FMT_YV12, FMT_P422}) {
        for (int packed : {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU}) {
            for (std::uint32_t w : widths) {
                for (std::uint32_t h : {1u, 2u, 3u, 4u, 7u}) {
                    if (w > 70 && h > 3) continue;
                    // Tight lines (an odd width's final pair cut at the
                    // pitch), room for a whole final pair, padded lines.
                    const std::uint32_t pitches[][2] = {{2 * w, w}, {2 * w + 2, w}, {2 * w + 8, w + 5}};
                    for (const auto& p : pitches) {
                        const std::uint32_t dp = p[0], sp = p[1];
                        const Bytes src = Random(PlanarBytes(planar, sp, h), ++seed);
                        const Bytes before = Random(std::size_t(h) * dp, ++seed);
                        Bytes want = before;
                        MergeModel(want, src, planar, packed, w, h, dp, sp);
                        for (SimdTier tier : HostTiers()) {
                            Bytes dst = before;
                            EXPECT_EQ(lumacore::MergePlanar(tier, planar, packed, dst.data(), src.data(), w, h, dp, sp),
                                      h * dp);
                            ASSERT_EQ(FirstDifference(dst, want), -1) << planar << " > " << packed << " tier "
                                                                      << int(tier) << " w " << w << " h " << h
                                                                      << " dp " << dp << " sp " << sp;
                        }
                    }
                }
            }
        }
    }
}

TEST(MergePlanar, FourTwoZeroRowsServeTwoLinesEachPairItsOwnSample) {
    // I420 4 x 4: luma 0x10 + index, Cb rows {0xA0, 0xA1}, {0xB0, 0xB1}, Cr
    // rows {0xC0, 0xC1}, {0xD0, 0xD1}.
    Bytes src(24);
    for (int i = 0; i < 16; ++i) src[i] = std::uint8_t(0x10 + i);
    const std::uint8_t chroma[8] = {0xA0, 0xA1, 0xB0, 0xB1, 0xC0, 0xC1, 0xD0, 0xD1};
    std::memcpy(&src[16], chroma, 8);
    Bytes dst(32);
    lumacore::MergePlanar(SimdTier::Plain, FMT_I420, FMT_YUY2, dst.data(), src.data(), 4, 4, 8, 4);
    const Bytes want = {0x10, 0xA0, 0x11, 0xC0, 0x12, 0xA1, 0x13, 0xC1,  //
                        0x14, 0xA0, 0x15, 0xC0, 0x16, 0xA1, 0x17, 0xC1,  //
                        0x18, 0xB0, 0x19, 0xD0, 0x1A, 0xB1, 0x1B, 0xD1,  //
                        0x1C, 0xB0, 0x1D, 0xD0, 0x1E, 0xB1, 0x1F, 0xD1};
    EXPECT_EQ(dst, want);
}

TEST(MergePlanar, OddWidthRepeatsTheLastLumaAndStaysInItsLine) {
    // P422 width 3, one line: luma 1 2 3, Cb 0x40, Cr 0x50 (one pair's worth).
    const Bytes src = {1, 2, 3, 0x40, 0x50};
    Bytes tight(6, 0xEE), roomy(8, 0xEE);
    lumacore::MergePlanar(SimdTier::Plain, FMT_P422, FMT_UYVY, tight.data(), src.data(), 3, 1, 6, 3);
    lumacore::MergePlanar(SimdTier::Plain, FMT_P422, FMT_UYVY, roomy.data(), src.data(), 3, 1, 8, 3);
    // The final pair takes the chroma before it; in a 6-byte line it is cut
    // after its Cb and Y0.
    EXPECT_EQ(tight, (Bytes{0x40, 1, 0x50, 2, 0x40, 3}));
    EXPECT_EQ(roomy, (Bytes{0x40, 1, 0x50, 2, 0x40, 3, 0x50, 3}));
    // A line one pixel wide has no chroma at all: neutral.
    const Bytes one = {9};
    Bytes out(4, 0xEE);
    lumacore::MergePlanar(SimdTier::Plain, FMT_P422, FMT_YUY2, out.data(), one.data(), 1, 1, 4, 1);
    EXPECT_EQ(out, (Bytes{9, 0x80, 9, 0x80}));
}

}  // namespace
}  // namespace lumacore_test

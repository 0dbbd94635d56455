// Planar to packed 4:2:2 against the layout model, and the final pair of an
// odd width.
#include "convert/planar_merge.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;

TEST(MergePlanar, MatchesTheModel) {
    std::uint32_t seed = 7;
    for (int planar : {FMT_I420, FMT_YV12, FMT_P422}) {
        for (int packed : {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU}) {
            for (std::uint32_t w : EdgeWidths()) {
                for (std::uint32_t h : {1u, 2u, 3u, 4u, 7u}) {
                    if (w > 200 && h > 3) continue;
                    // Tight lines (an odd width's final pair cut at the
                    // pitch), room for a whole final pair, padded lines.
                    const std::uint32_t pitches[][2] = {{2 * w, w}, {2 * w + 2, w}, {2 * w + 8, w + 5}};
                    for (const auto& p : pitches) {
                        const std::uint32_t dp = p[0], sp = p[1];
                        const Bytes src = Random(PlanarBytes(planar, sp, h), ++seed);
                        const Bytes before = Random(std::size_t(h) * dp, ++seed);
                        Bytes want = before;
                        MergeModel(want, src, planar, packed, w, h, dp, sp);
                        for (SimdTier tier : PlainAndWidest(lumacore::HostSimdTier())) {
                            Bytes dst = before;
                            EXPECT_EQ(lumacore::MergePlanar(tier, planar, packed, dst.data(), src.data(), w, h, dp, sp),
                                      h * dp);
                            ASSERT_EQ(FirstDifference(dst, want), -1)
                                << planar << " > " << packed << " tier " << int(tier) << " w " << w << " h " << h
                                << " dp " << dp << " sp " << sp;
                        }
                    }
                }
            }
        }
    }
}

// The model's odd-width rule made concrete (the v210 packing shares it).
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

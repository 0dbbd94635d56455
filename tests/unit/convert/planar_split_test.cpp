// Packed 4:2:2 to planar against the layout model, and the lines the 4:2:0
// chroma rows come from.
#include "convert/planar_split.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;

TEST(SplitPacked, MatchesTheModel) {
    std::uint32_t seed = 1;
    for (int packed : {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU}) {
        for (int planar : {FMT_I420, FMT_YV12, FMT_P422}) {
            for (std::uint32_t w : EdgeWidths()) {
                for (std::uint32_t h : {1u, 2u, 3u, 4u, 7u}) {
                    if (w > 200 && h > 3) continue;
                    // Tight lines, then padded ones on both sides.
                    for (const std::uint32_t pad : {0u, 6u}) {
                        const std::uint32_t dp = w + pad, sp = 2 * w + pad;
                        const Bytes src = Random(std::size_t(h) * sp, ++seed);
                        const Bytes before = Random(PlanarBytes(planar, dp, h), ++seed);
                        Bytes want = before;
                        SplitModel(want, src, packed, planar, w, h, dp, sp);
                        const std::uint32_t count = planar == FMT_P422 ? 2 * h * dp : h * dp + 2 * ((h * dp) / 4);
                        for (SimdTier tier : PlainAndWidest(lumacore::HostSimdTier())) {
                            Bytes dst = before;
                            EXPECT_EQ(lumacore::SplitPacked(tier, packed, planar, dst.data(), src.data(), w, h, dp, sp),
                                      count);
                            ASSERT_EQ(FirstDifference(dst, want), -1)
                                << packed << " > " << planar << " tier " << int(tier) << " w " << w << " h " << h
                                << " pad " << pad;
                        }
                    }
                }
            }
        }
    }
}

// The model's row choice made concrete, on a UYVY frame whose chroma bytes
// hold their line number: rows from lines 0, 3, 4, 7 ...; an odd height's
// last row, when it has no odd line of its own, from line h - 1.
TEST(SplitPacked, FourTwoZeroRowsComeFromAlternateLinesOfEachPair) {
    const std::pair<std::uint32_t, std::vector<int>> cases[] = {
        {8, {0, 3, 4, 7}}, {7, {0, 3, 4, 6}}, {3, {0, 2}}, {5, {0, 3, 4}}, {1, {0}}};
    for (const auto& [h, lines] : cases) {
        constexpr std::uint32_t w = 4;
        Bytes src(std::size_t(2) * w * h);
        for (std::uint32_t i = 0; i < src.size(); ++i) src[i] = i % 2 ? 0x11 : std::uint8_t(i / 8 + (i % 4 ? 100 : 0));
        Bytes dst(PlanarBytes(FMT_I420, w, h), 0xEE);
        lumacore::SplitPacked(SimdTier::Plain, FMT_UYVY, FMT_I420, dst.data(), src.data(), w, h, w, 2 * w);
        const PlaneOffsets o = OffsetsOf(FMT_I420, w, h);
        ASSERT_EQ(o.rows, lines.size());
        for (std::uint32_t r = 0; r < o.rows; ++r) {
            EXPECT_EQ(dst[o.cb + 2 * r + 1], lines[r]) << "h " << h << " row " << r;
            EXPECT_EQ(dst[o.cr + 2 * r], 100 + lines[r]) << "h " << h << " row " << r;
        }
    }
}

}  // namespace
}  // namespace lumacore_test

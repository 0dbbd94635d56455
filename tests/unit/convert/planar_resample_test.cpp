// Planar to planar: every pair of layouts against the model (which repeats
// rows to 4:2:2, drops odd lines' rows to 4:2:0 and swaps YV12's planes),
// with equal and unequal pitches.
#include "convert/planar_resample.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

TEST(ResamplePlanes, EveryPairMatchesTheModel) {
    std::uint32_t seed = 11;
    for (int from : {FMT_YV12, FMT_I420, FMT_P422}) {
        for (int to : {FMT_YV12, FMT_I420, FMT_P422}) {
            for (std::uint32_t w : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 15u, 16u, 17u, 33u, 800u}) {
                for (std::uint32_t h : {1u, 2u, 3u, 4u, 7u}) {
                    const std::uint32_t pitches[][2] = {{w, w}, {w + 7, w}, {w, w + 3}, {w + 1, w + 1}, {w + 96, w}};
                    for (const auto& p : pitches) {
                        const std::uint32_t dp = p[0], sp = p[1];
                        const Bytes src = Random(PlanarBytes(from, sp, h), ++seed);
                        Bytes dst = Random(PlanarBytes(to, dp, h), ++seed);
                        Bytes want = dst;
                        ResampleModel(want, src, from, to, w, h, dp, sp);
                        const std::uint32_t n =
                            lumacore::ResamplePlanes(from, to, dst.data(), src.data(), w, h, dp, sp);
                        EXPECT_EQ(n, to == FMT_P422 ? h * dp + 2 * ((h * dp) / 2) : h * dp + (h * dp) / 2);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << from << " > " << to << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test

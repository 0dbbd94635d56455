// 8-bit to v210 against the layout model, and the pitches narrower than a
// line's groups.
#include "convert/v210_pack.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::V210Tier;

TEST(PackV210, MatchesTheModel) {
    std::uint32_t seed = 21;
    // -1: PackUYVYToV210.
    for (int from :
         std::initializer_list<int>{-1, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_I420, FMT_YV12, FMT_P422}) {
        const int layout = from < 0 ? FMT_UYVY : from;
        for (std::uint32_t w : EdgeWidths()) {
            const std::uint32_t groups = 16 * ((w + 5) / 6);
            for (std::uint32_t h : {1u, 2u, 3u, 5u}) {
                if (w > 200 && h > 2) continue;
                const std::uint32_t natural = IsPlanar(layout) ? w : 2 * w;
                // Tight and padded lines on both sides.
                const std::uint32_t pitches[][2] = {{groups, natural}, {(w + 47) / 48 * 128 + 16, natural + 4}};
                for (const auto& [dp, sp] : pitches) {
                    const Bytes src =
                        Random(IsPlanar(layout) ? PlanarBytes(layout, sp, h) : std::size_t(h) * sp, ++seed);
                    const Bytes before = Random(std::size_t(h) * dp, ++seed);
                    Bytes want = before;
                    PackModel(want, src, layout, w, h, dp, sp);
                    const std::uint32_t count = from < 0 ? h * dp : std::uint32_t(16ull * w * h / 6);
                    for (V210Tier tier : PlainAndWidest(lumacore::HostV210Tier())) {
                        Bytes dst = before;
                        EXPECT_EQ(from < 0 ? lumacore::PackUYVYToV210(tier, dst.data(), src.data(), w, h, dp, sp)
                                           : lumacore::PackV210(tier, from, dst.data(), src.data(), w, h, dp, sp),
                                  count);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << from << " tier " << int(tier) << " w " << w << " h " << h << " dp " << dp;
                    }
                }
            }
        }
    }
}

// Lines never overlap: a pitch narrower than the groups is widened (to them,
// or for PackUYVYToV210 to the next 64 bytes), and the count follows.
TEST(PackV210, NarrowPitchIsWidenedToTheGroups) {
    const std::uint32_t w = 48, h = 2;  // 8 groups: 128 bytes a line
    const Bytes uyvy = Random(2 * w * h, 6);
    Bytes want(h * 128, 0xEE), dst(h * 128, 0xEE);
    PackModel(want, uyvy, FMT_UYVY, w, h, 128, 2 * w);
    EXPECT_EQ(lumacore::PackUYVYToV210(V210Tier::Plain, dst.data(), uyvy.data(), w, h, 100, 2 * w), 256u);
    EXPECT_EQ(dst, want);
    dst.assign(dst.size(), 0xEE);
    EXPECT_EQ(lumacore::PackV210(V210Tier::Plain, FMT_UYVY, dst.data(), uyvy.data(), w, h, 100, 2 * w), 256u);
    EXPECT_EQ(dst, want);
    // 50 pixels: 144 bytes of groups, 133 of samples, widened to 192.
    Bytes wide(2 * 192);
    EXPECT_EQ(lumacore::PackUYVYToV210(V210Tier::Plain, wide.data(), Random(200, 7).data(), 50, 2, 0, 100), 384u);
}

}  // namespace
}  // namespace lumacore_test

// v210 to 8-bit against the layout model (source buffers end exactly after
// their h lines, so a read past them trips the address sanitizer), and the
// source pitch rules of the UYVY entry point.
#include "convert/v210_unpack.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::V210Tier;

TEST(UnpackV210, MatchesTheModel) {
    std::uint32_t seed = 31;
    // -1: UnpackV210ToUYVY.
    for (int to :
         std::initializer_list<int>{-1, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_I420, FMT_YV12, FMT_P422}) {
        const int layout = to < 0 ? FMT_UYVY : to;
        for (std::uint32_t w : EdgeWidths()) {
            const std::uint32_t tight = (16 * w) / 6, padded = (w + 47) / 48 * 128;
            for (std::uint32_t h : {1u, 2u, 3u, 5u}) {
                if (w > 200 && h > 2) continue;
                const std::uint32_t natural = IsPlanar(layout) ? w : 2 * w;
                // Source lines tight (their last group reaching into the next
                // line, and past the end on the last) or padded; destination
                // lines tight (cutting an odd width's final pair) or with room.
                const std::uint32_t pitches[][2] = {{natural, tight}, {natural + 6, padded}};
                for (const auto& [dp, sp] : pitches) {
                    const Bytes src = Random(std::size_t(h) * sp, ++seed);
                    const Bytes before =
                        Random(IsPlanar(layout) ? PlanarBytes(layout, dp, h) : std::size_t(h) * dp, ++seed);
                    Bytes want = before;
                    UnpackModel(want, src, layout, w, h, dp, sp);
                    const std::uint32_t count = to < 0                             ? h * dp
                                                : to == FMT_I420 || to == FMT_YV12 ? w * h + w * h / 2
                                                                                   : 2 * w * h;
                    for (V210Tier tier : PlainAndWidest(lumacore::HostV210Tier())) {
                        Bytes dst = before;
                        EXPECT_EQ(to < 0 ? lumacore::UnpackV210ToUYVY(tier, dst.data(), src.data(), w, h, dp, sp)
                                         : lumacore::UnpackV210(tier, to, dst.data(), src.data(), w, h, dp, sp),
                                  count);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << to << " tier " << int(tier) << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                    }
                }
            }
        }
    }
}

TEST(UnpackV210ToUYVY, SourcePitchRules) {
    // Width 1280 with a stated pitch below 3413: lines 3456 bytes apart.
    const std::uint32_t w = 1280, h = 2;
    Bytes src = Random(3456 * h, 8);
    Bytes a(2 * w * h), b(2 * w * h);
    lumacore::UnpackV210ToUYVY(V210Tier::Plain, a.data(), src.data(), w, h, 2 * w, 3200);
    lumacore::UnpackV210ToUYVY(V210Tier::Plain, b.data(), src.data(), w, h, 2 * w, 3456);
    EXPECT_EQ(a, b);

}

}  // namespace
}  // namespace lumacore_test

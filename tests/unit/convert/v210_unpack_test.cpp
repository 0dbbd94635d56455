// v210 to 8-bit: every tier against the layout model (source buffers end
// exactly after their h lines, so a read past them trips the address
// sanitizer), the sample values, the 4:2:0 chroma line, and the source
// pitch rules of the UYVY fast path.
#include "convert/v210_unpack.h"

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

void PutLe(Bytes& b, std::size_t at, std::uint32_t word) {
    for (int j = 0; j < 4; ++j) b[at + j] = std::uint8_t(word >> (8 * j));
}

TEST(UnpackV210, EveryTierMatchesTheModel) {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 64; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 640u, 704u, 720u, 800u, 1280u, 1920u, 2048u, 3840u}) widths.push_back(w);
    std::uint32_t seed = 31;
    // -1: UnpackV210ToUYVY.
    for (int to : std::initializer_list<int>{-1, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_I420, FMT_YV12, FMT_P422}) {
        const int layout = to < 0 ? FMT_UYVY : to;
        for (std::uint32_t w : widths) {
            const std::uint32_t tight = (16 * w) / 6, padded = (w + 47) / 48 * 128;
            for (std::uint32_t h : {1u, 2u, 3u, 5u}) {
                if (w > 64 && h > 2) continue;
                const std::uint32_t natural = IsPlanar(layout) ? w : 2 * w;
                // Source lines tight (their last group reaching into the
                // next line, and past the end on the last) or padded;
                // destination lines tight (cutting an odd width's final
                // pair) or with room.
                const std::uint32_t pitches[][2] = {{natural, tight}, {natural + 6, padded}};
                for (const auto& p : pitches) {
                    const std::uint32_t dp = p[0], sp = p[1];
                    if (to < 0 && w == 1280 && sp < 3413) continue;  // that width has its own rule
                    const Bytes src = Random(std::size_t(h) * sp, ++seed);
                    const std::size_t dst_bytes = IsPlanar(layout) ? PlanarBytes(layout, dp, h) : std::size_t(h) * dp;
                    const Bytes before = Random(dst_bytes, ++seed);
                    Bytes want = before;
                    UnpackModel(want, src, layout, w, h, dp, sp);
                    for (V210Tier tier : HostTiers()) {
                        Bytes dst = before;
                        if (to < 0)
                            lumacore::UnpackV210ToUYVY(tier, dst.data(), src.data(), w, h, dp, sp);
                        else
                            lumacore::UnpackV210(tier, to, dst.data(), src.data(), w, h, dp, sp);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << to << " tier " << int(tier) << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                    }
                }
            }
        }
    }
}

TEST(UnpackV210, SamplesKeepTheirTopEightBits) {
    Bytes group(16);
    PutLe(group, 0, 1023 | 3 << 10 | 0x3FC << 20);  // Cb0 1023, Y0 3, Cr0 0x3FC
    PutLe(group, 4, 0x3FCFF3FC);
    PutLe(group, 8, 0xC0000000u | 4 << 10);  // bits 30 and 31 count for nothing
    PutLe(group, 12, 0x3FCFF3FC);
    for (V210Tier tier : HostTiers()) {
        Bytes uyvy(12);
        EXPECT_EQ(lumacore::UnpackV210ToUYVY(tier, uyvy.data(), group.data(), 6, 1, 12, 16), 12u);
        EXPECT_EQ(uyvy, (Bytes{255, 0, 255, 255, 255, 255, 0, 1, 0, 255, 255, 255})) << int(tier);
    }
}

TEST(UnpackV210, FourTwoZeroRowsTakeTheOddLine) {
    // 6 x 2 to I420: the chroma row comes from line 1; 6 x 3: row 1 from line 2.
    for (std::uint32_t h : {2u, 3u}) {
        Bytes src(16 * h);
        for (std::uint32_t i = 0; i < h; ++i) PutLe(src, 16 * i, (40 + i) * 4 | (80 + i) * 4 << 20);
        Bytes dst(PlanarBytes(FMT_I420, 6, h), 0xEE);
        EXPECT_EQ(lumacore::UnpackV210(V210Tier::Plain, FMT_I420, dst.data(), src.data(), 6, h, 6, 16),
                  6 * h + (6 * h) / 2);
        const PlaneOffsets o = OffsetsOf(FMT_I420, 6, h);
        EXPECT_EQ(dst[o.cb], 41);
        EXPECT_EQ(dst[o.cr], 81);
        if (h == 3) {
            EXPECT_EQ(dst[o.cb + 3], 42);
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

    // Pitch 0 at width 8: the groups run on; the second group's last two
    // pairs make the start of the second line.
    Bytes stream(48);
    for (std::uint32_t k = 0; k < 12; ++k) PutLe(stream, 4 * k, (k * 3 + 1) * 4 | (k * 3 + 2) * 4 << 10 | (k * 3 + 3) * 4 << 20);
    Bytes out(32, 0xEE);
    EXPECT_EQ(lumacore::UnpackV210ToUYVY(V210Tier::Plain, out.data(), stream.data(), 8, 2, 16, 0), 32u);
    Bytes want(32);
    for (int i = 0; i < 32; ++i) want[i] = std::uint8_t(i + 1);
    EXPECT_EQ(out, want);
}

}  // namespace
}  // namespace lumacore_test

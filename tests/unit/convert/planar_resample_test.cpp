// Planar to planar: every pair of layouts against the model, row repetition
// and dropping, and the pitch rules.
#include "convert/planar_resample.h"

#include <gtest/gtest.h>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

constexpr int kPlanar[] = {FMT_YV12, FMT_I420, FMT_P422};

TEST(ResamplePlanes, EveryPairMatchesTheModel) {
    std::uint32_t seed = 11;
    for (int from : kPlanar) {
        for (int to : kPlanar) {
            for (std::uint32_t w = 1; w <= 40; ++w) {
                for (std::uint32_t h : {1u, 2u, 3u, 4u, 7u}) {
                    const std::uint32_t pitches[][2] = {{w, w}, {w + 7, w}, {w, w + 3}, {w + 1, w + 1}};
                    for (const auto& p : pitches) {
                        const std::uint32_t dp = p[0], sp = p[1];
                        const Bytes src = Random(PlanarBytes(from, sp, h), ++seed);
                        Bytes dst = Random(PlanarBytes(to, dp, h), ++seed);
                        Bytes want = dst;
                        ResampleModel(want, src, from, to, w, h, dp, sp);
                        const std::uint32_t n = lumacore::ResamplePlanes(from, to, dst.data(), src.data(), w, h, dp, sp);
                        EXPECT_EQ(n, to == FMT_P422 ? h * dp + 2 * ((h * dp) / 2) : h * dp + (h * dp) / 2);
                        ASSERT_EQ(FirstDifference(dst, want), -1)
                            << from << " > " << to << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                    }
                }
            }
        }
    }
}

TEST(ResamplePlanes, Yv12AndI420ExchangeTheirChromaPlanes) {
    const std::uint32_t w = 16, h = 6, size = w * h * 3 / 2;
    const Bytes yv12 = Random(size, 1);
    Bytes i420(size), back(size);
    lumacore::CopyPlanes420(FMT_YV12, FMT_I420, i420.data(), yv12.data(), w, h, w, w);
    const std::size_t luma = w * h, chroma = luma / 4;
    EXPECT_TRUE(std::equal(yv12.begin(), yv12.begin() + luma, i420.begin()));
    EXPECT_TRUE(std::equal(yv12.begin() + luma, yv12.begin() + luma + chroma, i420.begin() + luma + chroma));
    EXPECT_TRUE(std::equal(yv12.begin() + luma + chroma, yv12.end(), i420.begin() + luma));
    lumacore::CopyPlanes420(FMT_I420, FMT_YV12, back.data(), i420.data(), w, h, w, w);
    EXPECT_EQ(back, yv12);
}

TEST(ResamplePlanes, RowsAreRepeatedTo422AndDroppedTo420) {
    // 4 x 4 frames; chroma rows numbered.
    Bytes i420(24, 0), p422(32, 0);
    for (int r = 0; r < 2; ++r) i420[16 + 2 * r] = i420[16 + 2 * r + 1] = std::uint8_t(0xA0 + r);
    Bytes out(32, 0xEE);
    lumacore::ResamplePlanes(FMT_I420, FMT_P422, out.data(), i420.data(), 4, 4, 4, 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(out[16 + 2 * r], 0xA0 + r / 2) << r;

    for (int r = 0; r < 4; ++r) p422[16 + 2 * r] = p422[16 + 2 * r + 1] = std::uint8_t(0xB0 + r);
    Bytes back(24, 0xEE);
    lumacore::ResamplePlanes(FMT_P422, FMT_I420, back.data(), p422.data(), 4, 4, 4, 4);
    EXPECT_EQ(back[16], 0xB0);
    EXPECT_EQ(back[18], 0xB2);
}

TEST(ResamplePlanes, UnequalPitchesCopyTheShorterLine) {
    // DP 896, SP 800 (800 wide with 128-byte lines): luma lines 800 bytes,
    // chroma rows 400, the padding untouched.
    const std::uint32_t w = 800, h = 4;
    const Bytes src = Random(PlanarBytes(FMT_I420, 800, h), 3);
    Bytes dst(PlanarBytes(FMT_I420, 896, h), 0xEE);
    lumacore::CopyPlanes420(FMT_I420, FMT_I420, dst.data(), src.data(), w, h, 896, 800);
    EXPECT_EQ(dst[799], src[799]);
    EXPECT_EQ(dst[800], 0xEE);
    const PlaneOffsets o = OffsetsOf(FMT_I420, 896, h), in = OffsetsOf(FMT_I420, 800, h);
    EXPECT_EQ(dst[o.cr + 448 + 399], src[in.cr + 400 + 399]);
    EXPECT_EQ(dst[o.cr + 448 + 400], 0xEE);

    // Height 1 has one chroma row, copied too.
    Bytes one(PlanarBytes(FMT_I420, 12, 1), 0xEE);
    const Bytes line = Random(PlanarBytes(FMT_I420, 10, 1), 4);
    lumacore::CopyPlanes420(FMT_I420, FMT_I420, one.data(), line.data(), 10, 1, 12, 10);
    EXPECT_EQ(one[12], line[10]);
    EXPECT_EQ(one[18], line[15]);
}

}  // namespace
}  // namespace lumacore_test

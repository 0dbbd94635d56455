// Same-layout frame copies, straight and flipped, against the line rule
// written out plainly: pitches equal and unequal either way, odd heights,
// destination padding left alone.
#include "convert/frame_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

// Runs CopyFrame or FlipFrame on a UYVY frame of w x h and checks every byte
// of a destination with canaries after it, and the count returned.
void CheckFrame(bool flipped, std::uint32_t w, std::uint32_t h, std::uint32_t dp, std::uint32_t sp) {
    const Bytes src = Random(std::size_t(h) * sp, w * 7 + h + sp);
    Bytes dst = Random(std::size_t(h) * dp + 64, w * 13 + h + dp);
    Bytes want = dst;
    for (std::uint32_t y = 0; y < h; ++y)
        std::copy_n(&src[std::size_t(flipped ? h - 1 - y : y) * sp], std::min(dp, sp), &want[std::size_t(y) * dp]);
    const auto routine = flipped ? lumacore::FlipFrame : lumacore::CopyFrame;
    EXPECT_EQ(routine(dst.data(), src.data(), w, h, dp, sp), h * dp);
    ASSERT_TRUE(dst == want) << "byte " << FirstDifference(dst, want) << "," << (flipped ? " flip" : " copy") << " w "
                             << w << " h " << h << " dp " << dp << " sp " << sp;
}

TEST(FrameCopy, CopyAndFlipFollowTheLineRule) {
    for (const bool flipped : {false, true}) {
        for (std::uint32_t w : EdgeWidths()) {
            // Tight, padded alike, padded on one side only, padded unequally.
            const std::uint32_t tight = (w + 1) / 2 * 4;
            const std::uint32_t pitches[][2] = {{tight, tight},
                                                {tight + 12, tight + 12},
                                                {tight, tight + 64},
                                                {tight + 64, tight},
                                                {tight + 4, tight + 8}};
            for (const auto& p : pitches)
                for (std::uint32_t h : {0u, 1u, 2u, 3u, 7u})
                    ASSERT_NO_FATAL_FAILURE(CheckFrame(flipped, w, h, p[0], p[1]));
        }
    }
}

// Frames of 10 MiB and more are written past the cache, line by line, at line
// lengths that start and end inside cache lines.
TEST(FrameCopy, FramesLargeEnoughToStreamFollowTheLineRule) {
    for (const bool flipped : {false, true}) CheckFrame(flipped, 3839, 1400, 7690, 7684);
}

}  // namespace
}  // namespace lumacore_test

// Same-layout frame copies, straight and flipped, against the line rule
// written out plainly: pitches equal and unequal either way, odd heights,
// destination padding left alone.
#include "convert/frame_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/unit/test_bytes.h"
namespace lumacore_test {
namespace {

using FrameRoutine = std::uint32_t (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t,
                                       std::uint32_t, std::uint32_t);

// Runs `routine` on a UYVY frame of w x h with the given pitches and returns
// the first wrong byte of the destination buffer (which has canaries after
// it), or -1; `returned` receives the routine's result.
long RunAndCheck(FrameRoutine routine, bool flipped, std::uint32_t w, std::uint32_t h, std::uint32_t dp,
                 std::uint32_t sp, std::uint32_t* returned) {
    constexpr std::size_t kGuard = 64;
    const Bytes src = Random(std::size_t(h) * sp, w * 7 + h + sp);
    Bytes dst = Random(std::size_t(h) * dp + kGuard, w * 13 + h + dp);
    Bytes want = dst;
    const std::size_t line = std::min(dp, sp);
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint32_t from = flipped ? h - 1 - y : y;
        std::copy_n(src.begin() + long(std::size_t(from) * sp), line, want.begin() + long(std::size_t(y) * dp));
    }
    *returned = routine(dst.data(), src.data(), w, h, dp, sp);
    const auto diff = std::mismatch(want.begin(), want.end(), dst.begin());
    return diff.first == want.end() ? -1 : long(diff.first - want.begin());
}

std::vector<std::uint32_t> Widths() {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 64; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 640u, 704u, 720u, 800u, 1280u, 1920u, 2048u, 3840u}) widths.push_back(w);
    return widths;
}

// Pitches for a UYVY line of w pixels: tight, padded on either side only,
// padded on both by different amounts.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Pitches(std::uint32_t w) {
    const std::uint32_t tight = (w + 1) / 2 * 4;
    return {{tight, tight}, {tight + 12, tight + 12}, {tight, tight + 64}, {tight + 64, tight}, {tight + 4, tight + 8}};
}

TEST(FrameCopy, CopyAndFlipFollowTheLineRuleAtEveryWidthAndPitch) {
    for (const bool flipped : {false, true}) {
        const FrameRoutine routine = flipped ? lumacore::FlipFrame : lumacore::CopyFrame;
        for (std::uint32_t w : Widths()) {
            for (const auto& [dp, sp] : Pitches(w)) {
                for (std::uint32_t h : {1u, 2u, 3u, 7u}) {
                    std::uint32_t returned = 0;
                    ASSERT_EQ(RunAndCheck(routine, flipped, w, h, dp, sp, &returned), -1)
                        << (flipped ? "flip" : "copy") << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                    ASSERT_EQ(returned, h * dp);
                }
            }
        }
    }
}

TEST(FrameCopy, UnequalPitchesCopyTheShorterLineOnly) {
    for (const bool flipped : {false, true}) {
        const FrameRoutine routine = flipped ? lumacore::FlipFrame : lumacore::CopyFrame;
        std::uint32_t returned = 0;
        // A source line longer than the destination's: 1600 bytes copied.
        EXPECT_EQ(RunAndCheck(routine, flipped, 800, 31, 1600, 1664, &returned), -1);
        EXPECT_EQ(returned, 31u * 1600);
        // A shorter one: 1600 bytes copied, the last 64 of each line untouched.
        EXPECT_EQ(RunAndCheck(routine, flipped, 800, 31, 1664, 1600, &returned), -1);
        EXPECT_EQ(returned, 31u * 1664);
    }
}

// Frames of 10 MiB and more are written past the cache, line by line: the
// same bytes, at line lengths that start and end inside cache lines.
TEST(FrameCopy, FramesLargeEnoughToStreamFollowTheLineRule) {
    for (const bool flipped : {false, true}) {
        const FrameRoutine routine = flipped ? lumacore::FlipFrame : lumacore::CopyFrame;
        std::uint32_t returned = 0;
        EXPECT_EQ(RunAndCheck(routine, flipped, 3839, 1400, 7690, 7684, &returned), -1);
        EXPECT_EQ(RunAndCheck(routine, flipped, 2000, 2700, 4004, 4100, &returned), -1);
        EXPECT_EQ(returned, 2700u * 4004);
    }
}

TEST(FrameCopy, EmptyFrameWritesNothing) {
    for (const bool flipped : {false, true}) {
        const FrameRoutine routine = flipped ? lumacore::FlipFrame : lumacore::CopyFrame;
        std::uint32_t returned = 1;
        EXPECT_EQ(RunAndCheck(routine, flipped, 720, 0, 1440, 1440, &returned), -1);
        EXPECT_EQ(returned, 0u);
        EXPECT_EQ(RunAndCheck(routine, flipped, 720, 0, 1440, 1500, &returned), -1);
    }
}

TEST(FrameCopy, FlippingTwiceGivesBackTheFrame) {
    constexpr std::uint32_t w = 721, h = 487, pitch = 1444;
    const Bytes original = Random(std::size_t(h) * pitch, 9);
    Bytes once(original.size()), twice(original.size());
    lumacore::FlipFrame(once.data(), original.data(), w, h, pitch, pitch);
    lumacore::FlipFrame(twice.data(), once.data(), w, h, pitch, pitch);
    EXPECT_NE(once, original);
    EXPECT_EQ(twice, original);
}

}  // namespace
}  // namespace lumacore_test

// Byte reorders between the packed 4:2:2 layouts: every vector tier against
// the byte-order definition, and the frame routines against a line-by-line
// reference, padding and canaries included.
#include "convert/packed_reorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "convert/simd/packed_reorder_kernels.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {
namespace {

using lumacore::Reorder;
using lumacore::SimdTier;

constexpr Reorder kReorders[] = {Reorder::Swap16, Reorder::SwapChroma, Reorder::RotateFront, Reorder::RotateBack};

// Destination byte k of a pair is source byte kOrder[reorder][k].
constexpr int kOrder[4][4] = {{1, 0, 3, 2}, {0, 3, 2, 1}, {1, 2, 3, 0}, {3, 0, 1, 2}};

const char* Name(Reorder r) {
    static const char* const names[] = {"Swap16", "SwapChroma", "RotateFront", "RotateBack"};
    return names[int(r)];
}

std::vector<SimdTier> HostTiers() {
    std::vector<SimdTier> tiers;
    for (int t = 0; t <= int(lumacore::HostSimdTier()); ++t) tiers.push_back(SimdTier(t));
    return tiers;
}

// Runs `reorder` on `pairs` random pairs at the given start offsets and checks
// every destination byte, and the guard bytes on both sides.
template <typename Run>
void CheckPairs(Run run, Reorder r, std::uint32_t pairs, std::size_t src_offset, std::size_t dst_offset) {
    constexpr std::size_t kGuard = 40;
    const std::size_t n = std::size_t(pairs) * 4;
    // The source ends exactly at its last pair, so a read past it trips the
    // address sanitizer.
    const Bytes src = Random(src_offset + n, pairs * 64 + std::uint32_t(src_offset * 8 + dst_offset));
    Bytes dst = Random(kGuard + dst_offset + n + kGuard, pairs + 1000);
    Bytes want = dst;
    const std::uint8_t* const in = src.data() + src_offset;
    for (std::size_t i = 0; i < n; ++i) want[kGuard + dst_offset + i] = in[i / 4 * 4 + kOrder[int(r)][i % 4]];

    run(r, dst.data() + kGuard + dst_offset, in, pairs);
    ASSERT_EQ(FirstDifference(dst, want), -1) << Name(r) << " pairs " << pairs << " src offset " << src_offset
                                              << " dst offset " << dst_offset;
}

TEST(PackedReorderPairs, EveryTierMatchesTheByteOrderAtEveryCountAndAlignment) {
    for (SimdTier tier : HostTiers()) {
        SCOPED_TRACE(int(tier));
        const auto run = [tier](Reorder r, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
            lumacore::ReorderPairs(r, tier, dst, src, pairs);
        };
        for (Reorder r : kReorders)
            for (std::uint32_t pairs = 0; pairs <= 200; ++pairs)
                for (std::size_t offset = 0; offset < 8; ++offset)
                    CheckPairs(run, r, pairs, offset, (offset * 5 + 3) % 8);
    }
}

// Large outputs take cache-bypassing stores, which need an aligned
// destination: the line kernels of every tier with streaming asked for, at
// every destination alignment, writing three lines bottom line first into a
// destination with 12 bytes of padding between lines.
TEST(PackedReorderPairs, StreamingLineKernelsMatchTheByteOrderAtEveryAlignment) {
    using Kernel = void (*)(Reorder, std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t,
                            std::uint32_t, std::uint32_t, bool);
    const Kernel kernels[] = {lumacore::ReorderLinesPlain, lumacore::ReorderLinesSse2, lumacore::ReorderLinesAvx2};
    constexpr std::uint32_t kLines = 3;
    for (SimdTier tier : HostTiers()) {
        for (Reorder r : kReorders) {
            for (std::uint32_t pairs = 60; pairs <= 200; pairs += 9) {
                for (std::size_t offset = 0; offset < 64; ++offset) {
                    const std::ptrdiff_t src_step = pairs * 4, dst_step = pairs * 4 + 12;
                    const Bytes src = Random(kLines * src_step, pairs * 32 + std::uint32_t(offset));
                    Bytes dst = Random(offset + kLines * dst_step + 16, pairs);
                    Bytes want = dst;
                    for (std::size_t k = 0; k < kLines; ++k)
                        for (std::size_t b = 0; b < pairs * 4; ++b)
                            want[offset + (kLines - 1 - k) * dst_step + b] =
                                src[k * src_step + b / 4 * 4 + kOrder[int(r)][b % 4]];

                    kernels[int(tier)](r, dst.data() + offset + (kLines - 1) * dst_step, -dst_step, src.data(),
                                       src_step, pairs, kLines, true);
                    ASSERT_EQ(FirstDifference(dst, want), -1) << Name(r) << " tier " << int(tier) << " pairs "
                                                              << pairs << " offset " << offset;
                }
            }
        }
    }
}

// The definition of every frame routine, written plainly.
struct FrameCase {
    lumacore::ConvertRoutine routine;
    Reorder reorder;
    bool flip;
    const char* name;
};
constexpr FrameCase kFrameCases[] = {
    {lumacore::Swap16Frame, Reorder::Swap16, false, "Swap16Frame"},
    {lumacore::SwapChromaFrame, Reorder::SwapChroma, false, "SwapChromaFrame"},
    {lumacore::RotateFrontFrame, Reorder::RotateFront, false, "RotateFrontFrame"},
    {lumacore::RotateBackFrame, Reorder::RotateBack, false, "RotateBackFrame"},
    {lumacore::Swap16FlipFrame, Reorder::Swap16, true, "Swap16FlipFrame"},
    {lumacore::RotateFrontFlipFrame, Reorder::RotateFront, true, "RotateFrontFlipFrame"},
    {lumacore::RotateBackFlipFrame, Reorder::RotateBack, true, "RotateBackFlipFrame"},
};

void ReferenceFrame(const FrameCase& c, Bytes& dst_bytes, const Bytes& src_bytes, std::uint32_t w, std::uint32_t h,
                    std::uint32_t dp, std::uint32_t sp) {
    std::uint8_t* const dst = dst_bytes.data();
    const std::uint8_t* const src = src_bytes.data();
    if (c.reorder == Reorder::Swap16 && dp == sp) {
        // One run of 16-bit units over the whole frame, padding included.
        for (std::size_t u = 0; u < std::size_t(h) * dp / 2; ++u) {
            dst[2 * u] = src[2 * u + 1];
            dst[2 * u + 1] = src[2 * u];
        }
    } else {
        const int* const order = kOrder[int(c.reorder)];
        for (std::size_t i = 0; i < h; ++i)
            for (std::size_t b = 0; b < w / 2 * 4; ++b) dst[i * dp + b] = src[i * sp + b / 4 * 4 + order[b % 4]];
    }
    if (c.flip) {
        for (std::size_t i = 0; i < h / 2; ++i)
            std::swap_ranges(dst + i * dp, dst + (i + 1) * dp, dst + (h - 1 - i) * dp);
    }
}

// Runs every frame routine on random frames and compares the whole
// destination, untouched padding and the canary bytes past it included.
void CheckFramesAgainstReference() {
    std::vector<std::uint32_t> widths;
    for (std::uint32_t w = 1; w <= 64; ++w) widths.push_back(w);
    for (std::uint32_t w : {352u, 640u, 704u, 720u, 800u, 1280u, 1920u, 2048u, 3840u}) widths.push_back(w);
    constexpr std::size_t kCanary = 64;

    std::uint32_t seed = 1;
    for (const FrameCase& c : kFrameCases) {
        for (std::uint32_t w : widths) {
            const std::uint32_t tight = 2 * w;
            // Pitch pairs (destination, source): equal and tight, equal with
            // padding (even, 2 mod 4 and odd), destination wider, source wider.
            const std::uint32_t pitches[][2] = {{tight, tight},         {tight + 4, tight + 4},
                                                {tight + 2, tight + 2}, {tight + 3, tight + 3},
                                                {tight + 6, tight},     {tight, tight + 10},
                                                {tight + 1, tight + 7}};
            for (const auto& p : pitches) {
                for (std::uint32_t h : {0u, 1u, 2u, 5u}) {
                    const std::uint32_t dp = p[0], sp = p[1];
                    const Bytes src = Random(std::size_t(h) * sp, ++seed);
                    Bytes dst = Random(std::size_t(h) * dp + kCanary, ++seed);
                    Bytes want = dst;
                    ReferenceFrame(c, want, src, w, h, dp, sp);

                    EXPECT_EQ(c.routine(dst.data(), src.data(), w, h, dp, sp), h * dp);
                    ASSERT_EQ(FirstDifference(dst, want), -1)
                        << c.name << " w " << w << " h " << h << " dp " << dp << " sp " << sp;
                }
            }
        }
    }
}

TEST(PackedReorderFrames, EveryRoutineMatchesItsDefinition) { CheckFramesAgainstReference(); }

// Frames of 8 MiB and more are written with streaming stores.
TEST(PackedReorderFrames, FramesLargeEnoughToStreamMatchTheirDefinition) {
    struct Large {
        const FrameCase& c;
        std::uint32_t dp, sp;
    };
    const Large cases[] = {{kFrameCases[3], 7696, 7680}, {kFrameCases[4], 7680, 7680}, {kFrameCases[5], 7680, 7700}};
    constexpr std::uint32_t w = 3840, h = 1093;
    for (const Large& l : cases) {
        const Bytes src = Random(std::size_t(h) * l.sp, l.dp);
        Bytes dst = Random(std::size_t(h) * l.dp + 64, l.sp);
        Bytes want = dst;
        ReferenceFrame(l.c, want, src, w, h, l.dp, l.sp);
        EXPECT_EQ(l.c.routine(dst.data(), src.data(), w, h, l.dp, l.sp), h * l.dp);
        EXPECT_EQ(FirstDifference(dst, want), -1) << l.c.name << " dp " << l.dp << " sp " << l.sp;
    }
}

// The same routines on a processor without a vector unit take the plain code.
TEST(PackedReorderFrames, EveryRoutineMatchesItsDefinitionWithoutVectorUnit) {
    struct NoCpuid {
        NoCpuid() {
            lumacore::SetCpuidReaderForTesting([](std::uint32_t, CpuidRegisters*) { return false; });
            lumacore::ResetProcessorFeaturesForTesting();
        }
        ~NoCpuid() {
            lumacore::SetCpuidReaderForTesting(nullptr);
            lumacore::ResetProcessorFeaturesForTesting();
        }
    } no_cpuid;
    ASSERT_EQ(lumacore::ActiveSimdTier(), SimdTier::Plain);
    CheckFramesAgainstReference();
}

TEST(PackedReorderFrames, OddWidthLeavesTheLastPixelExceptInTheEqualPitchSwap) {
    // YUY2 width 5 to UYVY, DP 12, SP 10: two pairs a line, the last four
    // destination bytes of each line untouched.
    const Bytes yuy2 = {0x10, 0x80, 0x11, 0x81, 0x12, 0x82, 0x13, 0x83, 0x14, 0x84,
                        0x20, 0x90, 0x21, 0x91, 0x22, 0x92, 0x23, 0x93, 0x24, 0x94};
    Bytes uyvy(2 * 12, 0xEE);
    EXPECT_EQ(lumacore::Swap16Frame(uyvy.data(), yuy2.data(), 5, 2, 12, 10), 24u);
    const Bytes want = {0x80, 0x10, 0x81, 0x11, 0x82, 0x12, 0x83, 0x13, 0xEE, 0xEE, 0xEE, 0xEE,
                        0x90, 0x20, 0x91, 0x21, 0x92, 0x22, 0x93, 0x23, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(uyvy, want);

    // With equal pitches the swap runs over the whole frame, so the last
    // pixel of each line is swapped too.
    Bytes run(20, 0xEE);
    lumacore::Swap16Frame(run.data(), yuy2.data(), 5, 2, 10, 10);
    const Bytes want_run = {0x80, 0x10, 0x81, 0x11, 0x82, 0x12, 0x83, 0x13, 0x84, 0x14,
                            0x90, 0x20, 0x91, 0x21, 0x92, 0x22, 0x93, 0x23, 0x94, 0x24};
    EXPECT_EQ(run, want_run);

    // The other reorders work in pairs even with equal pitches.
    Bytes yvyu(20, 0xEE);
    lumacore::SwapChromaFrame(yvyu.data(), yuy2.data(), 5, 2, 10, 10);
    const Bytes want_yvyu = {0x10, 0x81, 0x11, 0x80, 0x12, 0x83, 0x13, 0x82, 0xEE, 0xEE,
                             0x20, 0x91, 0x21, 0x90, 0x22, 0x93, 0x23, 0x92, 0xEE, 0xEE};
    EXPECT_EQ(yvyu, want_yvyu);
}

TEST(PackedReorderFrames, OppositeReordersGiveBackTheFrame) {
    struct RoundTrip {
        lumacore::ConvertRoutine there, back;
        const char* name;
    };
    const RoundTrip trips[] = {
        {lumacore::RotateFrontFrame, lumacore::RotateBackFrame, "UYVY>YVYU>UYVY"},
        {lumacore::RotateBackFrame, lumacore::RotateFrontFrame, "YVYU>UYVY>YVYU"},
        {lumacore::Swap16Frame, lumacore::Swap16Frame, "YUY2>UYVY>YUY2"},
        {lumacore::SwapChromaFrame, lumacore::SwapChromaFrame, "YUY2>YVYU>YUY2"},
        {lumacore::Swap16FlipFrame, lumacore::Swap16FlipFrame, "YUY2>cyuv>YUY2"},
        {lumacore::RotateFrontFlipFrame, lumacore::RotateBackFlipFrame, "cyuv>YVYU>cyuv"},
    };
    for (const RoundTrip& t : trips) {
        for (std::uint32_t w : {2u, 6u, 720u, 1922u}) {
            for (std::uint32_t h : {1u, 3u, 7u}) {
                const std::uint32_t pitch = 2 * w;
                const Bytes first = Random(std::size_t(h) * pitch, w * h);
                Bytes middle(first.size()), last(first.size());
                t.there(middle.data(), first.data(), w, h, pitch, pitch);
                t.back(last.data(), middle.data(), w, h, pitch, pitch);
                EXPECT_NE(middle, first) << t.name;
                EXPECT_EQ(FirstDifference(last, first), -1) << t.name << " w " << w << " h " << h;
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test

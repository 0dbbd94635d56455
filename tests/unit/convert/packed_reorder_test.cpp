// Byte reorders between the packed 4:2:2 layouts: the pair entry point and
// the frame routines against the byte-order definition, padding and canaries
// included, with and without a vector unit.
#include "convert/packed_reorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/cpu_features.h"
#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::Reorder;
using lumacore::SimdTier;

// Destination byte k of a pair is source byte kOrder[reorder][k].
constexpr int kOrder[4][4] = {{1, 0, 3, 2}, {0, 3, 2, 1}, {1, 2, 3, 0}, {3, 0, 1, 2}};

// The pairs the v210 routines reorder through, at the plain and the widest
// tier and at a tier the processor may lack.
TEST(PackedReorderPairs, MatchTheByteOrderAtEveryTier) {
    std::vector<SimdTier> tiers = PlainAndWidest(lumacore::HostSimdTier());
    tiers.push_back(SimdTier::Avx2);
    for (SimdTier tier : tiers) {
        for (int r = 0; r < 4; ++r) {
            for (std::uint32_t pairs = 0; pairs <= 70; ++pairs) {
                const Bytes src = Random(4 * pairs + 1, pairs * 64 + std::uint32_t(r));
                Bytes dst = Random(4 * pairs + 40, pairs + 1000);
                Bytes want = dst;
                for (std::size_t i = 0; i < 4 * pairs; ++i) want[20 + i] = src[1 + i / 4 * 4 + kOrder[r][i % 4]];
                lumacore::ReorderPairs(Reorder(r), tier, &dst[20], &src[1], pairs);
                ASSERT_EQ(FirstDifference(dst, want), -1)
                    << "reorder " << r << " tier " << int(tier) << " pairs " << pairs;
            }
        }
    }
}

// Every frame routine, written plainly.
struct FrameCase {
    lumacore::ConvertRoutine routine;
    Reorder reorder;
    bool flip;
};
constexpr FrameCase kFrameCases[] = {
    {lumacore::Swap16Frame, Reorder::Swap16, false},
    {lumacore::SwapChromaFrame, Reorder::SwapChroma, false},
    {lumacore::RotateFrontFrame, Reorder::RotateFront, false},
    {lumacore::RotateBackFrame, Reorder::RotateBack, false},
    {lumacore::Swap16FlipFrame, Reorder::Swap16, true},
    {lumacore::RotateFrontFlipFrame, Reorder::RotateFront, true},
    {lumacore::RotateBackFlipFrame, Reorder::RotateBack, true},
};

void ReferenceFrame(const FrameCase& c, Bytes& dst, const Bytes& src, std::uint32_t w, std::uint32_t h,
                    std::uint32_t dp, std::uint32_t sp) {
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
            std::swap_ranges(&dst[i * dp], &dst[(i + 1) * dp], &dst[(h - 1 - i) * dp]);
    }
}

void CheckFrame(const FrameCase& c, std::uint32_t w, std::uint32_t h, std::uint32_t dp, std::uint32_t sp) {
    const Bytes src = Random(std::size_t(h) * sp, w * 31 + h * 7 + dp);
    Bytes dst = Random(std::size_t(h) * dp + 64, w * 17 + h + sp);
    Bytes want = dst;
    ReferenceFrame(c, want, src, w, h, dp, sp);
    EXPECT_EQ(c.routine(dst.data(), src.data(), w, h, dp, sp), h * dp);
    ASSERT_TRUE(dst == want) << "byte " << FirstDifference(dst, want) << ", routine " << (&c - kFrameCases) << " w "
                             << w << " h " << h << " dp " << dp << " sp " << sp;
}

// Pitch pairs (destination, source): equal and tight, equal with padding
// (even, 2 mod 4 and odd), destination wider, source wider, both.
void CheckEveryFrameRoutine() {
    for (const FrameCase& c : kFrameCases) {
        for (std::uint32_t w : EdgeWidths()) {
            const std::uint32_t tight = 2 * w;
            const std::uint32_t pitches[][2] = {{tight, tight},         {tight + 4, tight + 4}, {tight + 2, tight + 2},
                                                {tight + 3, tight + 3}, {tight + 6, tight},     {tight, tight + 10},
                                                {tight + 1, tight + 7}};
            for (const auto& p : pitches)
                for (std::uint32_t h : {0u, 1u, 2u, 3u, 5u}) ASSERT_NO_FATAL_FAILURE(CheckFrame(c, w, h, p[0], p[1]));
        }
    }
}

TEST(PackedReorderFrames, EveryRoutineMatchesItsDefinition) { CheckEveryFrameRoutine(); }

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
    CheckEveryFrameRoutine();
}

// Frames of 8 MiB and more are written with streaming stores: line by line,
// as one run of units with the lines mirrored, and in two passes.
TEST(PackedReorderFrames, FramesLargeEnoughToStreamMatchTheirDefinition) {
    CheckFrame(kFrameCases[3], 3840, 1093, 7696, 7680);
    CheckFrame(kFrameCases[4], 3840, 1093, 7680, 7680);
    CheckFrame(kFrameCases[5], 3840, 1093, 7680, 7700);
}

}  // namespace
}  // namespace lumacore_test

#include "convert/planar_split.h"

#include <cstddef>

#include "engine/kernel_table.h"
#include "engine/sample_positions.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

// Does line i of a 4:2:0 split give chroma (to row i / 2)? Rows 2k come from
// line 4k, rows 2k + 1 from line 4k + 3; the last row of a height of
// 3 mod 4 has no line 2k + 3 and takes line h - 1.
bool GivesChroma(std::uint32_t line, std::uint32_t height) {
    const std::uint32_t phase = line % 4;
    return phase == 0 || phase == 3 || (phase == 2 && line + 1 == height);
}

std::uint32_t SplitPairsPlain(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                              const std::uint8_t* src, std::uint32_t pairs) {
    const int luma = place == LumaPlace::Even ? 0 : 1, chroma = 1 - luma;
    for (std::uint32_t k = 0; k < pairs; ++k, src += 4) {
        y[2 * k] = src[luma];
        y[2 * k + 1] = src[luma + 2];
        if (c0) {
            c0[k] = src[chroma];
            c1[k] = src[chroma + 2];
        }
    }
    return pairs;
}

constexpr TierOverride<SplitKernels> kOverrides[] = {
    {VEC_SSE2, InstallSplitSse2},
    {VEC_AVX2, InstallSplitAvx2},
};

SplitKernels Build(std::uint32_t features) { return Override(SplitKernels{SplitPairsPlain}, kOverrides, features); }

}  // namespace

void SplitPairs(SimdTier tier, LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                const std::uint8_t* src, std::uint32_t pairs) {
    const std::uint32_t done = KernelsFor<SplitKernels, Build>(tier).pairs(place, y, c0, c1, src, pairs);
    if (done == pairs) return;
    SplitPairsPlain(place, y + 2 * done, c0 ? c0 + done : nullptr, c1 ? c1 + done : nullptr,
                    src + 4 * std::size_t(done), pairs - done);
}

std::uint32_t SplitPacked(SimdTier tier, int packed_code, int planar_code, std::uint8_t* dst,
                          const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const PairOrder order = DescriptorOf(packed_code).pair;
    const bool bottom_up = DescriptorOf(packed_code).bottom_up;
    const Planes<std::uint8_t> out = PlanesOf(planar_code, dst, dst_pitch, height);
    const LumaPlace place = order.y0 == 0 ? LumaPlace::Even : LumaPlace::Odd;
    // The chroma planes in the pair's memory order.
    const bool cb_first = order.cb < order.cr;

    // w / 2 pairs, within the destination's lines and rows.
    std::uint32_t pairs = width / 2;
    if (pairs > out.chroma_pitch) pairs = out.chroma_pitch;

    for (std::uint32_t i = 0; i < height; ++i) {
        const std::uint32_t from = bottom_up ? height - 1 - i : i;
        const std::uint8_t* line = src + std::size_t(from) * src_pitch;
        std::uint8_t *c0 = nullptr, *c1 = nullptr;
        if (out.is422 || GivesChroma(i, height)) {
            const std::uint32_t row = out.is422 ? i : i / 2;
            c0 = cb_first ? out.CbRow(row) : out.CrRow(row);
            c1 = cb_first ? out.CrRow(row) : out.CbRow(row);
        }
        SplitPairs(tier, place, out.Luma(i), c0, c1, line, pairs);
    }

    const std::uint32_t luma = height * dst_pitch;
    return out.is422 ? 2 * luma : luma + 2 * (luma / 4);
}

}  // namespace lumacore

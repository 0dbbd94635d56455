#include "convert/planar_merge.h"

#include <cstddef>

#include "engine/kernel_table.h"
#include "engine/sample_positions.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

std::uint32_t MergePairsPlain(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                              const std::uint8_t* c1, std::uint32_t pairs) {
    const int luma = place == LumaPlace::Even ? 0 : 1, chroma = 1 - luma;
    for (std::uint32_t k = 0; k < pairs; ++k, dst += 4) {
        dst[luma] = y[2 * k];
        dst[luma + 2] = y[2 * k + 1];
        dst[chroma] = c0[k];
        dst[chroma + 2] = c1[k];
    }
    return pairs;
}

constexpr TierOverride<MergeKernels> kOverrides[] = {
    {VEC_SSE2, InstallMergeSse2},
    {VEC_AVX2, InstallMergeAvx2},
};

MergeKernels Build(std::uint32_t features) { return Override(MergeKernels{MergePairsPlain}, kOverrides, features); }

// Writes the bytes of pair k of a line that lie below `limit`.
void WritePairCut(std::uint8_t* line, std::uint32_t k, std::uint32_t limit, PairOrder order, std::uint8_t y0,
                  std::uint8_t y1, std::uint8_t cb, std::uint8_t cr) {
    std::uint8_t pair[4];
    pair[order.y0] = y0;
    pair[order.y0 + 2] = y1;
    pair[order.cb] = cb;
    pair[order.cr] = cr;
    for (std::uint32_t j = 0; j < 4; ++j)
        if (4 * std::size_t(k) + j < limit) line[4 * std::size_t(k) + j] = pair[j];
}

}  // namespace

void MergePairs(SimdTier tier, LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                const std::uint8_t* c1, std::uint32_t pairs) {
    const std::uint32_t done = KernelsFor<MergeKernels, Build>(tier).pairs(place, dst, y, c0, c1, pairs);
    if (done < pairs)
        MergePairsPlain(place, dst + 4 * std::size_t(done), y + 2 * std::size_t(done), c0 + done, c1 + done,
                        pairs - done);
}

std::uint32_t MergePlanar(SimdTier tier, int planar_code, int packed_code, std::uint8_t* dst,
                          const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const PairOrder order = DescriptorOf(packed_code).pair;
    const bool bottom_up = DescriptorOf(packed_code).bottom_up;
    const Planes<const std::uint8_t> in = PlanesOf(planar_code, src, src_pitch, height);
    const LumaPlace place = order.y0 == 0 ? LumaPlace::Even : LumaPlace::Odd;
    const bool cb_first = order.cb < order.cr;

    // Whole pairs that fit the line; the rest (an odd width's final pair, or
    // pairs beyond a narrow pitch) are written byte by byte up to the pitch.
    const std::uint32_t whole = width / 2;
    const std::uint32_t fit = whole < dst_pitch / 4 ? whole : dst_pitch / 4;
    auto line_of = [&](std::uint32_t i) {
        return dst + std::size_t(bottom_up ? height - 1 - i : i) * dst_pitch;
    };
    const bool tail = fit < whole || width % 2;
    auto finish = [&](std::uint32_t i) {
        if (!tail) return;
        std::uint8_t* line = line_of(i);
        const std::uint8_t* luma = in.Luma(i);
        const std::uint32_t row = in.RowOfLine(i);
        const std::uint8_t *cb = in.CbRow(row), *cr = in.CrRow(row);
        for (std::uint32_t k = fit; k < whole && 4 * std::size_t(k) < dst_pitch; ++k)
            WritePairCut(line, k, dst_pitch, order, luma[2 * k], luma[2 * k + 1], cb[k], cr[k]);
        if (width % 2 && 4 * std::size_t(whole) < dst_pitch) {
            const std::int32_t pair = ChromaPairOf(width - 1, width);
            const std::uint8_t last = luma[width - 1];
            WritePairCut(line, whole, dst_pitch, order, last, last, pair < 0 ? kNeutralChroma : cb[pair],
                         pair < 0 ? kNeutralChroma : cr[pair]);
        }
    };

    // One line at a time: merging two lines of a shared 4:2:0 chroma row in
    // one pass was measured slower (more memory streams at once).
    for (std::uint32_t i = 0; i < height; ++i) {
        const std::uint32_t row = in.RowOfLine(i);
        const std::uint8_t *c0 = cb_first ? in.CbRow(row) : in.CrRow(row),
                           *c1 = cb_first ? in.CrRow(row) : in.CbRow(row);
        MergePairs(tier, place, line_of(i), in.Luma(i), c0, c1, fit);
        finish(i);
    }
    return height * dst_pitch;
}

}  // namespace lumacore

#include "convert/v210_pack.h"

#include <cstddef>
#include <cstring>

#include "convert/packed_reorder.h"
#include "convert/planar_merge.h"
#include "engine/sample_positions.h"
#include "convert/simd/v210_kernels.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

// One source line: a packed line in some pair order, or a planar line's luma
// and its chroma rows.
struct LineSource {
    bool planar;
    PairOrder order;
    const std::uint8_t* line;
    const std::uint8_t *y, *cb, *cr;

    std::uint8_t Luma(std::uint32_t x) const { return planar ? y[x] : line[4 * (x / 2) + order.y0 + 2 * (x % 2)]; }
    std::uint8_t Cb(std::uint32_t pair) const { return planar ? cb[pair] : line[4 * pair + order.cb]; }
    std::uint8_t Cr(std::uint32_t pair) const { return planar ? cr[pair] : line[4 * pair + order.cr]; }
};


// Group g of a line of w pixels as 12 UYVY-ordered bytes, sample by sample:
// pixels beyond the width repeat the last one.
void GatherGroup(std::uint8_t out[12], const LineSource& s, std::uint32_t width, std::uint32_t g) {
    for (std::uint32_t p = 0; p < 3; ++p) {
        const std::uint32_t x0 = 6 * g + 2 * p, x1 = x0 + 1;
        const std::int32_t pair = ChromaPairOf(x0, width);
        out[4 * p] = pair < 0 ? kNeutralChroma : s.Cb(std::uint32_t(pair));
        out[4 * p + 1] = s.Luma(x0 < width ? x0 : width - 1);
        out[4 * p + 2] = pair < 0 ? kNeutralChroma : s.Cr(std::uint32_t(pair));
        out[4 * p + 3] = s.Luma(x1 < width ? x1 : width - 1);
    }
}

// Groups are brought into UYVY order this many at a time.
constexpr std::uint32_t kChunkGroups = 64;

void PackLine(SimdTier tier, std::uint8_t* out, const LineSource& s, std::uint32_t width) {
    const std::uint32_t groups = (width + 5) / 6, whole = width / 6;
    if (!s.planar && s.order == kOrderUyvy) {
        PackGroups(tier, out, s.line, whole);
    } else {
        std::uint8_t uyvy[12 * kChunkGroups];
        for (std::uint32_t g0 = 0; g0 < whole; g0 += kChunkGroups) {
            const std::uint32_t n = whole - g0 < kChunkGroups ? whole - g0 : kChunkGroups;
            if (s.planar) {
                MergePairs(tier, LumaPlace::Odd, uyvy, s.y + 6 * std::size_t(g0), s.cb + 3 * std::size_t(g0),
                           s.cr + 3 * std::size_t(g0), 3 * n);
            } else {
                // YUY2 and YVYU pairs to UYVY order.
                const Reorder to_uyvy = s.order.y0 == 0 && s.order.cb == 1 ? Reorder::Swap16 : Reorder::RotateBack;
                ReorderPairs(to_uyvy, tier, uyvy, s.line + 12 * std::size_t(g0), 3 * n);
            }
            PackGroups(tier, out + 16 * std::size_t(g0), uyvy, n);
        }
    }
    if (whole < groups) {
        std::uint8_t last[12];
        GatherGroup(last, s, width, whole);
        PackGroupsPlain(out + 16 * std::size_t(whole), last, 1);
    }
}

// Packs h lines `pitch` apart, each followed by zeros up to the pitch.
void PackLines(SimdTier tier, int src_code, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
               std::uint32_t height, std::uint32_t pitch, std::uint32_t src_pitch) {
    const FormatDescriptor& layout = DescriptorOf(src_code);
    const bool planar = layout.kind == LayoutKind::Planar;
    const bool bottom_up = layout.bottom_up;
    const std::uint32_t line_bytes = 16 * ((width + 5) / 6);
    const PairOrder order = layout.pair;
    Planes<const std::uint8_t> in{};
    if (planar) in = PlanesOf(src_code, src, src_pitch, height);

    for (std::uint32_t i = 0; i < height; ++i) {
        LineSource s{planar, order, nullptr, nullptr, nullptr, nullptr};
        if (planar) {
            const std::uint32_t row = in.RowOfLine(i);
            s.y = in.Luma(i);
            s.cb = in.CbRow(row);
            s.cr = in.CrRow(row);
        } else {
            s.line = src + std::size_t(bottom_up ? height - 1 - i : i) * src_pitch;
        }
        std::uint8_t* out = dst + std::size_t(i) * pitch;
        PackLine(tier, out, s, width);
        std::memset(out + line_bytes, 0, pitch - line_bytes);
    }
}

}  // namespace

std::uint32_t PackGroupsPlain(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    for (std::uint32_t g = 0; g < groups; ++g, src += 12) {
        for (std::uint32_t k = 0; k < 4; ++k, dst += 4) {
            const std::uint32_t word = std::uint32_t(src[3 * k]) << 2 | std::uint32_t(src[3 * k + 1]) << 12 |
                                       std::uint32_t(src[3 * k + 2]) << 22;
            dst[0] = std::uint8_t(word);
            dst[1] = std::uint8_t(word >> 8);
            dst[2] = std::uint8_t(word >> 16);
            dst[3] = std::uint8_t(word >> 24);
        }
    }
    return groups;
}

namespace {

constexpr TierOverride<V210PackKernels> kOverrides[] = {
    {VEC_SSE2, InstallV210PackSse2},
    {VEC_SSE2 | VEC_SSSE3, InstallV210PackSsse3},
    {VEC_AVX2, InstallV210PackAvx2},
};

V210PackKernels Build(std::uint32_t features) {
    return Override(V210PackKernels{PackGroupsPlain}, kOverrides, features);
}

}  // namespace

void PackGroups(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    KernelsFor<V210PackKernels, Build>(tier).groups(dst, src, groups);
}

std::uint32_t PackV210(SimdTier tier, int src_code, std::uint8_t* dst, const std::uint8_t* src,
                       std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    // Lines never overlap: a pitch narrower than the groups is widened to them.
    const std::uint32_t line_bytes = 16 * ((width + 5) / 6);
    const std::uint32_t pitch = dst_pitch >= line_bytes ? dst_pitch : line_bytes;
    PackLines(tier, src_code, dst, src, width, height, pitch, src_pitch);
    if (pitch != dst_pitch) return height * pitch;
    return std::uint32_t(16u * std::uint64_t(width) * height / 6u);
}

std::uint32_t PackUYVYToV210(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                             std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const std::uint32_t line_bytes = 16 * ((width + 5) / 6);
    const std::uint32_t pitch = dst_pitch >= line_bytes ? dst_pitch : ((16 * width) / 6 + 63) & ~63u;
    PackLines(tier, FMT_UYVY, dst, src, width, height, pitch, src_pitch);
    return height * pitch;
}

}  // namespace lumacore

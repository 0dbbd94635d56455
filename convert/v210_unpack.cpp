#include "convert/v210_unpack.h"

#include <cstddef>
#include <cstring>

#include "convert/packed_reorder.h"
#include "convert/planar_split.h"
#include "engine/sample_positions.h"
#include "convert/simd/v210_kernels.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

std::uint32_t NoGroupsToPlanes(std::uint8_t*, std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::uint32_t) {
    return 0;
}

constexpr TierOverride<V210UnpackKernels> kOverrides[] = {
    {VEC_SSE2, InstallV210UnpackSse2},
    {VEC_SSE2 | VEC_SSSE3, InstallV210UnpackSsse3},
    {VEC_AVX2, InstallV210UnpackAvx2},
};

V210UnpackKernels Build(std::uint32_t features) {
    return Override(V210UnpackKernels{UnpackGroupsPlain, NoGroupsToPlanes}, kOverrides, features);
}

const V210UnpackKernels& KernelsOf(SimdTier tier) { return KernelsFor<V210UnpackKernels, Build>(tier); }

// Where one destination line goes: a packed line and the bytes it may take,
// or a planar line's luma and (when it gives chroma) its chroma rows.
struct LineSink {
    bool planar;
    PairOrder order;
    std::uint8_t* line;
    std::uint32_t limit;
    std::uint8_t *y, *cb, *cr;  // cb null: no chroma from this line
    std::uint32_t luma_bytes, chroma_count;
};


// Pairs p0 .. p0 + n - 1 of a line, given as UYVY-ordered bytes, to the sink.
void Emit(SimdTier tier, const LineSink& out, const std::uint8_t* uyvy, std::uint32_t p0, std::uint32_t n) {
    if (!out.planar) {
        const std::size_t at = 4 * std::size_t(p0);
        if (at >= out.limit) return;
        const std::size_t room = (out.limit - at) / 4;
        const std::uint32_t fit = n < room ? n : std::uint32_t(room);
        if (out.order == kOrderUyvy) {
            std::memcpy(out.line + at, uyvy, 4 * std::size_t(fit));
        } else {
            // UYVY pairs to YUY2 or YVYU order.
            const Reorder from_uyvy = out.order.cb == 1 ? Reorder::Swap16 : Reorder::RotateFront;
            ReorderPairs(from_uyvy, tier, out.line + at, uyvy, fit);
        }
        if (fit < n) {
            // The pair the pitch cuts.
            const std::uint8_t* s = uyvy + 4 * std::size_t(fit);
            std::uint8_t pair[4];
            pair[out.order.y0] = s[1];
            pair[out.order.y0 + 2] = s[3];
            pair[out.order.cb] = s[0];
            pair[out.order.cr] = s[2];
            const std::size_t first = at + 4 * std::size_t(fit);
            for (std::size_t j = 0; j < 4 && first + j < out.limit; ++j) out.line[first + j] = pair[j];
        }
        return;
    }
    // Planar: the pairs whose two luma bytes and chroma all fit go through
    // the split kernel, the rest byte by byte.
    std::uint32_t bulk = n;
    const std::uint32_t luma_pairs = out.luma_bytes / 2;
    bulk = luma_pairs > p0 ? (bulk < luma_pairs - p0 ? bulk : luma_pairs - p0) : 0;
    if (out.cb) bulk = out.chroma_count > p0 ? (bulk < out.chroma_count - p0 ? bulk : out.chroma_count - p0) : 0;
    SplitPairs(tier, LumaPlace::Odd, out.y + 2 * std::size_t(p0), out.cb ? out.cb + p0 : nullptr,
               out.cb ? out.cr + p0 : nullptr, uyvy, bulk);
    for (std::uint32_t k = bulk; k < n; ++k) {
        const std::uint32_t pair = p0 + k;
        const std::uint8_t* s = uyvy + 4 * std::size_t(k);
        if (2 * pair < out.luma_bytes) out.y[2 * pair] = s[1];
        if (2 * pair + 1 < out.luma_bytes) out.y[2 * pair + 1] = s[3];
        if (out.cb && pair < out.chroma_count) {
            out.cb[pair] = s[0];
            out.cr[pair] = s[2];
        }
    }
}

// Groups are unpacked into UYVY order this many at a time.
constexpr std::uint32_t kChunkGroups = 64;

// One line of w pixels from `src`, of which `readable` bytes may be read
// (fewer than the groups take only on the last line: the rest read as zero).
void UnpackLine(SimdTier tier, const LineSink& out, const std::uint8_t* src, std::size_t readable,
                std::uint32_t width) {
    const std::uint32_t groups = (width + 5) / 6, pairs = (width + 1) / 2;
    const std::uint32_t whole = readable / 16 < groups ? std::uint32_t(readable / 16) : groups;
    std::uint32_t g0 = 0;
    if (!out.planar && (out.order == kOrderUyvy)) {
        // Whole groups straight into the line, as far as they fit in it.
        const std::uint32_t room = out.limit < 4 * pairs ? out.limit : 4 * pairs;
        g0 = whole < room / 12 ? whole : room / 12;
        UnpackGroups(tier, out.line, src, g0);
    } else if (out.planar) {
        // Whole groups straight into the planes, as far as their six luma
        // and three chroma samples fit.
        std::uint32_t fit = whole < out.luma_bytes / 6 ? whole : out.luma_bytes / 6;
        if (out.cb && out.chroma_count / 3 < fit) fit = out.chroma_count / 3;
        g0 = KernelsOf(tier).to_planes(out.y, out.cb, out.cr, src, fit);
    }
    std::uint8_t uyvy[12 * kChunkGroups];
    for (std::uint32_t n = 0; g0 < groups; g0 += n) {
        if (!out.planar && 12 * std::size_t(g0) >= out.limit) break;  // nothing more fits
        n = groups - g0 < kChunkGroups ? groups - g0 : kChunkGroups;
        const std::uint32_t in_source = whole > g0 ? (whole - g0 < n ? whole - g0 : n) : 0;
        UnpackGroups(tier, uyvy, src + 16 * std::size_t(g0), in_source);
        for (std::uint32_t j = in_source; j < n; ++j) {
            // A group that runs past the end of the source.
            std::uint8_t group[16] = {};
            const std::size_t start = 16 * std::size_t(g0 + j);
            if (start < readable) std::memcpy(group, src + start, readable - start);
            UnpackGroupsPlain(uyvy + 12 * std::size_t(j), group, 1);
        }
        const std::uint32_t first = 3 * g0;
        Emit(tier, out, uyvy, first, pairs - first < 3 * n ? pairs - first : 3 * n);
    }
}

// Lines `src_pitch` apart (at least (16 x w) / 6) to the destination layout.
void UnpackLines(SimdTier tier, int dst_code, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                 std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const FormatDescriptor& layout = DescriptorOf(dst_code);
    const bool planar = layout.kind == LayoutKind::Planar;
    const bool bottom_up = layout.bottom_up;
    const std::uint32_t pairs = (width + 1) / 2;
    const std::size_t line_groups_bytes = 16 * std::size_t((width + 5) / 6);
    Planes<std::uint8_t> planes{};
    if (planar) planes = PlanesOf(dst_code, dst, dst_pitch, height);

    LineSink out{};
    out.planar = planar;
    out.order = layout.pair;
    out.limit = dst_pitch;
    out.luma_bytes = width < dst_pitch ? width : dst_pitch;
    out.chroma_count = pairs < dst_pitch / 2 ? pairs : dst_pitch / 2;
    for (std::uint32_t i = 0; i < height; ++i) {
        if (planar) {
            out.y = planes.Luma(i);
            // 4:2:0 row k ends up with line 2k + 1, or line 2k when that is
            // the last line: only those lines write it.
            const bool gives = planes.is422 || i % 2 == 1 || i + 1 == height;
            const std::uint32_t row = planes.RowOfLine(i);
            out.cb = gives ? planes.CbRow(row) : nullptr;
            out.cr = gives ? planes.CrRow(row) : nullptr;
        } else {
            out.line = dst + std::size_t(bottom_up ? height - 1 - i : i) * dst_pitch;
        }
        // What of the source lies from this line on.
        const std::uint64_t rest = std::uint64_t(height - i) * src_pitch;
        const std::size_t readable = rest < line_groups_bytes ? std::size_t(rest) : line_groups_bytes;
        UnpackLine(tier, out, src + std::size_t(i) * src_pitch, readable, width);
    }
}

}  // namespace

std::uint32_t UnpackGroupsPlain(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    for (std::uint32_t g = 0; g < groups; ++g, dst += 12) {
        for (std::uint32_t k = 0; k < 4; ++k, src += 4) {
            const std::uint32_t word = std::uint32_t(src[0]) | std::uint32_t(src[1]) << 8 |
                                       std::uint32_t(src[2]) << 16 | std::uint32_t(src[3]) << 24;
            dst[3 * k] = std::uint8_t(word >> 2);
            dst[3 * k + 1] = std::uint8_t(word >> 12);
            dst[3 * k + 2] = std::uint8_t(word >> 22);
        }
    }
    return groups;
}

void UnpackGroups(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    KernelsOf(tier).groups(dst, src, groups);
}

std::uint32_t UnpackV210(SimdTier tier, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                         std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const std::uint32_t shortest = (16 * width) / 6;
    UnpackLines(tier, dst_code, dst, src, width, height, dst_pitch,
                src_pitch > shortest ? src_pitch : shortest);
    const std::uint64_t pixels = std::uint64_t(width) * height;
    if (dst_code == FMT_I420 || dst_code == FMT_YV12) return std::uint32_t(pixels + pixels / 2);
    return std::uint32_t(2 * pixels);
}

std::uint32_t UnpackV210ToUYVY(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const std::uint32_t shortest = (16 * width) / 6;
    std::uint32_t pitch = src_pitch > shortest ? src_pitch : shortest;
    // 1280-pixel lines narrower than their groups are the 128-byte padded
    // lines of 3456 bytes.
    if (width == 1280 && src_pitch < 3413) pitch = 3456;
    UnpackLines(tier, FMT_UYVY, dst, src, width, height, dst_pitch, pitch);
    return height * dst_pitch;
}

}  // namespace lumacore

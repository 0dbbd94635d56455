#include "convert/packed_reorder.h"

#include <cstddef>

#include "engine/reverse_lines.h"
#include "convert/simd/packed_reorder_kernels.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

// Output of this many bytes or more is written past the cache: a frame that
// large would not stay in a usual last-level cache beside its source anyway.
constexpr std::uint32_t kStreamBytes = 8u << 20;

// The reference: every destination byte named by the order table.
template <Reorder R>
void PlainPairs(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
    constexpr const std::uint8_t* order = kReorderOrder[int(R)];
    for (std::uint32_t p = 0; p < pairs; ++p, dst += 4, src += 4) {
        const std::uint8_t b[4] = {src[0], src[1], src[2], src[3]};
        dst[0] = b[order[0]];
        dst[1] = b[order[1]];
        dst[2] = b[order[2]];
        dst[3] = b[order[3]];
    }
}

constexpr TierOverride<ReorderKernels> kOverrides[] = {
    {VEC_SSE2, InstallReorderSse2},
    {VEC_AVX2, InstallReorderAvx2},
};

ReorderKernels Build(std::uint32_t features) {
    return Override(ReorderKernels{ReorderLinesPlain}, kOverrides, features);
}

// The 16-bit unit after `pairs` pairs on each line, for runs of 2 mod 4 bytes.
void SwapLastUnits(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src, std::ptrdiff_t src_step,
                   std::uint32_t pairs, std::uint32_t lines) {
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(lines); ++k) {
        std::uint8_t* const d = dst + k * dst_step + std::size_t(pairs) * 4;
        const std::uint8_t* const s = src + k * src_step + std::size_t(pairs) * 4;
        d[0] = s[1];
        d[1] = s[0];
    }
}

std::uint32_t ReorderFrame(Reorder reorder, bool flip, std::uint8_t* dst, const std::uint8_t* src,
                           std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                           std::uint32_t src_pitch) {
    const auto kernel = ReorderKernelsFor(ActiveSimdTier()).lines;
    const std::uint32_t pairs = width / 2;
    const std::uint32_t line_bytes = pairs * 4;
    const std::uint32_t frame_bytes = height * dst_pitch;
    const bool stream = frame_bytes >= kStreamBytes;
    const std::ptrdiff_t dp = dst_pitch, sp = src_pitch;
    // The 16-bit swap with equal pitches is defined over the whole frame,
    // line padding included: one run of frame_bytes / 2 units.
    const bool unit_run = reorder == Reorder::Swap16 && dst_pitch == src_pitch;

    if (!flip) {
        if (unit_run) {
            kernel(reorder, dst, 0, src, 0, frame_bytes / 4, 1, stream);
            if (frame_bytes & 2) SwapLastUnits(dst, 0, src, 0, frame_bytes / 4, 1);
        } else if (dst_pitch == src_pitch && line_bytes == dst_pitch) {
            kernel(reorder, dst, 0, src, 0, pairs * height, 1, stream);
        } else {
            kernel(reorder, dst, dp, src, sp, pairs, height, stream);
        }
        return frame_bytes;
    }

    // Reorder, then reverse the destination's lines. When the reorder fills
    // every destination line completely, writing each line straight to its
    // mirrored place gives the same bytes in one pass. (With an odd pitch the
    // unit run crosses line ends, so it takes the two passes.)
    std::uint8_t* const last_line = height ? dst + std::size_t(height - 1) * dst_pitch : dst;
    if (unit_run && dst_pitch % 2 == 0) {
        kernel(reorder, last_line, -dp, src, sp, dst_pitch / 4, height, stream);
        if (dst_pitch & 2) SwapLastUnits(last_line, -dp, src, sp, dst_pitch / 4, height);
    } else if (!unit_run && line_bytes == dst_pitch) {
        kernel(reorder, last_line, -dp, src, sp, pairs, height, stream);
    } else {
        ReorderFrame(reorder, false, dst, src, width, height, dst_pitch, src_pitch);
        ReverseLines(dst, dst_pitch, height);
    }
    return frame_bytes;
}

}  // namespace

void ReorderLinesPlain(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                       std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool) {
    using Line = void (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t);
    static constexpr Line kLines[] = {PlainPairs<Reorder::Swap16>, PlainPairs<Reorder::SwapChroma>,
                                      PlainPairs<Reorder::RotateFront>, PlainPairs<Reorder::RotateBack>};
    const Line line = kLines[int(reorder)];
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(lines); ++k) line(dst + k * dst_step, src + k * src_step, pairs);
}

const ReorderKernels& ReorderKernelsFor(SimdTier tier) { return KernelsFor<ReorderKernels, Build>(tier); }

void ReorderPairs(Reorder reorder, SimdTier tier, std::uint8_t* dst, const std::uint8_t* src,
                  std::uint32_t pairs) {
    ReorderKernelsFor(tier).lines(reorder, dst, 0, src, 0, pairs, 1, pairs >= kStreamBytes / 4);
}

std::uint32_t Swap16Frame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::Swap16, false, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t SwapChromaFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::SwapChroma, false, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t RotateFrontFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::RotateFront, false, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t RotateBackFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::RotateBack, false, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t Swap16FlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::Swap16, true, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t RotateFrontFlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                   std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::RotateFront, true, dst, src, width, height, dst_pitch, src_pitch);
}

std::uint32_t RotateBackFlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                  std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ReorderFrame(Reorder::RotateBack, true, dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

#include "convert/packed_reorder.h"

#include <cstddef>

#include "convert/reverse_lines.h"
#include "convert/simd/packed_reorder_kernels.h"

namespace lumacore {
namespace {

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

using TierKernel = void (*)(Reorder, std::uint8_t*, const std::uint8_t*, std::uint32_t);

// Indexed by SimdTier.
constexpr TierKernel kTierKernels[] = {ReorderPairsPlain, ReorderPairsSse2, ReorderPairsAvx2};
static_assert(int(SimdTier::Plain) == 0 && int(SimdTier::Sse2) == 1 && int(SimdTier::Avx2) == 2);

// Swaps the 16-bit units of `bytes` bytes (a trailing odd byte is left alone).
void SwapUnits(TierKernel kernel, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t bytes) {
    const std::uint32_t pairs = bytes / 4;
    kernel(Reorder::Swap16, dst, src, pairs);
    if (bytes & 2) {
        const std::size_t at = std::size_t(pairs) * 4;
        dst[at] = src[at + 1];
        dst[at + 1] = src[at];
    }
}

std::uint32_t ReorderFrame(Reorder reorder, bool flip, std::uint8_t* dst, const std::uint8_t* src,
                           std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                           std::uint32_t src_pitch) {
    const TierKernel kernel = kTierKernels[int(ActiveSimdTier())];
    const std::uint32_t pairs = width / 2;
    const std::uint32_t line_bytes = pairs * 4;
    const std::uint32_t frame_bytes = height * dst_pitch;
    // The 16-bit swap with equal pitches is defined over the whole frame,
    // line padding included.
    const bool unit_run = reorder == Reorder::Swap16 && dst_pitch == src_pitch;

    if (!flip) {
        if (unit_run) {
            SwapUnits(kernel, dst, src, frame_bytes);
        } else if (dst_pitch == src_pitch && line_bytes == dst_pitch) {
            kernel(reorder, dst, src, pairs * height);
        } else {
            for (std::uint32_t i = 0; i < height; ++i)
                kernel(reorder, dst + std::size_t(i) * dst_pitch, src + std::size_t(i) * src_pitch, pairs);
        }
        return frame_bytes;
    }

    // Reorder, then reverse the destination's lines. When the reorder fills
    // every destination line completely, writing each line straight to its
    // mirrored place gives the same bytes in one pass. (With an odd pitch the
    // unit run crosses line ends, so it takes the two passes.)
    const std::size_t last = height ? std::size_t(height - 1) * dst_pitch : 0;
    if (unit_run && dst_pitch % 2 == 0) {
        for (std::uint32_t i = 0; i < height; ++i)
            SwapUnits(kernel, dst + last - std::size_t(i) * dst_pitch, src + std::size_t(i) * src_pitch, dst_pitch);
    } else if (!unit_run && line_bytes == dst_pitch) {
        for (std::uint32_t i = 0; i < height; ++i)
            kernel(reorder, dst + last - std::size_t(i) * dst_pitch, src + std::size_t(i) * src_pitch, pairs);
    } else {
        ReorderFrame(reorder, false, dst, src, width, height, dst_pitch, src_pitch);
        ReverseLines(dst, dst_pitch, height);
    }
    return frame_bytes;
}

}  // namespace

void ReorderPairsPlain(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
    switch (reorder) {
        case Reorder::Swap16: return PlainPairs<Reorder::Swap16>(dst, src, pairs);
        case Reorder::SwapChroma: return PlainPairs<Reorder::SwapChroma>(dst, src, pairs);
        case Reorder::RotateFront: return PlainPairs<Reorder::RotateFront>(dst, src, pairs);
        case Reorder::RotateBack: return PlainPairs<Reorder::RotateBack>(dst, src, pairs);
    }
}

void ReorderPairs(Reorder reorder, SimdTier tier, std::uint8_t* dst, const std::uint8_t* src,
                  std::uint32_t pairs) {
    // A tier this processor lacks falls back to the widest it has.
    const SimdTier host = HostSimdTier();
    if (tier > host) tier = host;
    kTierKernels[int(tier)](reorder, dst, src, pairs);
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

// 8-bit Y'CbCr to v210: each sample times 4, six pixels to 16 bytes as four
// little-endian words (Cb0 Y0 Cr0, Y1 Cb1 Y2, Cr1 Y3 Cb2, Y4 Cr2 Y5 in bits
// 0-9, 10-19, 20-29). A line of w pixels takes (w + 5) / 6 groups; the
// pixels of its last group that lie beyond the width repeat the last pixel
// (its luma and its pair's chroma). At an odd width the last pixel has no
// chroma of its own in the source line and takes the pair before it's
// (neutral chroma in a line one pixel wide). Bytes between the groups' end
// and the next line are zeros.
#pragma once

#include "engine/routine.h"
#include "engine/simd_tier.h"

namespace lumacore {

// The general routine: packed sources (`src_code` FMT_YUY2, FMT_UYVY,
// FMT_YVYU, FMT_AUV2, or FMT_CYUV, read with its lines in reverse order)
// with lines src_pitch apart, or planar ones (FMT_I420, FMT_YV12, FMT_P422;
// planes at pitch src_pitch; 4:2:0 lines 2k and 2k + 1 share row k).
// Destination line i starts at i x max(DP, whole groups). Returns
// (16 x w x h) / 6, or h times the widened pitch when it widened.
std::uint32_t PackV210(SimdTier tier, int src_code, std::uint8_t* dst, const std::uint8_t* src,
                       std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// UYVY-ordered sources (UYVY, the colour of auv2), lines src_pitch apart.
// A destination pitch too narrow for the groups becomes (16 x w) / 6 rounded
// up to a multiple of 64. Returns h x the pitch used.
std::uint32_t PackUYVYToV210(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                             std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// `groups` whole groups from 12 UYVY-ordered bytes each, with a given tier.
void PackGroups(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);

// The cells' routines.
template <int SrcCode>
std::uint32_t PackFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return PackV210(ActiveSimdTier(), SrcCode, dst, src, width, height, dst_pitch, src_pitch);
}

inline std::uint32_t PackUyvyFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                   std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return PackUYVYToV210(ActiveSimdTier(), dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

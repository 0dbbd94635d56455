// v210 to 8-bit Y'CbCr: each 10-bit sample's top eight bits. Lines are read
// as whole six-pixel groups; a line's last group may reach into the next
// line, and on the last line the bytes of that group that lie past the
// source's h lines read as zero.
#pragma once

#include "engine/routine.h"
#include "engine/simd_tier.h"

namespace lumacore {

// The general routine: source lines max(SP, (16 x w) / 6) apart; packed
// destinations (`dst_code` FMT_YUY2, FMT_UYVY, FMT_YVYU, FMT_AUV2, or
// FMT_CYUV, written with its lines in reverse order) get the (w + 1) / 2
// pairs of each line, cut at the pitch; planar ones (FMT_I420, FMT_YV12,
// FMT_P422, planes at pitch DP) get w luma samples a line and the chroma of
// (w + 1) / 2 pairs, cut at the row pitch. A 4:2:0 chroma row k takes line
// 2k + 1 (line 2k where that is the last line). Returns 2 x w x h for packed
// and 4:2:2 destinations, w x h + (w x h) / 2 for 4:2:0 ones.
std::uint32_t UnpackV210(SimdTier tier, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                         std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// To UYVY order (UYVY, the colour of auv2). Source lines SP apart, but at
// least (16 x w) / 6; at width 1280 a pitch below 3413 means lines 3456
// apart (the dispatcher never hands a shorter pitch). Returns h x DP.
std::uint32_t UnpackV210ToUYVY(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// `groups` whole groups to 12 UYVY-ordered bytes each, with a given tier.
void UnpackGroups(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);

// The cells' routines.
template <int DstCode>
std::uint32_t UnpackFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return UnpackV210(ActiveSimdTier(), DstCode, dst, src, width, height, dst_pitch, src_pitch);
}

inline std::uint32_t UnpackUyvyFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                     std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return UnpackV210ToUYVY(ActiveSimdTier(), dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

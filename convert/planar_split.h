// Packed 4:2:2 to planar: YUY2, UYVY, cyuv and YVYU (and the UYVY colour
// part of auv2) into I420, YV12 and P422.
#pragma once

#include "engine/routine.h"
#include "convert/simd/planar_kernels.h"
#include "engine/simd_tier.h"

namespace lumacore {

// The general routine. `packed_code` names the source's pair order (cyuv and
// auv2 read as UYVY, cyuv with its lines in reverse order), `planar_code`
// the destination (FMT_I420, FMT_YV12 or FMT_P422, planes at pitch
// dst_pitch). Each line gives the luma of its w / 2 pairs (an odd width
// leaves the last pixel unwritten); in 4:2:2 every line gives its chroma
// row, in 4:2:0 lines 0, 3, 4, 7, 8, 11 ... give rows 0, 1, 2, 3, 4, 5 ...
// (even rows from even lines, odd rows from odd lines; the last row of an
// odd height that has no such line takes line h - 1). Returns
// h x DP + 2 x ((h x DP) / 4) for 4:2:0 and 2 x h x DP for 4:2:2.
std::uint32_t SplitPacked(SimdTier tier, int packed_code, int planar_code, std::uint8_t* dst,
                          const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch);

// `pairs` packed pairs to planes with a given tier: two luma bytes each to
// `y`, first and second chroma byte to `c0` and `c1` (c0 null: luma only).
void SplitPairs(SimdTier tier, LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                const std::uint8_t* src, std::uint32_t pairs);

// The cells' routines, one per pair of codes.
template <int PackedCode, int PlanarCode>
std::uint32_t SplitFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                         std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return SplitPacked(ActiveSimdTier(), PackedCode, PlanarCode, dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

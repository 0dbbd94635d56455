// Planar to packed 4:2:2: I420, YV12 and P422 into YUY2, UYVY, cyuv and YVYU
// (and the UYVY colour part of auv2).
#pragma once

#include "engine/routine.h"
#include "convert/simd/planar_kernels.h"
#include "engine/simd_tier.h"

namespace lumacore {

// The general routine. `planar_code` names the source (planes at pitch
// src_pitch), `packed_code` the destination's pair order (cyuv written as
// UYVY with its lines in reverse order). Line i takes chroma row i (4:2:2)
// or i / 2 (4:2:0: each row serves two lines). At an odd width the final
// pair repeats the last luma sample as Y1 and takes the chroma of the pair
// before it (neutral chroma in a line one pixel wide). No line is written
// past its pitch: a final pair that does not fit is cut there. Returns
// h x DP.
std::uint32_t MergePlanar(SimdTier tier, int planar_code, int packed_code, std::uint8_t* dst,
                          const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch);

// `pairs` packed pairs with a given tier to `dst` from luma `y` and chroma
// rows `c0`, `c1` (first and second chroma byte of each pair in memory order).
void MergePairs(SimdTier tier, LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                const std::uint8_t* c1, std::uint32_t pairs);

// The cells' routines, one per pair of codes.
template <int PlanarCode, int PackedCode>
std::uint32_t MergeFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                         std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return MergePlanar(ActiveSimdTier(), PlanarCode, PackedCode, dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

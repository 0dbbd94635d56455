// Planar to planar: between I420, YV12 (4:2:0, chroma planes in either
// order) and P422 (4:2:2). Samples are copied unchanged; between 4:2:0 and
// 4:2:2 chroma rows are repeated or dropped, never averaged.
#pragma once

#include "engine/routine.h"

namespace lumacore {

// 4:2:0 to 4:2:0 (`src_code`, `dst_code` each FMT_I420 or FMT_YV12; Cb goes
// to Cb and Cr to Cr). Equal pitches copy each plane as one block; unequal
// ones copy min(DP, SP) bytes of every luma line and half that of every
// chroma row. Returns h x DP + (h x DP) / 2.
std::uint32_t CopyPlanes420(int src_code, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                            std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                            std::uint32_t src_pitch);

// Any planar layout to any: both 4:2:0 goes to CopyPlanes420; both 4:2:2 is
// copied like it with h chroma rows; 4:2:0 to 4:2:2 gives row i the
// source's row i / 2; 4:2:2 to 4:2:0 gives row k the source's row 2k (odd
// rows are dropped). Lines copy w luma bytes and w / 2 chroma bytes there.
// Returns 2 x h x DP for a 4:2:2 destination, else h x DP + (h x DP) / 2.
std::uint32_t ResamplePlanes(int src_code, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                             std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                             std::uint32_t src_pitch);

// The cells' routines, one per pair of codes.
template <int SrcCode, int DstCode>
std::uint32_t PlaneFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                         std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    return ResamplePlanes(SrcCode, DstCode, dst, src, width, height, dst_pitch, src_pitch);
}

}  // namespace lumacore

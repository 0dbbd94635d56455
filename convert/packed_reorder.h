// Byte reorders between the packed 4:2:2 layouts. A pixel pair is four bytes:
//   YUY2  Y0 Cb Y1 Cr      UYVY (and cyuv, the colour of auv2)  Cb Y0 Cr Y1
//   YVYU  Y0 Cr Y1 Cb
#pragma once

#include "engine/routine.h"
#include "engine/simd_tier.h"

namespace lumacore {

// Source pair b0 b1 b2 b3 becomes:
enum class Reorder {
    Swap16,       // b1 b0 b3 b2: YUY2 <-> UYVY
    SwapChroma,   // b0 b3 b2 b1: YUY2 <-> YVYU
    RotateFront,  // b1 b2 b3 b0: UYVY -> YVYU
    RotateBack,   // b3 b0 b1 b2: YVYU -> UYVY
};

// Reorders `pairs` four-byte pairs from src to dst with a given tier; the
// areas do not overlap. The building block of every routine below.
void ReorderPairs(Reorder reorder, SimdTier tier, std::uint8_t* dst, const std::uint8_t* src,
                  std::uint32_t pairs);

// Frame routines: w / 2 pairs of every line (an odd width leaves the last
// pixel unwritten); Swap16 with equal pitches runs over the whole frame,
// padding included. Each returns h x dst_pitch.
std::uint32_t Swap16Frame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch);
std::uint32_t SwapChromaFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);
std::uint32_t RotateFrontFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);
std::uint32_t RotateBackFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// The same followed by ReverseLines over the destination (h lines of
// dst_pitch): YUY2 <-> cyuv, cyuv -> YVYU, YVYU -> cyuv.
std::uint32_t Swap16FlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                              std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);
std::uint32_t RotateFrontFlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                   std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);
std::uint32_t RotateBackFlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                  std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

}  // namespace lumacore

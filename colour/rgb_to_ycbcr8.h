// RGB to 8-bit Y'CbCr: packed 4:2:2, planar 4:2:2 and planar 4:2:0.
#pragma once

#include <cstdint>

#include "engine/simd_tier.h"

namespace lumacore {

// Converts a width x height RGB frame (`bits_per_pixel` 32: 4-byte pixels,
// else 3-byte; `flags`: FLAG_SOURCE_BOTTOM_UP and the channel order) with
// the 8-bit coefficients of `matrix`.
//
// Pixels are taken in pairs (a last odd pixel is left unconverted, its
// output untouched): Y' of both, Cb and Cr of the left one only.
// - packed (`planar` false): each pair's Y'0 at `y`, Y'1 two bytes later,
//   Cb at `cb`, Cr at `cr`; all three advance 4 bytes a pair and `pitch` a
//   line. Chroma on every line.
// - planar: Y' lines `pitch` apart, Cb and Cr lines `chroma_pitch` apart.
//   With `chroma_every_line` (4:2:2) every line has chroma; otherwise (4:2:0)
//   chroma row r comes from line 2r when r is even and 2r + 1 when r is odd,
//   and an odd height's last row, which that choice leaves without a line
//   (heights 3, 7, 11, ...), comes from the last line.
//
// Returns 2 x w x h, or w x h + 2 x ((w x h) / 4) for 4:2:0.
std::uint32_t RgbToYCbCr8(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                          std::uint32_t width, std::uint32_t height, std::uint32_t pitch, std::uint32_t src_pitch,
                          std::int32_t matrix, std::uint32_t flags, bool chroma_every_line, bool planar,
                          int bits_per_pixel, std::uint32_t chroma_pitch);

// The same with a given tier (tests and benchmarks); Plain is the reference.
std::uint32_t RgbToYCbCr8With(SimdTier tier, std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr,
                              const std::uint8_t* src, std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                              std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, bool chroma_every_line,
                              bool planar, int bits_per_pixel, std::uint32_t chroma_pitch);

}  // namespace lumacore

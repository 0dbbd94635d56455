// RGB to 10-bit Y'CbCr 4:2:2 in the v210 packing.
#pragma once

#include <cstdint>

#include "engine/simd_tier.h"

namespace lumacore {

// Converts a width x height RGB frame (`bits_per_pixel` 32: 4-byte pixels,
// else 3-byte; `flags`: FLAG_SOURCE_BOTTOM_UP and the channel order) with
// the 10-bit coefficients of `matrix` into v210 lines `pitch` bytes apart.
//
// Each line is (w + 5) / 6 groups of up to four little-endian words, three
// 10-bit fields a word. Chroma is formed per pixel pair with a 1-2-1 filter
// over the previous pair's right pixel (512 at the start of a line), the
// pair's left and its right pixel. A last group stops after the pair that
// reaches the line's end (words 0 and 1, or 0 to 2, the last one holding
// only its fields up to that pair's Y'); with an odd width the last pair's
// right pixel repeats the line's last pixel. Line padding is not written.
//
// Returns h x pitch.
std::uint32_t RgbToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags,
                        int bits_per_pixel);

// The same with a given tier (tests and benchmarks); Plain is the reference.
std::uint32_t RgbToV210With(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                            std::uint32_t height, std::uint32_t pitch, std::uint32_t src_pitch, std::int32_t matrix,
                            std::uint32_t flags, int bits_per_pixel);

}  // namespace lumacore

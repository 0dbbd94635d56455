// Reversing the line order of an image in place.
#pragma once

#include <cstdint>

#include "engine/simd_tier.h"

namespace lumacore {

// Exchanges line i with line count - 1 - i for every i below count / 2 (an
// odd count leaves the middle line alone). Needs no scratch memory, so it
// cannot fail.
void ReverseLines(std::uint8_t* image, std::uint32_t line_bytes, std::uint32_t count);

// The same with a given tier (tests and benchmarks).
void ReverseLinesWith(SimdTier tier, std::uint8_t* image, std::uint32_t line_bytes, std::uint32_t count);

}  // namespace lumacore

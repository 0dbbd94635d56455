// Which vector instructions the conversion routines use in this process.
#pragma once

#include <cstdint>

namespace lumacore {

// Tiers of vector code, widest last. Every tier's routines produce the bytes
// of the plain code exactly; only speed differs.
enum class SimdTier { Plain = 0, Sse2 = 1, Avx2 = 2, Avx512 = 3 };
inline constexpr int kSimdTierCount = 4;

// The tier for this process: plain when the processor level (SimdLevel) has
// no vector unit, else the widest tier the processor and the OS support.
// Runs the first-use rule; chosen once.
SimdTier ActiveSimdTier();

// The widest tier this processor and OS support, regardless of SimdLevel.
SimdTier HostSimdTier();

// The vector features (VEC_*) code of `tier` may use on this processor:
// those it has, up to the tier's own (SSSE3 belongs to the SSE2 tier).
std::uint32_t FeaturesUpTo(SimdTier tier);

}  // namespace lumacore

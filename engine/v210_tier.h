// Which vector code the v210 packing and unpacking use. Beyond the shared
// tiers they profit from SSSE3's byte shuffle, which SSE2-only processors
// lack, so they pick among four.
#pragma once

#include "engine/simd_tier.h"

namespace lumacore {

// Every tier's kernels produce the bytes of the plain code exactly.
enum class V210Tier { Plain = 0, Sse2 = 1, Ssse3 = 2, Avx2 = 3 };

// The tier for this process: follows ActiveSimdTier (so the processor level
// rule applies), taking SSSE3 within the SSE2 tier when the processor has it.
V210Tier ActiveV210Tier();

// The widest tier this processor and OS support.
V210Tier HostV210Tier();

// The tier of the 8-bit kernels (reorders, merges, splits) used alongside.
constexpr SimdTier EightBitTierOf(V210Tier tier) {
    return tier == V210Tier::Avx2 ? SimdTier::Avx2 : tier == V210Tier::Plain ? SimdTier::Plain : SimdTier::Sse2;
}

}  // namespace lumacore

#include "engine/v210_tier.h"

#include "platform/cpu_features.h"

namespace lumacore {
namespace {

bool HasSsse3() { return (VectorFeatures() & VEC_SSSE3) != 0; }

V210Tier Widen(SimdTier tier) {
    switch (tier) {
        case SimdTier::Avx2:
            return V210Tier::Avx2;
        case SimdTier::Sse2:
            return HasSsse3() ? V210Tier::Ssse3 : V210Tier::Sse2;
        default:
            return V210Tier::Plain;
    }
}

}  // namespace

V210Tier ActiveV210Tier() { return Widen(ActiveSimdTier()); }

V210Tier HostV210Tier() { return Widen(HostSimdTier()); }

}  // namespace lumacore

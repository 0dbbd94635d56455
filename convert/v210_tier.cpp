#include "convert/v210_tier.h"

#include <atomic>

#include "platform/cpuid.h"

namespace lumacore {
namespace {

constexpr int kUnknown = -1;
std::atomic<int> g_has_ssse3{kUnknown};

bool HasSsse3() {
    int known = g_has_ssse3.load(std::memory_order_acquire);
    if (known == kUnknown) {
        CpuidRegisters r{};
        known = PlatformCpuid(1, &r) && ((r.ecx >> 9) & 1u) ? 1 : 0;
        g_has_ssse3.store(known, std::memory_order_release);  // every thread computes the same
    }
    return known == 1;
}

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

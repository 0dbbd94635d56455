#include "convert/simd_tier.h"

#include <atomic>

#include "driver/cpu_features.h"
#include "platform/cpuid.h"

namespace lumacore {
namespace {

constexpr int kUnknown = -1;
std::atomic<int> g_host_tier{kUnknown};

}  // namespace

SimdTier HostSimdTier() {
    int tier = g_host_tier.load(std::memory_order_acquire);
    if (tier == kUnknown) {
        // x86-64 always has SSE2; AVX2 needs the processor and the OS.
        CpuidRegisters r{};
        const bool sse2 = PlatformCpuid(1, &r) && ((r.edx >> 26) & 1u);
        tier = int(PlatformHasAvx2() ? SimdTier::Avx2 : sse2 ? SimdTier::Sse2 : SimdTier::Plain);
        g_host_tier.store(tier, std::memory_order_release);  // every thread computes the same
    }
    return SimdTier(tier);
}

SimdTier ActiveSimdTier() {
    EnsureProcessorFeatures();
    if (SimdLevel.load(std::memory_order_acquire) < SIMD_MMX) return SimdTier::Plain;
    return HostSimdTier();
}

}  // namespace lumacore

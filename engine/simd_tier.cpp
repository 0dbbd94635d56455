#include "engine/simd_tier.h"

#include <atomic>

#include "platform/cpu_features.h"

namespace lumacore {
namespace {

constexpr int kUnknown = -1;
std::atomic<int> g_host_tier{kUnknown};

}  // namespace

SimdTier HostSimdTier() {
    int tier = g_host_tier.load(std::memory_order_acquire);
    if (tier == kUnknown) {
        const std::uint32_t features = VectorFeatures();
        tier = int(features & VEC_AVX512 ? SimdTier::Avx512
                   : features & VEC_AVX2 ? SimdTier::Avx2
                   : features & VEC_SSE2 ? SimdTier::Sse2
                                         : SimdTier::Plain);
        g_host_tier.store(tier, std::memory_order_release);  // every thread computes the same
    }
    return SimdTier(tier);
}

std::uint32_t FeaturesUpTo(SimdTier tier) {
    constexpr std::uint32_t kSse2 = VEC_SSE2 | VEC_SSSE3, kAvx2 = kSse2 | VEC_AVX2;
    static constexpr std::uint32_t kUpTo[kSimdTierCount] = {0, kSse2, kAvx2, kAvx2 | VEC_AVX512};
    return VectorFeatures() & kUpTo[int(tier)];
}

SimdTier ActiveSimdTier() {
    EnsureProcessorFeatures();
    if (SimdLevel.load(std::memory_order_acquire) < SIMD_MMX) return SimdTier::Plain;
    return HostSimdTier();
}

}  // namespace lumacore

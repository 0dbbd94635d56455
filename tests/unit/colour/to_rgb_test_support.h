// Helpers of the colour tests: the host's tiers and a processor level held
// for one test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/simd_tier.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {

constexpr std::uint8_t kCanary = 0xA5;

inline std::vector<lumacore::SimdTier> VectorTiers() {
    std::vector<lumacore::SimdTier> tiers;
    for (int t = 1; t <= int(lumacore::HostSimdTier()); ++t) tiers.push_back(lumacore::SimdTier(t));
    return tiers;
}

// The plain code and then the vector tiers.
inline std::vector<lumacore::SimdTier> AllTiers() {
    std::vector<lumacore::SimdTier> tiers{lumacore::SimdTier::Plain};
    for (lumacore::SimdTier t : VectorTiers()) tiers.push_back(t);
    return tiers;
}

inline const char* TierName(lumacore::SimdTier tier) {
    return tier == lumacore::SimdTier::Avx2 ? "avx2" : tier == lumacore::SimdTier::Sse2 ? "sse2" : "plain";
}

// The processor level the routines see while this lives.
class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(std::uint32_t level) {
        lumacore::EnsureProcessorFeatures();
        saved_ = lumacore::SimdLevel.load();
        lumacore::SimdLevel.store(level);
    }
    ~ScopedSimdLevel() { lumacore::SimdLevel.store(saved_); }
    ScopedSimdLevel(const ScopedSimdLevel&) = delete;
    ScopedSimdLevel& operator=(const ScopedSimdLevel&) = delete;

private:
    std::uint32_t saved_;
};

}  // namespace lumacore_test

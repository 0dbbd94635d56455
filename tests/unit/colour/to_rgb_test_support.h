// Helpers of the Y'CbCr to RGB tests: seeded noise, frames of exact size
// (so the address sanitizer sees any read past them), the host's tiers and a
// processor level held for one test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/simd_tier.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {

// v210 words of random 10-bit samples (bits 30 and 31 random too: ignored).
inline Bytes V210Noise(std::size_t n, std::uint32_t seed) { return Random(n, seed ^ 0x5A5A5A5Au); }

inline std::vector<lumacore::SimdTier> VectorTiers() {
    std::vector<lumacore::SimdTier> tiers;
    for (int t = 1; t <= int(lumacore::HostSimdTier()); ++t) tiers.push_back(lumacore::SimdTier(t));
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

// Widths every variant is tried at: 1 to 64 and the common video widths.
inline std::vector<std::uint32_t> TestWidths() {
    std::vector<std::uint32_t> w;
    for (std::uint32_t i = 1; i <= 64; ++i) w.push_back(i);
    for (std::uint32_t v : {352u, 640u, 704u, 720u, 800u, 854u, 1280u, 1920u, 2048u, 3840u}) w.push_back(v);
    return w;
}

constexpr std::uint8_t kCanary = 0xA5;

}  // namespace lumacore_test

// Helpers of the colour tests: seeded noise, the host's tiers, a processor
// level held for one test and the frame sizes the tiers are compared at.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/simd_tier.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {

constexpr std::uint8_t kCanary = 0xA5;

// v210 words of random 10-bit samples (bits 30 and 31 random too: ignored).
inline Bytes V210Noise(std::size_t n, std::uint32_t seed) { return Random(n, seed ^ 0x5A5A5A5Au); }

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

// Frames the tiers' line loops are compared at (the kernels themselves are
// compared line by line elsewhere): odd widths, widths on either side of the
// kernels' blocks (8, 16, 24, 32 and 48 pixels) and of the v210 chunk (384),
// heights 1 to 3.
struct FrameSize {
    std::uint32_t w, h;
};
constexpr FrameSize kFrameSizes[] = {{1, 1},  {2, 3},  {3, 2},  {7, 1},   {8, 3},   {9, 2},   {15, 1},  {16, 2},
                                     {17, 3}, {23, 2}, {24, 1}, {25, 3},  {31, 3},  {32, 1},  {33, 2},  {47, 3},
                                     {48, 2}, {49, 1}, {65, 3}, {97, 2},  {383, 1}, {384, 2}, {385, 3}, {1281, 2}};

}  // namespace lumacore_test

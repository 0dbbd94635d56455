// Kernel tables. Each family of kernels is a struct of function pointers
// that starts as the family's plain functions; every instruction set the
// processor has then overrides the entries it implements, lowest set first,
// so the widest set with a kernel wins and a narrower one serves where the
// wider has none. A table is resolved once per tier, at its first use.
//
// A new instruction set for a family is one file of kernels defining its
// install function, plus one line in the family's list of overrides.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/simd_tier.h"

namespace lumacore {

// The entries one instruction set overrides, and the features it needs.
template <class Table>
struct TierOverride {
    std::uint32_t needs;
    void (*install)(Table&);
};

// Applies, in order, every override whose features are all in `features`.
template <class Table, std::size_t N>
Table Override(Table table, const TierOverride<Table> (&overrides)[N], std::uint32_t features) {
    for (const TierOverride<Table>& o : overrides)
        if ((features & o.needs) == o.needs) o.install(table);
    return table;
}

// The table of `tier`, built from `Build(FeaturesUpTo(tier))` for every tier
// at the first use and kept for the life of the process.
template <class Table, Table (*Build)(std::uint32_t features)>
const Table& KernelsFor(SimdTier tier) {
    static const std::array<Table, kSimdTierCount> tables = [] {
        std::array<Table, kSimdTierCount> built{};
        for (int t = 0; t < kSimdTierCount; ++t) built[t] = Build(FeaturesUpTo(SimdTier(t)));
        return built;
    }();
    return tables[int(tier)];
}

// Work on `total` items of a line by the tiers from `tier` down to SSE2, each
// taking what its blocks can of what the wider one left: step(t, done)
// converts from item `done` on with tier t and returns how many it did.
template <class Step>
std::uint32_t ByNarrowingTiers(SimdTier tier, std::uint32_t total, Step step) {
    std::uint32_t done = 0;
    for (int t = int(tier); t > int(SimdTier::Plain) && done < total; --t) done += step(SimdTier(t), done);
    return done;
}

}  // namespace lumacore

// Byte buffers for the unit tests: random contents that repeat for a seed
// (so a failure repeats), and where two buffers first differ.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumacore_test {

using Bytes = std::vector<std::uint8_t>;

// Eight bytes a step from a 64-bit xorshift: quick even at frame sizes in a
// debug build.
inline void FillRandom(std::uint8_t* p, std::size_t n, std::uint32_t seed) {
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i < n; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        std::memcpy(p + i, &x, std::min<std::size_t>(8, n - i));
    }
}

inline Bytes Random(std::size_t n, std::uint32_t seed) {
    Bytes b(n);
    FillRandom(b.data(), n, seed);
    return b;
}

// -1 when equal, else the first index that differs (-2: sizes differ).
inline long FirstDifference(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size()) return -2;
    const auto it = std::mismatch(a.begin(), a.end(), b.begin());
    return it.first == a.end() ? -1 : long(it.first - a.begin());
}

}  // namespace lumacore_test

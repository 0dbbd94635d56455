// The group loops of the 16-byte v210 kernels (SSE2 and SSSE3), written once
// over a tier's one-group function. Include only from a file compiled for
// SSE2 or wider.
#pragma once

#include "engine/simd/isa_namespace.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace v210_loops {

inline __m128i Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// `groups` groups of twelve 8-bit samples to v210 words; `pack` turns the
// group in bytes 0-11 of a register into its four words. A 16-byte load takes
// four bytes of the next group: fine for every group but the last, which is
// loaded from four bytes before it when there are such.
template <class Pack>
std::uint32_t PackGroups(Pack pack, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    if (groups == 0) return 0;
    std::uint32_t g = 0;
    for (; g + 4 < groups; g += 4) {
        const __m128i a = Load(src + 12 * g), b = Load(src + 12 * g + 12), c = Load(src + 12 * g + 24),
                      d = Load(src + 12 * g + 36);
        Store(dst + 16 * g, pack(a));
        Store(dst + 16 * g + 16, pack(b));
        Store(dst + 16 * g + 32, pack(c));
        Store(dst + 16 * g + 48, pack(d));
    }
    for (; g + 1 < groups; ++g) Store(dst + 16 * g, pack(Load(src + 12 * g)));
    __m128i last;
    if (g > 0) {
        last = _mm_srli_si128(Load(src + 12 * g - 4), 4);
    } else {
        std::uint8_t bytes[16] = {};
        std::memcpy(bytes, src, 12);
        last = Load(bytes);
    }
    Store(dst + 16 * g, pack(last));
    return groups;
}

// `groups` v210 groups to twelve 8-bit samples each; `unpack` turns a group's
// four words into its twelve bytes, in bytes 0-11. Each group's 16-byte
// store spills four bytes that the next group's store overwrites; the last
// group stores exactly twelve.
template <class Unpack>
std::uint32_t UnpackGroups(Unpack unpack, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    if (groups == 0) return 0;
    std::uint32_t g = 0;
    for (; g + 4 < groups; g += 4) {
        const __m128i a = unpack(Load(src + 16 * g)), b = unpack(Load(src + 16 * g + 16)),
                      c = unpack(Load(src + 16 * g + 32)), d = unpack(Load(src + 16 * g + 48));
        Store(dst + 12 * g, a);
        Store(dst + 12 * g + 12, b);
        Store(dst + 12 * g + 24, c);
        Store(dst + 12 * g + 36, d);
    }
    for (; g + 1 < groups; ++g) Store(dst + 12 * g, unpack(Load(src + 16 * g)));
    const __m128i last = unpack(Load(src + 16 * g));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12 * g), last);
    const int tail = _mm_cvtsi128_si32(_mm_srli_si128(last, 8));
    std::memcpy(dst + 12 * g + 8, &tail, 4);
    return groups;
}

}  // namespace v210_loops
}  // namespace LUMACORE_ISA
}  // namespace lumacore

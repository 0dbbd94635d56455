// Writing lines past the cache, shared by the copy and reorder kernels of
// every tier. Include only from a file compiled for SSE2 or wider.
#pragma once

#include "engine/simd/isa_namespace.h"

#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>

namespace lumacore {
inline namespace LUMACORE_ISA {

// One line of `n` bytes: the destination's whole 64-byte cache lines through
// `stream64(dst, src)` (streaming stores), the partial cache lines at either
// end through `cached(dst, src, count)`, so that no cache line mixes the two
// kinds of store (which costs a trip to memory). Needs n >= 128. No fence.
template <class Cached, class Stream64>
inline void StreamLine(std::uint8_t* dst, const std::uint8_t* src, std::size_t n, Cached cached,
                       Stream64 stream64) {
    const std::size_t head = (0 - reinterpret_cast<std::uintptr_t>(dst)) & 63;
    cached(dst, src, head);
    std::size_t i = head;
    for (; i + 64 <= n; i += 64) stream64(dst + i, src + i);
    cached(dst + i, src + i, n - i);
}

// `line(dst, src)` for `lines` lines, line k from src + k * src_step to
// dst + k * dst_step; then, if any of them streamed, one fence for the whole
// run rather than one a line (streaming stores are weakly ordered).
template <class Line>
inline void EachLine(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src, std::ptrdiff_t src_step,
                     std::uint32_t lines, bool streamed, Line line) {
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(lines); ++k) line(dst + k * dst_step, src + k * src_step);
    if (streamed) _mm_sfence();
}

}  // namespace LUMACORE_ISA
}  // namespace lumacore

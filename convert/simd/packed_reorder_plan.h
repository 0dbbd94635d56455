// The line plan of every vector tier's pair reorders, written once over a
// tier's record `Moves<R>` for each reorder R:
//   Moves<R>::Cached(dst, src, n)   n bytes of whole pairs, through the cache
//   Moves<R>::Stream64(dst, src)    one 64-byte cache line, streaming stores
// Include only from a file compiled for SSE2 or wider.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "convert/simd/packed_reorder_kernels.h"
#include "convert/simd/streamed_lines.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace reorder_plan {

template <class M>
void Line(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs, bool stream) {
    const std::size_t n = std::size_t(pairs) * 4;
    // The cache-line boundary must fall between pairs, so the destination
    // must start on one.
    if (stream && n >= 256 && (reinterpret_cast<std::uintptr_t>(dst) & 3) == 0)
        StreamLine(dst, src, n, M::Cached, M::Stream64);
    else
        M::Cached(dst, src, n);
}

template <template <Reorder> class Moves>
void Lines(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
           std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream) {
    using LineFn = void (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t, bool);
    static constexpr LineFn kLines[] = {Line<Moves<Reorder::Swap16>>, Line<Moves<Reorder::SwapChroma>>,
                                        Line<Moves<Reorder::RotateFront>>, Line<Moves<Reorder::RotateBack>>};
    const LineFn line = kLines[int(reorder)];
    EachLine(dst, dst_step, src, src_step, lines, stream,
             [&](std::uint8_t* d, const std::uint8_t* s) { line(d, s, pairs, stream); });
}

}  // namespace reorder_plan
}  // namespace LUMACORE_ISA
}  // namespace lumacore

// The plan that every vector tier's block copies follow, written once over a
// tier's record of moves `M`:
//   M::Short(dst, src, count)                              any count up to 256
//   M::template Long<kStream, kPrefetch>(dst, src, count)  count > 256
//   M::template AlignedBlocks<kStream>(dst, src, count)    count > 256, both
//                                                          ends 128-byte aligned
//   M::Stream64(dst, src)                                  one 64-byte line of
//                                                          streaming stores
// Include only from a file compiled for SSE2 or wider.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/simd/isa_namespace.h"
#include "convert/simd/copy_bytes_kernels.h"
#include "convert/simd/streamed_lines.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace copy_plan {

// Fewer than 16 bytes: the first and the last 8, 4 or 2, whichever fits
// (overlapping in the middle), or the one byte.
inline void CopyUnder16(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    const auto both_ends = [&](auto unit) {
        constexpr std::size_t n = sizeof unit;
        decltype(unit) head, tail;
        std::memcpy(&head, src, n);
        std::memcpy(&tail, src + count - n, n);
        std::memcpy(dst, &head, n);
        std::memcpy(dst + count - n, &tail, n);
    };
    if (count >= 8) {
        both_ends(std::uint64_t{});
    } else if (count >= 4) {
        both_ends(std::uint32_t{});
    } else if (count >= 2) {
        both_ends(std::uint16_t{});
    } else if (count == 1) {
        dst[0] = src[0];
    }
}

template <class M>
void Blocks64(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count <= 256) {
        M::Short(dst, src, count);
    } else if (count < kCopyStreamFromBytes) {
        M::template Long<false, false>(dst, src, count);
    } else {
        M::template Long<true, false>(dst, src, count);
    }
}

template <class M>
void Aligned128(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count <= 256) {
        M::Short(dst, src, count);
    } else if (((reinterpret_cast<std::uintptr_t>(dst) | reinterpret_cast<std::uintptr_t>(src)) & 127) != 0) {
        Blocks64<M>(dst, src, count);
    } else if (count < kCopyStreamFromBytes) {
        M::template AlignedBlocks<false>(dst, src, count);
    } else {
        M::template AlignedBlocks<true>(dst, src, count);
    }
}

template <class M>
void Streaming(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count <= 256) {
        M::Short(dst, src, count);
    } else if (count < kCopyStreamFromBytes) {
        // Below streaming sizes the processor's own prefetcher keeps up
        // (software prefetching measured no faster), and a non-temporal hint
        // would only risk pushing a source that fits the caches out of them.
        M::template Long<false, false>(dst, src, count);
    } else {
        M::template Long<true, true>(dst, src, count);
    }
}

template <class M>
void LinesStreaming(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src, std::ptrdiff_t src_step,
                    std::uint32_t count, std::uint32_t lines) {
    EachLine(dst, dst_step, src, src_step, lines, true, [count](std::uint8_t* d, const std::uint8_t* s) {
        if (count <= 256)
            M::Short(d, s, count);
        else
            StreamLine(d, s, count, M::Short, M::Stream64);
    });
}

}  // namespace copy_plan
}  // namespace LUMACORE_ISA
}  // namespace lumacore

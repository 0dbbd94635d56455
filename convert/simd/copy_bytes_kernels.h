// The renditions of the block-copy variants, by vector tier. Each kernel
// copies exactly `count` bytes from src to dst (the areas do not overlap),
// for any count, and writes nothing outside the destination; they differ only
// in the moves they use.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/copy_bytes.h"
#include "engine/simd_tier.h"

namespace lumacore {

using CopyKernel = void (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// Counts up to 256 bytes, in a few overlapping moves instead of a loop
// (CopyBytes uses them below 128; the other kernels up to 256).
void CopyShortSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);
void CopyShortAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// One vector register's width per move: unaligned loads, aligned stores.
void CopyBlocks64Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);
void CopyBlocks64Avx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// 128-byte blocks of aligned moves when both ends are 128-byte aligned, else
// as the Blocks64 kernel of the same tier.
void CopyAligned128Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);
void CopyAligned128Avx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// As the Blocks64 kernel, with the source prefetched ahead of the loads once
// the copy is large enough for streaming stores.
// Reading each 8 KiB chunk of the source backwards before copying it, to pull
// it into the cache, measured at half the speed: today's prefetchers follow
// forward streams and lose them on a backward walk.
void CopyStreamingSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);
void CopyStreamingAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// `count` bytes on each of `lines` lines, line k from src + k * src_step to
// dst + k * dst_step (a step may be negative), every line with streaming
// stores and one fence after the last: for runs of lines that together are as
// large as a copy that streams.
using CopyLinesKernel = void (*)(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                                 std::ptrdiff_t src_step, std::uint32_t count, std::uint32_t lines);
void CopyLinesStreamingSse2(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                            std::ptrdiff_t src_step, std::uint32_t count, std::uint32_t lines);
void CopyLinesStreamingAvx2(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                            std::ptrdiff_t src_step, std::uint32_t count, std::uint32_t lines);

// The kernel table: the copy for counts below 128 bytes, each variant's
// copy, and the streamed lines (none without vector moves).
struct CopyKernels {
    CopyKernel short_copy;
    CopyKernel variants[4];  // by CopyVariant
    CopyLinesKernel streaming_lines;
};
void InstallCopySse2(CopyKernels& k);
void InstallCopyAvx2(CopyKernels& k);
const CopyKernels& CopyKernelsFor(SimdTier tier);

// Copies of this many bytes or more use streaming stores, in every tier.
// Streaming stores bypass the caches. That pays only when the copy could not
// stay in the cache anyway: a copy through the cache holds 2 x count bytes of
// lines, and once they no longer fit in the last level, every store first
// fetches a line it is about to overwrite. Measured on one core with a 32 MiB
// last-level cache: at 8 MiB ordinary stores are about 15% faster, at 12 MiB
// streaming stores about 10% faster, at 16 to 32 MiB about 40% faster; the
// crossover lies near 10 MiB. Full-size frames of 2 to 4 bytes per pixel at
// 1920x1080 (4 to 8 MiB) stay below it, those at 3840x2160 go above.
inline constexpr std::uint32_t kCopyStreamFromBytes = 10u << 20;

// Distance of the source prefetch in the Streaming kernels: eight cache lines.
inline constexpr std::uint32_t kCopyPrefetchAhead = 512;

}  // namespace lumacore

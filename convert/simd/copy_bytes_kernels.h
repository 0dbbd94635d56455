// The SSE2 renditions of the block-copy variants. Each copies exactly `count`
// bytes from src to dst (the areas do not overlap), for any count, and writes
// nothing outside the destination; they differ only in the moves they use.
#pragma once

#include <cstdint>

namespace lumacore {

// Counts below 128 bytes, with overlapping vector moves instead of a loop.
void CopyShortSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// 64 bytes per step through unaligned loads and aligned stores.
void CopyBlocks64Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// 128-byte blocks of aligned moves when both ends are 128-byte aligned, else
// as CopyBlocks64Sse2.
void CopyAligned128Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// As CopyBlocks64Sse2 with the source prefetched ahead of the loads.
void CopyStreamingSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

}  // namespace lumacore

// One v210 line to RGB, for the converters and kernels that read v210: the
// plain tier takes each group apart and converts its pixels one by one; a
// vector tier unpacks whole groups into pair words a chunk at a time (the
// chunk stays in the first-level cache), runs the program over whole blocks
// and converts the rest of the chunk pixel by pixel, with the same function.
// A line's groups may run into the next line (pitches shorter than whole
// groups); nothing past the frame's last line is read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/simd/to_rgb_simd.h"
#include "colour/to_rgb_program.h"

namespace lumacore {

// Pixels unpacked at a time: whole groups and whole blocks, a 1920-pixel line
// at once (the pair program's constants are set up once a chunk).
inline constexpr std::uint32_t kV210Chunk = 1920;
static_assert(kV210Chunk % 6 == 0 && kV210Chunk % kAvx512BlockPixels == 0 && kV210Chunk % kAvx2BlockPixels == 0 &&
              kV210Chunk % kSse2BlockPixels == 0);

// Bytes a line may read: its whole groups, or fewer when the frame ends
// first (`rest`: the bytes from the line's start to the end of the frame).
inline std::size_t V210Readable(std::uint32_t width, std::uint64_t rest) {
    const std::uint64_t groups = 16 * ((std::uint64_t(width) + 5) / 6);
    return std::size_t(rest < groups ? rest : groups);
}

// Unpacks group `g` of a line of which `readable` bytes may be read: the
// bytes of a group past them read as zero.
inline void UnpackV210GroupWithin(const std::uint8_t* line, std::uint32_t g, std::size_t readable,
                                  std::uint32_t* y_pairs, std::uint32_t* c_pairs) {
    const std::size_t start = 16 * std::size_t(g);
    if (start + 16 <= readable) return UnpackV210Group(line + start, y_pairs, c_pairs);
    std::uint8_t group[16] = {};
    for (std::size_t i = start; i < readable; ++i) group[i - start] = line[i];
    UnpackV210Group(group, y_pairs, c_pairs);
}

// `pixel(out, y, cb, cr)` writes one pixel of 10-bit samples at `out`;
// `size` is the bytes a pixel takes. Pixel i of a line uses pair i / 2 of
// its group, so the last pixel of an odd width has its own pair's chroma.
template <class PixelFn>
void ConvertV210Line(SimdTier tier, const PairProgram* program, std::uint8_t* out, const std::uint8_t* in,
                     std::uint32_t width, std::size_t readable, std::uint32_t size, PixelFn pixel) {
    auto pixels = [&](std::uint8_t* o, const std::uint32_t* y_pairs, const std::uint32_t* c_pairs,
                      std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t i = first; i < end; ++i) {
            const std::uint32_t yw = y_pairs[i / 2], cw = c_pairs[i / 2];
            pixel(o + std::size_t(i) * size, std::int32_t(i & 1 ? yw >> 16 : yw & 0xFFFF),
                  std::int32_t(cw & 0xFFFF), std::int32_t(cw >> 16));
        }
    };
    if (!program || PairBlockPixels(tier) == 0) {
        for (std::uint32_t x = 0; x < width; x += 6) {
            std::uint32_t y_pairs[3], c_pairs[3];
            UnpackV210GroupWithin(in, x / 6, readable, y_pairs, c_pairs);
            pixels(out + std::size_t(x) * size, y_pairs, c_pairs, 0, width - x < 6 ? width - x : 6);
        }
        return;
    }
    const std::uint32_t whole_groups = std::uint32_t(readable / 16);
    // Tiers that read groups straight into registers take what they can of
    // the line (whole pairs, not always whole groups); the rest is unpacked a
    // chunk at a time, from the group the first pixel left is in.
    const std::uint32_t start = RunPairBlocks(tier, *program, PairSource::V210, out, in, nullptr, nullptr,
                                              6 * whole_groups < width ? 6 * whole_groups : width);
    alignas(32) std::uint32_t y_pairs[kV210Chunk / 2 + 8], c_pairs[kV210Chunk / 2 + 8];
    for (std::uint32_t x = start; x < width; x += kV210Chunk) {
        const std::uint32_t n = width - x < kV210Chunk ? width - x : kV210Chunk;
        const std::uint32_t first = x / 6, skip = (x - 6 * first) / 2;  // pairs of the first group done already
        const std::uint32_t groups = (2 * skip + n + 5) / 6;
        const std::uint32_t left = whole_groups > first ? whole_groups - first : 0;
        const std::uint32_t whole = left < groups ? left : groups;
        UnpackV210Pairs(tier, in + std::size_t(first) * 16, whole, y_pairs, c_pairs);
        for (std::uint32_t g = whole; g < groups; ++g)
            UnpackV210GroupWithin(in, first + g, readable, y_pairs + 3 * g, c_pairs + 3 * g);
        std::uint8_t* chunk_out = out + std::size_t(x) * size;
        const std::uint32_t done = RunPairBlocks(tier, *program, PairSource::Pairs16, chunk_out, y_pairs + skip,
                                                 c_pairs + skip, nullptr, n);
        pixels(chunk_out, y_pairs + skip, c_pairs + skip, done, n);
    }
}

}  // namespace lumacore

// The vector code's description of a Y'CbCr to RGB conversion: where the
// samples of pixel pairs come from, how one pair's sums are formed and
// finished, and how the results are packed. Each converter and kernel builds
// the program that gives exactly its own bytes; the vector tiers run it over
// whole blocks of pairs, and the plain code converts what is left of a line.
#pragma once

#include <cstdint>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_k13_tables.h"
#include "colour/to_rgb_lut_tables.h"
#include "colour/to_rgb_pixels.h"
#include "engine/simd_tier.h"

namespace lumacore {

// Where one line's pairs are read.
enum class PairSource : std::uint8_t {
    Planar8,  // luma bytes; one Cb and one Cr byte per pair, in planes
    Uyvy,     // four bytes a pair: Cb Y0 Cr Y1
    Yuy2,     // Y0 Cb Y1 Cr
    Yvyu,     // Y0 Cr Y1 Cb
    Pairs16,  // unpacked pairs: 32-bit words Y0 | Y1 << 16 and Cb | Cr << 16
    V210,     // v210 groups of a line, of which the first pixels / 6 may be read; only the
              // tiers with two-register byte permutes read them, for 13-bit programs, in
              // runs of three blocks
};

// How a sum becomes an output byte (before the clamp to 0..255).
enum class PairFinish : std::uint8_t {
    Divide10000,  // divided by 10000, truncated toward zero
    Shift6,       // arithmetic shift right by 6
    Shift13,      // arithmetic shift right by 13
    LutFields,    // a 10-bit field of summed table entries, less its bias
};

enum class PairStore : std::uint8_t {
    Rgb32,            // slots 0..3 are bytes 0..3
    Rgb32KeepFourth,  // slots 0..2 are bytes 0..2; byte 3 keeps what it held
    Rgb24,            // slots 0..2 are bytes 0..2
    Rgb555,           // slot 0 >> 3 in bits 14..10, slot 1 >> 3 in 9..5, slot 2 >> 3 in 4..0
    Rgb565,           // slot 0 >> 3 in bits 15..11, slot 1 >> 2 in 10..5, slot 2 >> 3 in 4..0
};

// One output channel: sum = luma term + cb Cb' + cr Cr' + bias, finished. A
// constant slot (constant >= 0) is that byte whatever the samples. A table
// slot takes field `field` (0 blue, 1 green, 2 red) less `bias`.
struct PairSlot {
    std::int16_t cb = 0;
    std::int16_t cr = 0;
    std::int32_t bias = 0;
    std::int16_t constant = -1;
    std::int8_t field = 0;
};

struct PairProgram {
    PairFinish finish = PairFinish::Divide10000;
    PairStore store = PairStore::Rgb32;
    std::int16_t luma_offset = 0;
    std::int16_t chroma_offset = 0;
    std::int16_t luma_gain = 0;  // the luma term is luma_gain (Y - luma_offset)
    PairSlot slots[4];
    const LutSet* lut = nullptr;  // LutFields only: the luma term and chroma entries come from here
    // Rgb32 only: write whole cache lines with streaming stores, which bypass
    // the cache (frames too large to stay in it). The vector tiers stream the
    // blocks of a line that starts on a cache line; RunPairBlocks and
    // RunTwoLinePairBlocks first convert a line's pixels before one apart. FenceStreamedStores orders
    // them before another thread reads the frame.
    bool stream = false;
};

constexpr std::uint32_t PairStoreBytes(PairStore store) {
    return store == PairStore::Rgb24 ? 3u : store == PairStore::Rgb555 || store == PairStore::Rgb565 ? 2u : 4u;
}

// The generic converters: exact coefficients, truncating division. `bits` 15,
// 16, 24 or 32 (others write nothing and have no program).
bool GenericProgram(const ToRgbCoefficients& k, int bits, RgbChannelOrder order, PairProgram* out);

// 6-bit kernels: 16 (5-5-5, red high), 24 (B G R), 32 (B G R and the luma term).
PairProgram K6Program(const K6Set& set, int bits);

// 13-bit kernels: the four bytes of a 32-bit pixel from the rows of one
// channel order's layout.
PairProgram K13Program(const K13Layout& layout, std::int32_t luma_offset, std::int32_t chroma_offset);

// Table kernels: 16 (5-5-5, red high), 24 (B G R), 32 (B G R, byte 3 kept).
PairProgram LutProgram(const LutSet& set, int bits);

// Whether a 6-bit program on packed 8-bit pairs can run in 16-bit words: its
// luma term, and each slot's chroma term plus bias, always fit a signed word
// (no constant slots).
bool ShiftSixFitsWords(const PairProgram& program, PairSource source);

// Pixels per block of the vector tiers (0 for the plain tier).
std::uint32_t PairBlockPixels(SimdTier tier);

// Where to go on with a line of `pixels` whose first `done` were converted
// in `tier`'s blocks: where fewer pairs than a block are left, the start of
// the block that ends on the line's last pair, so that one more of the
// tier's blocks converts them (writing some pixels a second time, with the
// same bytes) instead of the narrower tiers' smaller blocks and their setup;
// else `done`.
std::uint32_t OverlapStart(SimdTier tier, std::uint32_t done, std::uint32_t pixels);


// Converts the whole blocks of a line's first `pixels` pixels with a vector
// tier, the narrower tiers' smaller blocks taking what they can of the rest,
// and returns how many pixels it wrote from the line's start (an even
// count; 0 for the plain tier).
// Only whole pairs are read. `a`, `b`, `c`: the luma,
// Cb and Cr rows (Planar8), the line (packed sources), or the Y and C pair
// words (Pairs16).
std::uint32_t RunPairBlocks(SimdTier tier, const PairProgram& program, PairSource source, std::uint8_t* dst,
                            const void* a, const void* b, const void* c, std::uint32_t pixels);

// Two lines of planes sharing one chroma row (4:2:0): the whole blocks of
// their first `pixels` pixels where the tier has a kernel for the program
// (the fused division of AVX2 and up, 24- and 32-bit pixels), else 0.
// Streamed lines that start off a cache line, both by the same whole pairs,
// convert their first pixels on the side as RunPairBlocks does; lines off
// by other amounts give 0.
std::uint32_t RunTwoLinePairBlocks(SimdTier tier, const PairProgram& program, std::uint8_t* const dst[2],
                                   const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                                   std::uint32_t pixels);

// Orders the streaming stores this thread has made (after the last line of
// a frame or band whose program streamed).
void FenceStreamedStores(SimdTier tier);

// Unpacks `groups` v210 groups (16 bytes, six pixels) into pair words: three
// Y words and three C words per group. The arrays need room for two pairs
// beyond the last.
void UnpackV210Pairs(SimdTier tier, const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                     std::uint32_t* c_pairs);

// The clamp of sum / 10000 (truncated toward zero) of each of `count` sums,
// as a vector tier computes it (tests prove it over every reachable sum).
void DivideBy10000(SimdTier tier, const std::int32_t* sums, std::uint8_t* out, std::uint32_t count);

}  // namespace lumacore

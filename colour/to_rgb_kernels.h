// The fast Y'CbCr to RGB kernels. Each family defines its own bytes, which
// differ from the generic converters' in the last unit or two:
//   table kernels: per-sample table entries rounded to the nearest unit,
//     CCIR 601 only (expanding for odd matrix numbers);
//   6-bit kernels: gains in 1/64, sums rounded to nearest, CCIR 601 only;
//   13-bit kernels: gains in 1/8192 (1/2048 for 10-bit samples) of every
//     matrix, sums rounded toward minus infinity.
// Every kernel has a plain reference (SimdTier::Plain) and vector tiers that
// equal it byte for byte. Kernels need at least one pixel pair and one line;
// each line gets exactly `width` pixels, and with an odd width the last pixel
// takes the chroma of the pair to its left (8-bit sources) or of its own pair
// (v210, whose groups hold it).
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_lut_tables.h"
#include "engine/simd_tier.h"

namespace lumacore {

// Byte order of a packed 8-bit pair: Cb Y0 Cr Y1, or Y0 Cb Y1 Cr.
enum class KernelPairOrder : std::uint8_t { Uyvy, Yuy2 };

// Table and 6-bit kernels: `lines` source lines `src_pitch` apart, written to
// destination lines that start at `dst_first` and follow `dst_step` bytes
// apart (negative: each line above the one before). `bits` 16 gives 5-5-5
// words with red in bits 14..10; 24 gives bytes B G R; 32 gives B G R and, as
// fourth byte, nothing (table kernels: the byte keeps its value) or the
// pixel's own luma term (6-bit kernels).
void LutKernel(SimdTier tier, KernelPairOrder order, int bits, const LutSet& set, std::uint8_t* dst_first,
               std::ptrdiff_t dst_step, const std::uint8_t* src, std::uint32_t src_pitch, std::uint32_t width,
               std::uint32_t lines);
// `stream`: streaming stores where the tier can (PairProgram::stream).
void K6Kernel(SimdTier tier, KernelPairOrder order, int bits, const K6Set& set, std::uint8_t* dst_first,
              std::ptrdiff_t dst_step, const std::uint8_t* src, std::uint32_t src_pitch, std::uint32_t width,
              std::uint32_t lines, bool stream = false);

// 13-bit kernels to 32-bit pixels in any channel order with a fourth byte of
// 255, from UYVY-ordered 8-bit pairs or from v210 lines: source line y at
// src + y x src_pitch, the destination line chosen by FLAG_DEST_BOTTOM_UP,
// streaming stores by FLAG_STREAM_STORES (the caller fences them).
// They use the matrix's tables, built at its first use.
void K13Packed8ToRgb32(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                       std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                       std::uint32_t flags);
void K13V210ToRgb32(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                    std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                    std::uint32_t flags);

}  // namespace lumacore

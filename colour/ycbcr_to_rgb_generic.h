// The generic Y'CbCr to RGB converters: exact coefficients of every matrix,
// sums divided by 10000 truncating toward zero, then clamped to 0..255.
// Every other Y'CbCr to RGB conversion is built on these or on the kernels.
#pragma once

#include <cstdint>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_pixels.h"
#include "engine/simd_tier.h"

namespace lumacore {

// The chroma-rows argument: one chroma row per luma line (4:2:2), or one per
// two lines (4:2:0).
inline constexpr int kChromaRowPerTwoLines = 0;
inline constexpr int kChromaRowPerLine = 1;

// The layout argument: Y, Cb and Cr interleaved in four-byte pairs, or planes.
inline constexpr int kPackedLayout = 0;
inline constexpr int kPlanarLayout = 1;

// One pixel of the generic arithmetic (8-bit or 10-bit coefficients).
inline void GenericRgb(const ToRgbCoefficients& k, std::int32_t y, std::int32_t cb, std::int32_t cr,
                       std::uint32_t* r, std::uint32_t* g, std::uint32_t* b) {
    const std::int32_t ys = (y - k.luma_offset) * k.luma_gain;
    const std::int32_t cbs = cb - k.chroma_offset, crs = cr - k.chroma_offset;
    *r = Clamp255((ys + k.cr_to_r * crs) / kToRgbDivisor);
    *g = Clamp255((ys - k.cb_to_g * cbs - k.cr_to_g * crs) / kToRgbDivisor);
    *b = Clamp255((ys + k.cb_to_b * cbs) / kToRgbDivisor);
}

// Converts 8-bit Y'CbCr to RGB. Packed: `luma`, `cb` and `cr` point at the
// first Y, Cb and Cr byte of the first pair, pairs are four bytes and lines
// `src_pitch` apart. Planar: luma lines `src_pitch` apart, chroma rows
// `chroma_pitch` apart, one row per line or per two lines (`chroma_rows`).
// Both pixels of a pair share its Cb and Cr; with an odd width the last
// pixel takes the chroma of the pair to its left (a line one pixel wide,
// which holds no pair, converts with neutral chroma). Each line gets exactly
// `width` pixels; with FLAG_DEST_BOTTOM_UP source line 0 goes to the last
// destination line. `bits` 15, 16, 24 or 32 selects the packing; any other
// value writes nothing. Returns width x height x bytes per pixel (4 for a bit
// count that writes nothing).
std::uint32_t YCbCr8ToRgb(std::uint8_t* dst, const std::uint8_t* luma, const std::uint8_t* cb,
                          const std::uint8_t* cr, std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                          std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, int chroma_rows,
                          int layout, int bits, std::uint32_t chroma_pitch);

// Converts v210 lines (`src_pitch` apart; groups of four little-endian words
// for six pixels, the last group read whole) to RGB with the 10-bit
// coefficients; arguments and result as YCbCr8ToRgb. A line's last group may
// run into the next line; bytes past h x src_pitch are not read, they read as
// zero.
std::uint32_t V210ToRgb(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags,
                        int bits);

// The same with a given tier: the plain tier is the reference that defines
// the bytes; the vector tiers produce the same bytes (tests, benchmarks).
std::uint32_t YCbCr8ToRgbWith(SimdTier tier, std::uint8_t* dst, const std::uint8_t* luma, const std::uint8_t* cb,
                              const std::uint8_t* cr, std::uint32_t width, std::uint32_t height,
                              std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                              std::uint32_t flags, int chroma_rows, int layout, int bits, std::uint32_t chroma_pitch);
std::uint32_t V210ToRgbWith(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                            std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                            std::int32_t matrix, std::uint32_t flags, int bits);

}  // namespace lumacore

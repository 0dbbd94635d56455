// The vector line kernels behind the RGB to Y'CbCr routines, one set per
// tier. Each converts whole blocks of pixels from the start of a line and
// returns how many pixels (or pairs) it converted; the caller converts the
// rest with the plain code. They read and write nothing outside those
// blocks, and produce exactly the bytes of the plain code.
#pragma once

#include <cstdint>

#include "colour/rgb_to_ycbcr_pixel.h"
#include "engine/simd_tier.h"

namespace lumacore {

// Packed 4:2:2 byte orders of a pixel pair.
enum class PackedOrder : std::uint8_t {
    Uyvy,  // Cb Y'0 Cr Y'1
    Yuy2,  // Y'0 Cb Y'1 Cr
    Yvyu,  // Y'0 Cr Y'1 Cb
};

// 8-bit packed 4:2:2: Y' of both pixels of each pair, Cb and Cr of the left
// one. Returns the pairs converted.
std::uint32_t RgbToPacked8LineSse2(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                   const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs);
std::uint32_t RgbToPacked8LineAvx2(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                   const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs);
std::uint32_t RgbToPacked8LineAvx512(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                     const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs);

// 8-bit planar: Y' of every pixel of the pairs, and, when `cb` and `cr` are
// not null, Cb and Cr of each pair's left pixel. Returns the pairs converted.
std::uint32_t RgbToPlanar8LineSse2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                   std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs);
std::uint32_t RgbToPlanar8LineAvx2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                   std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs);
std::uint32_t RgbToPlanar8LineAvx512(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                     std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs);

// v210 in whole six-pixel groups from `src` on. The chroma filter starts
// from the 10-bit Cb and Cr of the pixel before the first (512 each at a
// line's start). Returns the pixels converted, a multiple of 6 no larger
// than `width`.
std::uint32_t RgbToV210LineSse2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                std::uint32_t before_cr);
std::uint32_t RgbToV210LineAvx2(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                std::uint32_t before_cr);
std::uint32_t RgbToV210LineAvx512(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                  std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                  std::uint32_t before_cr);

// How a sample is formed from its coefficient sum s: clamp(s / 10000 +
// offset) with the division truncating toward zero, to 0..255 (8 bits) or
// 0..1023 (10 bits). 10-bit luma is not clamped: no luma row reaches past
// 1023.
// The kernel table; the plain code converts every pair itself (null entries).
struct FromRgbKernels {
    decltype(&RgbToPacked8LineSse2) packed;
    decltype(&RgbToPlanar8LineSse2) planar;
    decltype(&RgbToV210LineSse2) v210;
};
void InstallFromRgbSse2(FromRgbKernels& k);
void InstallFromRgbAvx2(FromRgbKernels& k);
void InstallFromRgbAvx512(FromRgbKernels& k);
const FromRgbKernels& FromRgbKernelsFor(SimdTier tier);

enum class SampleKind : std::uint8_t { Luma8, Chroma8, Luma10, Chroma10 };

// The kernels' samples from given sums, for the tests that prove the vector
// division over every sum the tables can produce. Returns false where the
// tier is absent.
bool FromRgbSamplesSse2(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                        std::int32_t offset);
bool FromRgbSamplesAvx2(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                        std::int32_t offset);
bool FromRgbSamplesAvx512(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                          std::int32_t offset);

}  // namespace lumacore

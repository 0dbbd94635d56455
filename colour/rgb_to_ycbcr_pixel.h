// One RGB pixel to Y'CbCr samples: the arithmetic every RGB to Y'CbCr
// routine is defined by, and how the flags word places the colour bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/rgb_channel_order.h"
#include "colour/rgb_to_ycbcr_tables.h"

namespace lumacore {

// Bit 15 of the flags word: the RGB image is stored bottom line first.
inline constexpr std::uint32_t FLAG_SOURCE_BOTTOM_UP = 0x8000;

// Where a pixel's three colour bytes are: 3-byte pixels, or 4-byte pixels
// with the colour in bytes 0..2 or in bytes 1..3.
enum class RgbPixels : std::uint8_t { Three, FourLow, FourHigh };

struct RgbSourceLayout {
    RgbPixels pixels;
    std::uint32_t bytes_per_pixel;
    bool red_first;  // the colour bytes are R, G, B rather than B, G, R
};

// Reading side of the channel orders: any order other than the four named
// ones reads as ORDER_BGRX, in both bit depths. 32 bits per pixel means four
// bytes; any other count three.
constexpr RgbSourceLayout RgbSourceLayoutOf(int bits_per_pixel, std::uint32_t flags) {
    const std::uint32_t order = flags & 0x7FFFu;
    const bool known = order <= ORDER_XRGB;
    const bool red_first = known && (order == ORDER_RGBX || order == ORDER_XRGB);
    if (bits_per_pixel != 32) return {RgbPixels::Three, 3, red_first};
    const bool high = known && (order == ORDER_XBGR || order == ORDER_XRGB);
    return {high ? RgbPixels::FourHigh : RgbPixels::FourLow, 4, red_first};
}

// A matrix row rearranged for one source layout: coefficients by the
// position of the colour byte they multiply (0, 1, 2), the offsets, and the
// largest sample value.
struct PixelCoefficients {
    std::int32_t y[3];
    std::int32_t cb[3];
    std::int32_t cr[3];
    std::int32_t y_offset;
    std::int32_t c_offset;
    std::int32_t max;
};

constexpr PixelCoefficients PixelCoefficientsFor(const FromRgbMatrix& m, bool red_first, std::int32_t c_offset,
                                                 std::int32_t max) {
    // Table rows are R, G, B; byte 0 holds B unless the order is red first.
    const int r = red_first ? 0 : 2, b = red_first ? 2 : 0;
    PixelCoefficients k{};
    k.y[r] = m.y[0], k.y[1] = m.y[1], k.y[b] = m.y[2];
    k.cb[r] = m.cb[0], k.cb[1] = m.cb[1], k.cb[b] = m.cb[2];
    k.cr[r] = m.cr[0], k.cr[1] = m.cr[1], k.cr[b] = m.cr[2];
    k.y_offset = m.y_offset;
    k.c_offset = c_offset;
    k.max = max;
    return k;
}

// The sum of one output component from the colour bytes at `p`.
inline std::int32_t ComponentSum(const std::int32_t (&k)[3], const std::uint8_t* p) {
    return k[0] * p[0] + k[1] * p[1] + k[2] * p[2];
}

// Divided by 10000 truncating toward zero (plain signed division), offset,
// clamped to 0..max.
inline std::int32_t ComponentSample(std::int32_t sum, std::int32_t offset, std::int32_t max) {
    const std::int32_t v = sum / 10000 + offset;
    return v < 0 ? 0 : v > max ? max : v;
}

// The colour bytes of pixel `x` of a line.
inline const std::uint8_t* ColourBytes(const std::uint8_t* line, RgbSourceLayout layout, std::uint32_t x) {
    return line + std::size_t(x) * layout.bytes_per_pixel + (layout.pixels == RgbPixels::FourHigh ? 1 : 0);
}

}  // namespace lumacore

// How the Y'CbCr to RGB conversions lay out RGB pixels: the flags word, the
// channel orders and the 15-, 16-, 24- and 32-bit packings.
#pragma once

#include <cstdint>

#include "colour/rgb_channel_order.h"

namespace lumacore {

// Bit 15 of the flags word: the RGB image is stored bottom-up, so source
// line 0 goes to the last destination line.
inline constexpr std::uint32_t FLAG_DEST_BOTTOM_UP = 0x8000;

// The channel order of a flags word; 4 and above write as ORDER_RGBX.
constexpr RgbChannelOrder ChannelOrderOf(std::uint32_t flags) {
    const std::uint32_t order = flags & 0x7FFFu;
    return order >= 4 ? ORDER_RGBX : RgbChannelOrder(order);
}

constexpr bool IsBottomUp(std::uint32_t flags) { return (flags & FLAG_DEST_BOTTOM_UP) != 0; }

// Bit 16: the frame is too large to stay in the cache, so the 32-bit kernels
// write it with streaming stores (the bytes are the same either way).
inline constexpr std::uint32_t FLAG_STREAM_STORES = 0x10000;

constexpr bool StreamsStores(std::uint32_t flags) { return (flags & FLAG_STREAM_STORES) != 0; }

// Blue leads in the two B-first orders (bytes, and the high bits of 15- and
// 16-bit words).
constexpr bool BlueFirst(RgbChannelOrder order) { return order == ORDER_BGRX || order == ORDER_XBGR; }

// The filler byte of 32-bit pixels comes first in the two X-first orders.
constexpr bool FillerFirst(RgbChannelOrder order) { return order == ORDER_XBGR || order == ORDER_XRGB; }

// Bytes per pixel that a converter counts for a bit count: anything that is
// not 15, 16 or 24 counts as 4 (even where nothing is written).
constexpr std::uint32_t CountedBytesPerPixel(int bits) {
    return bits == 15 || bits == 16 ? 2u : bits == 24 ? 3u : 4u;
}

// Bit counts that write pixels at all.
constexpr bool WritesPixels(int bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

inline void StoreWord(std::uint8_t* p, std::uint32_t word) {
    p[0] = std::uint8_t(word);
    p[1] = std::uint8_t(word >> 8);
}

// 5-5-5 with `high` in bits 14..10, `low` in bits 4..0, bit 15 zero.
constexpr std::uint32_t Pack555(std::uint32_t high, std::uint32_t g, std::uint32_t low) {
    return ((high >> 3) << 10) | ((g >> 3) << 5) | (low >> 3);
}

// 5-6-5 with `high` in bits 15..11.
constexpr std::uint32_t Pack565(std::uint32_t high, std::uint32_t g, std::uint32_t low) {
    return ((high >> 3) << 11) | ((g >> 2) << 5) | (low >> 3);
}

// Writes one pixel of 8-bit R, G, B in a packing and order; a bit count that
// is not 15, 16, 24 or 32 writes nothing.
inline void PutRgbPixel(std::uint8_t* p, int bits, RgbChannelOrder order, std::uint32_t r, std::uint32_t g,
                        std::uint32_t b) {
    const bool blue_first = BlueFirst(order);
    const std::uint32_t first = blue_first ? b : r, last = blue_first ? r : b;
    switch (bits) {
        case 15:
            StoreWord(p, Pack555(first, g, last));
            break;
        case 16:
            StoreWord(p, Pack565(first, g, last));
            break;
        case 24:
            p[0] = std::uint8_t(first);
            p[1] = std::uint8_t(g);
            p[2] = std::uint8_t(last);
            break;
        case 32:
            if (FillerFirst(order)) {
                p[0] = 0;
                p[1] = std::uint8_t(first);
                p[2] = std::uint8_t(g);
                p[3] = std::uint8_t(last);
            } else {
                p[0] = std::uint8_t(first);
                p[1] = std::uint8_t(g);
                p[2] = std::uint8_t(last);
                p[3] = 0;
            }
            break;
        default:
            break;
    }
}

constexpr std::uint32_t Clamp255(std::int32_t v) { return v < 0 ? 0u : v > 255 ? 255u : std::uint32_t(v); }

}  // namespace lumacore

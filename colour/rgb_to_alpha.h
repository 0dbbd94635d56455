// Alpha from the fourth byte of 32-bit RGB pixels into the alpha areas of
// the 4:2:2:4 layouts. Both have the RGB routines' shape; the destination
// pitch is not used (alpha lines have their own fixed length), and only
// FLAG_SOURCE_BOTTOM_UP of the flags counts. An odd matrix number (the
// standard-range matrices) maps alpha into video range.
#pragma once

#include <cstdint>

namespace lumacore {

// auv2: one byte a pixel, lines of w bytes back to back; a x 219 / 255 + 16
// under an odd matrix, a unchanged under an even one. Returns w x h.
std::uint32_t RgbAlphaToPlane8(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                               std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                               std::uint32_t flags);

// a12v: three 10-bit samples a little-endian word (bits 0-9, 10-19, 20-29);
// a x 876 / 255 + 64 under an odd matrix, a x 4 under an even one. Every
// line is whole words: line y starts at y x 4 x ((w + 2) / 3), and a last
// word with fewer than three pixels has its missing fields 0. Returns the
// area, h x 4 x ((w + 2) / 3).
std::uint32_t RgbAlphaToPacked10(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                                 std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                                 std::uint32_t flags);

}  // namespace lumacore

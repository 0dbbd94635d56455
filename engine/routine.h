// The shape every frame conversion routine shares.
#pragma once

#include <cstdint>

namespace lumacore {

// Converts a w x h frame from `src` (lines `src_pitch` bytes apart) to `dst`
// (lines `dst_pitch` apart) and returns the bytes it reports as written.
// Callers guarantee the buffers hold h lines of their pitch.
using ConvertRoutine = std::uint32_t (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                         std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch);

// Routines that read or write RGB also take the colour matrix and the flags
// word (bit 15: the RGB image is stored bottom-up; low bits: channel order).
using RgbConvertRoutine = std::uint32_t (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                            std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                                            std::int32_t matrix, std::uint32_t flags);

// The same for the lines [first, end) of an h-line frame only, with `src`
// and `dst` at the whole frame: for layouts whose lines depend on others'
// positions (planes), so that bands of a frame can be converted apart.
// `first` is a multiple of 4.
using RgbLinesRoutine = std::uint32_t (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                          std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                                          std::int32_t matrix, std::uint32_t flags, std::uint32_t first,
                                          std::uint32_t end);

}  // namespace lumacore

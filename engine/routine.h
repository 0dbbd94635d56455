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

}  // namespace lumacore

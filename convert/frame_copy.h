// Same-layout frame copies: straight and with the line order reversed.
#pragma once

#include "engine/routine.h"

namespace lumacore {

// Copies min(dst_pitch, src_pitch) bytes of every line (the whole frame in
// one run when the pitches are equal); destination bytes beyond are left as
// they were. Returns h x dst_pitch.
std::uint32_t CopyFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch);

// As CopyFrame, destination line i from source line h - 1 - i. Turns UYVY
// into its bottom-up twin and back.
std::uint32_t FlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch);

}  // namespace lumacore

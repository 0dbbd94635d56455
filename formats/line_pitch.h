// Line pitches and frame sizes as the conversions lay frames out.
#pragma once

#include <cstdint>

#include "formats/format_code.h"

namespace lumacore {

// The widest frame the codec converts. Every pitch of a frame up to this
// width fits in 32 bits with room to spare; wider headers are refused.
inline constexpr std::uint32_t kMaxFrameWidth = 1u << 24;

// Bytes a v210 line takes: whole 48-pixel blocks of 128 bytes, the padding
// every reader of v210 assumes.
std::uint32_t V210LinePitch(std::uint32_t width);

// The line alignments capture and playback boards ask for, as the settings
// of the same names hold them: only the value 1 of either asks for 128-byte
// lines (at widths 640 and 800 for VESA, 1280 for 720p boards).
struct BoardAlignment {
    std::int32_t board_align_720 = 0;
    std::int32_t board_align_VESA = 0;
};

// The pitch of destination lines of `code` at `width` pixels under the
// board alignments (width at most kMaxFrameWidth). RGB24 lines are DIB lines
// (a multiple of 4 bytes).
std::uint32_t DestinationLinePitch(const BoardAlignment& alignment, int code, std::uint32_t width);

// Bytes of the alpha area that follows the colour part of auv2 and a12v
// frames (0 for other codes). a12v alpha lines are whole 32-bit words of
// three samples.
std::uint64_t AlphaAreaSize(int code, std::uint32_t width, std::uint32_t height);

// Bytes of the colour part of a frame of `code` with luma lines `pitch`
// apart: h lines, or the whole planar frame (chroma planes at half the
// pitch; 4:2:0 chroma planes have (h + 1) / 2 rows).
std::uint64_t ColourPartSize(int code, std::uint32_t pitch, std::uint32_t height);

// The platform's size of a BI_RGB image: |h| lines of whole 32-bit words.
std::uint64_t DibImageSize(std::int32_t width, std::int32_t height, std::uint32_t bit_count);

// The bytes this codec writes for a frame of `code` without alignment
// settings, alpha area included; 0 when the size does not fit in 32 bits or
// the code has no layout.
std::uint32_t CodecFrameSize(int code, std::uint32_t width, std::uint32_t height);

}  // namespace lumacore

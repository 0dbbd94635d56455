// The conversion dispatcher: one whole frame from one layout to another.
#pragma once

#include <cstdint>

#include "formats/format_code.h"
#include "formats/line_pitch.h"
#include "platform/win32.h"

namespace lumacore {

// Converts the frame at `src` (described by `src_header`, `src_size` bytes
// stated; 0 means not stated) into `dst` (described by `dst_header`, room for
// `dst_capacity` bytes; 0 means not stated) and returns the extent of the
// destination frame written. Returns 0, writing nothing, when the pair has no
// routine, a header is unusable, or the frame would read past the stated
// source or write past the capacity. `matrix` goes to the RGB routines.
//
// With `threads` above 1 the colour part is converted on that many threads
// (the caller's and the thread pool's), in horizontal bands of a few per
// thread, where the cell's lines allow it: planar <-> RGB cells on bands of
// multiples of four lines, other cells where every line converts on its own
// (no planar side, no v210 line running into the next, no line reversal
// moving bytes the route does not write). The bytes are the same for any
// number of threads.
std::uint32_t ConvertFrame(const BoardAlignment& alignment, FormatCode src_code, const BITMAPINFOHEADER* src_header,
                           const void* src, std::uint32_t src_size, FormatCode dst_code,
                           const BITMAPINFOHEADER* dst_header, void* dst, std::uint32_t dst_capacity,
                           std::int32_t matrix, std::uint32_t threads = 1);

// How many threads, of at most `most`, a frame of `src_header`'s size from
// `src_code` to `dst_code` gains from: colour conversions from about 160,000
// pixels a band, repacks (which run near memory speed) from 2 million; 1 for
// smaller frames, where waking pool threads would cost more than it saves.
std::uint32_t BandsFor(FormatCode src_code, FormatCode dst_code, const BITMAPINFOHEADER& src_header,
                       std::uint32_t most);

// The RGB flags word the dispatcher passes: RGB images are stored bottom-up.
inline constexpr std::uint32_t kRgbBottomUp = 0x8000;

}  // namespace lumacore

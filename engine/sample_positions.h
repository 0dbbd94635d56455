// Where the 8-bit Y'CbCr layouts keep their samples: the byte order of a
// packed 4:2:2 pair and the planes of a planar frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/format_descriptor.h"

namespace lumacore {

// The neutral chroma value: what a pixel gets when its line holds no chroma
// sample for it at all (a line one pixel wide).
inline constexpr std::uint8_t kNeutralChroma = 0x80;

// A planar frame: luma lines `pitch` apart, then two chroma planes with rows
// of pitch / 2 bytes. 4:2:0 chroma planes have (h + 1) / 2 rows (the last
// line of an odd height has a row of its own), the second right after the
// first's rows. 4:2:2 ones have h rows, and the second starts half a luma
// plane after the first, (h x pitch) / 2 bytes (at odd pitches further on
// than h rows of pitch / 2). I420 and P422 keep Cb first, YV12 Cr.
template <typename Byte>
struct Planes {
    Byte* y;
    Byte* cb;
    Byte* cr;
    std::uint32_t pitch;
    std::uint32_t chroma_pitch;
    std::uint32_t chroma_rows;
    bool is422;

    Byte* Luma(std::uint32_t line) const { return y + std::size_t(line) * pitch; }
    Byte* CbRow(std::uint32_t row) const { return cb + std::size_t(row) * chroma_pitch; }
    Byte* CrRow(std::uint32_t row) const { return cr + std::size_t(row) * chroma_pitch; }
    // The chroma row a line reads: its own in 4:2:2, shared by lines 2k and
    // 2k + 1 in 4:2:0.
    std::uint32_t RowOfLine(std::uint32_t line) const { return is422 ? line : line / 2; }
};

template <typename Byte>
Planes<Byte> PlanesOf(int code, Byte* base, std::uint32_t pitch, std::uint32_t height) {
    const FormatDescriptor& d = DescriptorOf(code);
    Planes<Byte> p{};
    p.is422 = d.chroma_rows == ChromaRows::PerLine;
    p.pitch = pitch;
    p.chroma_pitch = pitch / 2;
    p.chroma_rows = p.is422 ? height : (height + 1) / 2;
    Byte* const first = base + std::size_t(height) * pitch;
    Byte* const second = p.is422 ? first + std::size_t(height) * pitch / 2
                                 : first + std::size_t(p.chroma_rows) * p.chroma_pitch;
    p.y = base;
    p.cb = d.cr_first ? second : first;
    p.cr = d.cr_first ? first : second;
    return p;
}

// The pair whose chroma pixel x takes, in a line of w pixels (x may lie
// beyond the width: such pixels repeat the last one). At an odd width the
// last pixel has no chroma of its own in the line (a packed line of 2w bytes
// cuts its pair, a chroma row of w / 2 samples has none for it), so it takes
// the pair before it; -1 when there is none (w = 1): neutral chroma.
inline std::int32_t ChromaPairOf(std::uint32_t x, std::uint32_t width) {
    const std::uint32_t last_whole = width / 2;  // pairs 0 .. last_whole - 1 are whole
    const std::uint32_t pair = x / 2;
    if (pair < last_whole) return std::int32_t(pair);
    return std::int32_t(last_whole) - 1;
}

}  // namespace lumacore

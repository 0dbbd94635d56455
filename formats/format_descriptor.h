// What the code knows about each pixel layout, in one place: one descriptor
// per format code. Everything that needs a layout's planes, pair order, line
// order or alpha area asks here.
#pragma once

#include <cstdint>

#include "formats/format_code.h"

namespace lumacore {

// Byte offsets of Y0, Cb and Cr in a four-byte 8-bit pair; Y1 is two bytes
// after Y0.
struct PairOrder {
    std::uint8_t y0, cb, cr;
};

inline constexpr PairOrder kOrderYuy2{0, 1, 3};  // Y0 Cb Y1 Cr
inline constexpr PairOrder kOrderUyvy{1, 0, 2};  // Cb Y0 Cr Y1
inline constexpr PairOrder kOrderYvyu{0, 3, 1};  // Y0 Cr Y1 Cb

constexpr bool operator==(PairOrder a, PairOrder b) { return a.y0 == b.y0 && a.cb == b.cb && a.cr == b.cr; }

enum class LayoutKind : std::uint8_t {
    Packed8,   // 8-bit 4:2:2 pairs
    Planar,    // luma plane, then two chroma planes
    TenBit,    // v210 groups
    Rgb,       // RGB pixels
};

enum class ChromaRows : std::uint8_t { None, PerLine, PerTwoLines };

enum class AlphaArea : std::uint8_t {
    None,
    Plane8,    // one byte a pixel after the colour part (auv2)
    Packed10,  // three 10-bit samples a 32-bit word, lines of whole words (a12v)
};

struct FormatDescriptor {
    const char* name;
    LayoutKind kind;
    std::uint8_t natural_bits;  // the bit count its headers carry
    ChromaRows chroma_rows;     // planar layouts
    bool cr_first;              // planar: the Cr plane comes first (YV12)
    PairOrder pair;             // packed 8-bit: the colour's byte order
    bool bottom_up;             // lines stored bottom line first (cyuv)
    AlphaArea alpha;
};

// The descriptor of `code` (0 to kFormatCount - 1).
const FormatDescriptor& DescriptorOf(int code);

constexpr bool IsPlanarKind(LayoutKind k) { return k == LayoutKind::Planar; }

}  // namespace lumacore

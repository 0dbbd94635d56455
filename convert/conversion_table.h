// The routine for every pair of layouts: a 14 x 14 table of cells, rows by
// source code, columns by destination code.
#pragma once

#include <cstdint>

#include "convert/routine.h"
#include "formats/format_code.h"

namespace lumacore {

// What a cell's routine reads and writes of each line, for the bounds checks.
enum class LineUse : std::uint8_t {
    Prefix,   // copies: min(dst_pitch, src_pitch) bytes of every line
    Pairs,    // packed 4:2:2 reorders: whole four-byte pairs, 4 x (w / 2) bytes
    Natural,  // w pixels of each layout's own line (see NaturalLineBytes)
};

// What happens to the alpha area of the 4:2:2:4 layouts.
enum class AlphaRule : std::uint8_t {
    None,
    Zero,       // the colour routine, then an alpha area of zeros
    WholeCopy,  // colour and alpha copied as one block
};

// A cell runs `routine`, or `rgb_routine` (with the matrix and the RGB flags
// word) for pairs with an RGB side; neither: no routine for this pair (yet).
struct ConversionCell {
    ConvertRoutine routine;
    RgbConvertRoutine rgb_routine;
    LineUse line_use;
    AlphaRule alpha;
};

// Bytes of one line of `code` holding `width` pixels, as the routines read
// and write them: packed 4:2:2 2w, RGB 3w or 4w, v210 whole six-pixel groups,
// planar luma w.
std::uint32_t NaturalLineBytes(int code, std::uint32_t width);

extern const ConversionCell kConversionTable[kFormatCount][kFormatCount];

}  // namespace lumacore

// The routine for every pair of layouts: a 14 x 14 table of cells, rows by
// source code, columns by destination code.
#pragma once

#include <cstdint>

#include "engine/routine.h"
#include "formats/format_code.h"

namespace lumacore {

// What a cell's routine reads and writes of each line, for the bounds checks.
enum class LineUse : std::uint8_t {
    Prefix,   // copies: min(dst_pitch, src_pitch) bytes of every line
    Pairs,    // packed 4:2:2 reorders: whole four-byte pairs, 4 x (w / 2) bytes
    // the swap within 16-bit units: as Pairs, except that with equal pitches
    // it runs over whole lines, padding included
    Units,
    Natural,  // w pixels of each layout's own line (see NaturalLineBytes)
    // v210 readers: whole source lines of at least (16 x w) / 6 bytes, each
    // line's last group possibly reaching past its pitch (on the last line
    // the bytes past the source read as zero), so h lines in all; the
    // destination as Natural.
    V210Lines,
};

// What happens to the alpha area of the 4:2:2:4 layouts.
enum class AlphaRule : std::uint8_t {
    None,
    Zero,       // the colour routine, then an alpha area of zeros
    WholeCopy,  // colour and alpha copied as one block
    // RGB32 source: after the colour part, when the alpha area fits too,
    // alpha_routine(dst + colour part, src, w, h, dst_pitch, src_pitch, matrix, flags)
    // writes the alpha area from the fourth bytes.
    FromRgb32,
    // RGB32 destination: after the colour,
    // alpha_routine(dst, src + alpha offset, w, h, dst_pitch, src_pitch, matrix, flags)
    // fills the fourth bytes from the source's alpha area.
    ToRgb32,
};

// A cell runs `routine`, or `rgb_routine` (with the matrix and the RGB flags
// word) for pairs with an RGB side; neither: no routine for this pair (yet).
struct ConversionCell {
    ConvertRoutine routine = nullptr;
    RgbConvertRoutine rgb_routine = nullptr;
    LineUse line_use = LineUse::Prefix;
    AlphaRule alpha = AlphaRule::None;
    RgbConvertRoutine alpha_routine = nullptr;
    // Lines of a frame apart, for cells whose lines depend on others'
    // positions (a planar side): lets the dispatcher convert bands.
    RgbLinesRoutine rgb_lines = nullptr;
};

// One cell of the table; each routine family lists the cells it serves.
// An entry with a negative source is a placeholder and places nothing.
struct CellEntry {
    int source;
    int destination;
    ConversionCell cell;
};

inline constexpr CellEntry kNoCells = {-1, -1, {}};

constexpr ConversionCell PlainCell(ConvertRoutine routine, LineUse use) { return {routine, nullptr, use}; }
constexpr ConversionCell RgbCell(RgbConvertRoutine routine) { return {nullptr, routine, LineUse::Natural}; }
constexpr ConversionCell RgbCell(RgbConvertRoutine routine, RgbLinesRoutine lines) {
    return {nullptr, routine, LineUse::Natural, AlphaRule::None, nullptr, lines};
}
constexpr ConversionCell WithZeroAlpha(ConversionCell cell) {
    cell.alpha = AlphaRule::Zero;
    return cell;
}

// Bytes of one line of `code` holding `width` pixels, as the routines read
// and write them: packed 4:2:2 2w, RGB 3w or 4w, v210 whole six-pixel groups,
// planar luma w.
std::uint32_t NaturalLineBytes(int code, std::uint32_t width);

// The cell for source code `s` and destination code `d` (both 0 to 13).
const ConversionCell& CellFor(int s, int d);

}  // namespace lumacore

#include "dispatch/conversion_table.h"

#include "formats/format_code.h"

#include "dispatch/from_rgb_cells.h"
#include "dispatch/to_rgb_cells.h"
#include "dispatch/copy_cells.h"
#include "dispatch/planar_cells.h"
#include "dispatch/v210_cells.h"

namespace lumacore {
namespace {

struct Table {
    ConversionCell cells[kFormatCount][kFormatCount];
};

template <std::size_t N>
constexpr void Place(Table& table, const CellEntry (&entries)[N]) {
    for (const CellEntry& e : entries)
        if (e.source >= 0) table.cells[e.source][e.destination] = e.cell;
}

// Every family places its cells; pairs no family serves keep the empty cell.
constexpr Table BuildTable() {
    Table table{};
    Place(table, copy_cells::kCells);
    Place(table, planar_cells::kCells);
    Place(table, v210_cells::kCells);
    Place(table, to_rgb_cells::kCells);
    Place(table, from_rgb_cells::kCells);
    return table;
}

constexpr Table kTable = BuildTable();

}  // namespace

const ConversionCell& CellFor(int s, int d) { return kTable.cells[s][d]; }

std::uint32_t NaturalLineBytes(int code, std::uint32_t width) {
    // v210 routes read and write whole groups, whatever the layout's pitch rule.
    if (code == FMT_V210 || code == FMT_A12V) return 16u * ((width + 5u) / 6u);
    return DefaultLinePitch(code, width);
}

}  // namespace lumacore

// Cells served by the packed <-> planar and planar <-> planar conversions.
#pragma once

#include "convert/conversion_table.h"

namespace lumacore::planar_cells {

inline constexpr CellEntry kCells[] = {
    kNoCells,
};

}  // namespace lumacore::planar_cells

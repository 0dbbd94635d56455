// Cells served by the v210 packing and unpacking.
#pragma once

#include "convert/conversion_table.h"

namespace lumacore::v210_cells {

inline constexpr CellEntry kCells[] = {
    kNoCells,
};

}  // namespace lumacore::v210_cells

// Cells served by the Y'CbCr to RGB conversions.
#pragma once

#include "convert/conversion_table.h"

namespace lumacore::to_rgb_cells {

inline constexpr CellEntry kCells[] = {
    kNoCells,
};

}  // namespace lumacore::to_rgb_cells

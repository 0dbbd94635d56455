// Cells served by the RGB to Y'CbCr conversions.
#pragma once

#include "convert/conversion_table.h"

namespace lumacore::from_rgb_cells {

inline constexpr CellEntry kCells[] = {
    kNoCells,
};

}  // namespace lumacore::from_rgb_cells

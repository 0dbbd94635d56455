// Colour matrix numbers, as stored in the settings and shown in the property
// sheet's matrix lists. Odd numbers are the standard-range forms.
#pragma once

#include <cstdint>

namespace lumacore {

enum ColourMatrix : std::int32_t {
    MATRIX_CCIR601_EXTENDED = 0,
    MATRIX_CCIR601_STANDARD = 1,
    MATRIX_SMPTE240M_EXTENDED = 2,
    MATRIX_SMPTE240M_STANDARD = 3,
    MATRIX_SMPTE274M_EXTENDED = 4,
    MATRIX_SMPTE274M_STANDARD = 5,
};

inline constexpr int kMatrixCount = 6;

}  // namespace lumacore

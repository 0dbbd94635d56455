// The coefficients that turn Y'CbCr samples into RGB, per colour matrix: the
// exact sets of the generic converters and the reduced sets of the fast
// kernels. Everything here is constant data.
#pragma once

#include <cstdint>

#include "formats/matrix_numbers.h"

namespace lumacore {

// R = (Ys + cr_to_r Cr') / 10000, G = (Ys - cb_to_g Cb' - cr_to_g Cr') / 10000,
// B = (Ys + cb_to_b Cb') / 10000 with Ys = luma_gain (Y - luma_offset) and
// C' = C - chroma_offset; each quotient truncated toward zero, then clamped.
struct ToRgbCoefficients {
    std::int32_t luma_offset;
    std::int32_t luma_gain;
    std::int32_t cr_to_r;
    std::int32_t cr_to_g;
    std::int32_t cb_to_g;
    std::int32_t cb_to_b;
    std::int32_t chroma_offset;
};

inline constexpr std::int32_t kToRgbDivisor = 10000;

// Indexed by matrix number; 3 and 5 share one set. The 10-bit gains are the
// 8-bit gains divided by 4, so 10-bit samples give 8-bit results with the
// same divisor.
inline constexpr ToRgbCoefficients kToRgb8[kMatrixCount] = {
    {0, 10000, 13710, 6979, 3360, 17320, 128},
    {16, 11640, 15960, 8129, 3910, 20170, 128},
    {0, 10000, 15400, 4590, 1830, 18160, 128},
    {16, 11640, 17930, 5340, 2130, 21150, 128},
    {0, 10000, 15748, 4682, 1873, 18556, 128},
    {16, 11640, 17930, 5340, 2130, 21150, 128},
};

inline constexpr ToRgbCoefficients kToRgb10[kMatrixCount] = {
    {0, 2500, 3427, 1744, 840, 4330, 512},
    {64, 2910, 3990, 2032, 977, 5042, 512},
    {0, 2500, 3850, 1147, 457, 4540, 512},
    {64, 2910, 4482, 1335, 532, 5287, 512},
    {0, 2500, 3937, 1170, 468, 4639, 512},
    {64, 2910, 4482, 1335, 532, 5287, 512},
};

constexpr bool TenBitGainsAreQuarterGains() {
    for (int m = 0; m < kMatrixCount; ++m) {
        const ToRgbCoefficients &a = kToRgb8[m], &b = kToRgb10[m];
        if (b.luma_gain != a.luma_gain / 4 || b.cr_to_r != a.cr_to_r / 4 || b.cr_to_g != a.cr_to_g / 4 ||
            b.cb_to_g != a.cb_to_g / 4 || b.cb_to_b != a.cb_to_b / 4 || b.luma_offset != a.luma_offset * 4)
            return false;
    }
    return true;
}
static_assert(TenBitGainsAreQuarterGains());

// A matrix number outside 1..5 selects the coefficients of number 0.
constexpr int ToRgbMatrixIndex(std::int32_t matrix) { return matrix >= 1 && matrix <= 5 ? int(matrix) : 0; }

// The standard-range matrices (odd numbers) expand video range to 0..255.
constexpr bool IsStandardRange(std::int32_t matrix) { return (matrix & 1) != 0; }

// The 6-bit sets of the fast kernels: CCIR 601 only, in units of 1/64, with
// the halves rounded upward by adding 32 before the shift.
struct K6Set {
    std::int16_t luma_offset;
    std::int16_t luma_gain;
    std::int16_t cb_to_b;
    std::int16_t cb_to_g;  // signed: added
    std::int16_t cr_to_g;  // signed: added
    std::int16_t cr_to_r;
};

inline constexpr K6Set K6_601_EXPANDED = {16, 74, 129, -25, -52, 102};
inline constexpr K6Set K6_601_PLAIN = {0, 64, 113, -22, -46, 90};
inline constexpr std::int32_t kK6Round = 32;
inline constexpr int kK6Shift = 6;

// The 13-bit gains of the multiply-add kernels, per matrix number: units of
// 1/8192 for 8-bit samples and 1/2048 for 10-bit samples (the 8-bit gains
// divided by 4), both shifted right by 13 with no rounding.
struct K13Gains {
    std::int32_t luma_offset;
    std::int32_t luma_gain;
    std::int32_t cr_to_r;
    std::int32_t cr_to_g;  // subtracted
    std::int32_t cb_to_g;  // subtracted
    std::int32_t cb_to_b;
    std::int32_t chroma_offset;
};

inline constexpr K13Gains kK13Gains8[kMatrixCount] = {
    {0, 8192, 11231, 5718, 2752, 14188, 128},
    {16, 9535, 13074, 6660, 3203, 16523, 128},
    {0, 8192, 12615, 3760, 1499, 14876, 128},
    {16, 9535, 14688, 4374, 1744, 17326, 128},
    {0, 8192, 12900, 3835, 1534, 15201, 128},
    {16, 9535, 14688, 4374, 1744, 17326, 128},
};

inline constexpr K13Gains kK13Gains10[kMatrixCount] = {
    {0, 2048, 2807, 1429, 688, 3547, 512},
    {64, 2383, 3268, 1665, 800, 4130, 512},
    {0, 2048, 3153, 940, 374, 3719, 512},
    {64, 2383, 3672, 1093, 436, 4331, 512},
    {0, 2048, 3225, 958, 383, 3800, 512},
    {64, 2383, 3672, 1093, 436, 4331, 512},
};

inline constexpr int kK13Shift = 13;

constexpr bool K13TenBitGainsAreQuarterGains() {
    for (int m = 0; m < kMatrixCount; ++m) {
        const K13Gains &a = kK13Gains8[m], &b = kK13Gains10[m];
        if (b.luma_gain != a.luma_gain / 4 || b.cr_to_r != a.cr_to_r / 4 || b.cr_to_g != a.cr_to_g / 4 ||
            b.cb_to_g != a.cb_to_g / 4 || b.cb_to_b != a.cb_to_b / 4 || b.luma_offset != a.luma_offset * 4)
            return false;
    }
    return true;
}
static_assert(K13TenBitGainsAreQuarterGains());

}  // namespace lumacore

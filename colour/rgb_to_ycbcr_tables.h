// Coefficients of the RGB to Y'CbCr conversions: signed, scaled by 10000,
// one table for 8-bit and one for 10-bit output. Each output sample is
// (r x R + g x G + b x B) / 10000, truncated toward zero, plus its offset,
// clamped to the sample range.
//
// The values are the codec's own and are kept exactly, irregular ones
// included (the 10-bit table is not everywhere four times the 8-bit one, and
// matrices 3 and 5 share a row): files written by earlier releases must come
// out the same.
#pragma once

#include <cstdint>

namespace lumacore {

// One matrix: each row's coefficients for R, G and B.
struct FromRgbMatrix {
    std::int32_t y[3];
    std::int32_t y_offset;
    std::int32_t cb[3];
    std::int32_t cr[3];
};

inline constexpr FromRgbMatrix kFromRgb8[5] = {
    {{2990, 5870, 1140}, 0, {-1719, -3390, 5110}, {5110, -4280, -830}},
    {{2570, 5040, 980}, 16, {-1480, -2910, 4390}, {4390, -3680, -709}},
    {{2130, 7150, 720}, 0, {-1170, -3940, 5110}, {5110, -4640, -470}},
    {{1830, 6140, 620}, 16, {-1010, -3380, 4390}, {4390, -3990, -400}},
    {{2126, 7151, 722}, 0, {-1146, -3854, 5000}, {5000, -4542, -459}},
};

inline constexpr FromRgbMatrix kFromRgb10[5] = {
    {{11960, 23480, 4560}, 0, {-6879, -13560, 20440}, {20440, -17120, -3320}},
    {{10280, 20160, 3920}, 64, {-5920, -11640, 17560}, {17560, -14720, -2839}},
    {{8520, 28600, 2880}, 0, {-4680, -15760, 20440}, {20440, -18560, -1880}},
    {{7320, 24560, 2480}, 64, {-4040, -13520, 17560}, {17560, -15960, -1600}},
    {{8504, 28607, 2888}, 0, {-4584, -15416, 20000}, {20000, -18168, -1836}},
};

// The row of a matrix number: 3 and 5 share one, and every number outside
// 1..5 reads as matrix 0.
constexpr int FromRgbRow(std::int32_t matrix) {
    switch (matrix) {
        case 1:
            return 1;
        case 2:
            return 2;
        case 3:
        case 5:
            return 3;
        case 4:
            return 4;
        default:
            return 0;
    }
}

inline constexpr std::int32_t kChromaOffset8 = 128;
inline constexpr std::int32_t kChromaOffset10 = 512;

// The range of the coefficient sums one kind of row of a table can produce
// from samples 0..255. Vector code that replaces the division by 10000 is
// proved over all of it.
struct SumRange {
    std::int32_t low, high;
};

namespace from_rgb_detail {

constexpr SumRange RowRange(const std::int32_t (&c)[3]) {
    SumRange r{0, 0};
    for (std::int32_t k : c) (k < 0 ? r.low : r.high) += 255 * k;
    return r;
}

constexpr SumRange Widen(SumRange a, SumRange b) {
    return {a.low < b.low ? a.low : b.low, a.high > b.high ? a.high : b.high};
}

constexpr SumRange LumaRange(const FromRgbMatrix (&table)[5]) {
    SumRange all{0, 0};
    for (const FromRgbMatrix& m : table) all = Widen(all, RowRange(m.y));
    return all;
}

// The rows with one luma offset only.
constexpr SumRange LumaRange(const FromRgbMatrix (&table)[5], std::int32_t offset) {
    SumRange all{0, 0};
    for (const FromRgbMatrix& m : table)
        if (m.y_offset == offset) all = Widen(all, RowRange(m.y));
    return all;
}

constexpr SumRange ChromaRange(const FromRgbMatrix (&table)[5]) {
    SumRange all{0, 0};
    for (const FromRgbMatrix& m : table) all = Widen(Widen(all, RowRange(m.cb)), RowRange(m.cr));
    return all;
}

}  // namespace from_rgb_detail

inline constexpr SumRange kLuma8Sums = from_rgb_detail::LumaRange(kFromRgb8);
inline constexpr SumRange kChroma8Sums = from_rgb_detail::ChromaRange(kFromRgb8);
inline constexpr SumRange kLuma10Sums = from_rgb_detail::LumaRange(kFromRgb10);
inline constexpr SumRange kChroma10Sums = from_rgb_detail::ChromaRange(kFromRgb10);

// Luma coefficients are all positive: luma sums are never negative.
static_assert(kLuma8Sums.low == 0 && kLuma10Sums.low == 0);

}  // namespace lumacore

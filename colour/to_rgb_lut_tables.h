// The lookup tables of the table kernels: per Y'CbCr sample, the pixel's
// blue, green and red contributions as three 10-bit fields of one 32-bit
// entry, so one addition per table adds all three channels. Each field is
// biased to stay non-negative and below 1024 in every sum of one luma, one Cb
// and one Cr entry, so the fields never carry into each other.
#pragma once

#include <cstdint>

namespace lumacore {

struct LutSet {
    std::uint32_t luma[256];
    std::uint32_t cb[256];
    std::uint32_t cr[256];
};

// Field positions and the bias each field's sum carries.
inline constexpr int kLutBlueShift = 0, kLutGreenShift = 10, kLutRedShift = 20;
inline constexpr std::uint32_t kLutFieldMask = 0x3FF;
inline constexpr std::int32_t kLutBlueBias = 308, kLutGreenBias = 204, kLutRedBias = 244;

namespace lut_detail {

// floor(coefficient / 10000 * v + 1/2): the nearest whole unit, halves up.
constexpr std::int32_t Nearest(std::int32_t coefficient_e4, std::int32_t v) {
    const std::int64_t n = std::int64_t(coefficient_e4) * v + 5000;
    const std::int64_t q = n / 10000;
    return std::int32_t(n % 10000 < 0 ? q - 1 : q);
}

constexpr std::uint32_t Fields(std::int32_t blue, std::int32_t green, std::int32_t red) {
    return std::uint32_t(blue) << kLutBlueShift | std::uint32_t(green) << kLutGreenShift |
           std::uint32_t(red) << kLutRedShift;
}

struct LutGains {  // in units of 1/10000
    std::int32_t luma_offset, luma_gain, cb_to_b, cb_to_g, cr_to_g, cr_to_r;
};

constexpr LutSet MakeLutSet(LutGains k) {
    LutSet s{};
    for (std::int32_t v = 0; v < 256; ++v) {
        const std::int32_t y = 20 + Nearest(k.luma_gain, v - k.luma_offset);
        s.luma[v] = Fields(y, y, y);
        s.cb[v] = Fields(288 + Nearest(k.cb_to_b, v - 128), 56 + Nearest(k.cb_to_g, v - 128), 0);
        s.cr[v] = Fields(0, 128 + Nearest(k.cr_to_g, v - 128), 224 + Nearest(k.cr_to_r, v - 128));
    }
    return s;
}

// Every field of every entry and of every sum stays in 0..1023.
constexpr bool FieldsStayApart(const LutSet& s) {
    std::int32_t max_field[3] = {0, 0, 0};
    const std::uint32_t* const tables[3] = {s.luma, s.cb, s.cr};
    for (const std::uint32_t* table : tables) {
        std::int32_t table_max[3] = {0, 0, 0};
        for (int v = 0; v < 256; ++v) {
            if (table[v] >> 30) return false;
            for (int f = 0; f < 3; ++f) {
                const std::int32_t field = std::int32_t((table[v] >> (10 * f)) & kLutFieldMask);
                if (field > table_max[f]) table_max[f] = field;
            }
        }
        for (int f = 0; f < 3; ++f) max_field[f] += table_max[f];
    }
    return max_field[0] < 1024 && max_field[1] < 1024 && max_field[2] < 1024;
}

}  // namespace lut_detail

// CCIR 601 expanding video range (standard-range matrices) and leaving luma
// as it is (extended-range matrices).
inline constexpr LutSet LUT_601_EXPANDED = lut_detail::MakeLutSet({16, 11640, 20180, -3910, -8130, 15960});
inline constexpr LutSet LUT_601_PLAIN = lut_detail::MakeLutSet({0, 10000, 17720, -3441, -7140, 14020});

static_assert(lut_detail::FieldsStayApart(LUT_601_EXPANDED));
static_assert(lut_detail::FieldsStayApart(LUT_601_PLAIN));
static_assert(LUT_601_EXPANDED.luma[16] == lut_detail::Fields(20, 20, 20));
static_assert(LUT_601_EXPANDED.luma[235] == lut_detail::Fields(275, 275, 275));
static_assert(LUT_601_EXPANDED.cb[0] == lut_detail::Fields(30, 106, 0));
static_assert(LUT_601_EXPANDED.cr[255] == lut_detail::Fields(0, 25, 427));

// Clamp tables, indexed by a field sum minus its bias (every value a field
// minus a bias can take, -308..1019, is covered).
inline constexpr int kLutClampOffset = 512;
inline constexpr int kLutClampSize = 1536;

struct LutClampTables {
    std::uint8_t clamp8[kLutClampSize];  // k clamped to 0..255
    std::uint8_t clamp5[kLutClampSize];  // (k clamped to 0..255) >> 3
};

constexpr LutClampTables MakeLutClampTables() {
    LutClampTables t{};
    for (int i = 0; i < kLutClampSize; ++i) {
        const int k = i - kLutClampOffset;
        const int c = k < 0 ? 0 : k > 255 ? 255 : k;
        t.clamp8[i] = std::uint8_t(c);
        t.clamp5[i] = std::uint8_t(c >> 3);
    }
    return t;
}

inline constexpr LutClampTables kLutClamp = MakeLutClampTables();

// The set a matrix number gets: odd numbers expand, even numbers do not.
constexpr const LutSet& LutSetFor(std::int32_t matrix) {
    return (matrix & 1) ? LUT_601_EXPANDED : LUT_601_PLAIN;
}

}  // namespace lumacore

// The coefficient tables of the 13-bit multiply-add kernels, laid out per
// channel order so that one multiply-add per output byte gives the bytes of a
// 32-bit pixel in memory order. Built the first time a matrix is used and
// kept for the life of the process.
#pragma once

#include <cstdint>

namespace lumacore {

// One output byte: clamp((luma Y' + cb Cb' + cr Cr' + bias) >> 13). The
// filler byte has no gains and a bias of 255 << 13.
struct K13Row {
    std::int16_t luma;
    std::int16_t cb;
    std::int16_t cr;
    std::int32_t bias;
};

// The four bytes of a pixel in one channel order.
struct K13Layout {
    K13Row rows[4];
};

struct K13Tables {
    std::int32_t luma_offset8, chroma_offset8;    // 8-bit samples
    std::int32_t luma_offset10, chroma_offset10;  // 10-bit samples
    K13Layout bits8[4];   // by RgbChannelOrder
    K13Layout bits10[4];  // by RgbChannelOrder
};

// The tables of a matrix number (outside 1..5: those of 0), computed from
// the 13-bit gains.
K13Tables BuildK13Tables(std::int32_t matrix);

// The process's tables of a matrix number. The first use builds them; a
// thread that finds another building them at that moment uses `scratch`,
// which it fills with the same values, so no thread ever waits or reads a
// half-written table.
const K13Tables& K13TablesFor(std::int32_t matrix, K13Tables& scratch);

// Whether the process's tables of a matrix number are built (tests).
bool K13TablesBuilt(std::int32_t matrix);

}  // namespace lumacore

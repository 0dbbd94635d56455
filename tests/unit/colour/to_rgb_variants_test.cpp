// Every vector tier of every Y'CbCr to RGB converter and kernel against its
// plain reference: random frames of exact size at widths 1 to 64 and the
// common video widths, every matrix, channel order and packing, with padded
// and unpadded pitches, both line orders and odd heights. The whole
// destination, padding included, must come out the same.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_lut_tables.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;

std::uint32_t PixelBytes(int bits) { return bits == 24 ? 3 : bits == 32 ? 4 : 2; }

// A few cases at the video widths, every case at the narrow ones.
bool Narrow(std::uint32_t width) { return width <= 64; }

struct Packed8Layout {
    const char* name;
    int luma, cb, cr;  // byte positions in a pair
};
constexpr Packed8Layout kPackedLayouts[] = {{"UYVY", 1, 0, 2}, {"YUY2", 0, 1, 3}, {"YVYU", 0, 3, 1}};

// A destination of `lines` lines `pitch` apart, pre-filled.
Bytes Destination(std::uint32_t lines, std::uint32_t pitch, std::uint32_t seed) {
    return seed ? Random(std::size_t(lines) * pitch, seed) : Bytes(std::size_t(lines) * pitch, kCanary);
}

TEST(ToRgbVariants, Packed8GenericConverterMatchesTheReference) {
    for (SimdTier tier : VectorTiers()) {
        for (std::uint32_t w : TestWidths()) {
            const std::uint32_t h = Narrow(w) ? 3 : 2;
            for (const Packed8Layout& layout : kPackedLayouts) {
                const std::uint32_t sp = 2 * w + (w % 3 == 0 ? 6 : 0);
                const Bytes src = Random(std::size_t(h - 1) * sp + 2 * w, w * 7 + layout.luma);
                for (int bits : {15, 16, 24, 32}) {
                    const std::uint32_t dp = PixelBytes(bits) * w + (w % 2 ? 5 : 0);
                    for (std::int32_t matrix = 0; matrix < 6; ++matrix) {
                        for (std::uint32_t order = 0; order <= 4; ++order) {
                            if (!Narrow(w) && (order % 3 != 0 || matrix % 3 != 1)) continue;
                            const std::uint32_t flags = order | (order % 2 ? 0u : 0x8000u);
                            SCOPED_TRACE(std::string(TierName(tier)) + " " + layout.name + " w=" +
                                         std::to_string(w) + " bits=" + std::to_string(bits) +
                                         " matrix=" + std::to_string(matrix) + " order=" + std::to_string(order));
                            Bytes expected = Destination(h, dp, 0), actual = expected;
                            const std::uint8_t* s = src.data();
                            lumacore::YCbCr8ToRgbWith(SimdTier::Plain, expected.data(), s + layout.luma,
                                                      s + layout.cb, s + layout.cr, w, h, dp, sp, matrix, flags,
                                                      lumacore::kChromaRowPerLine, lumacore::kPackedLayout, bits,
                                                      sp);
                            lumacore::YCbCr8ToRgbWith(tier, actual.data(), s + layout.luma, s + layout.cb,
                                                      s + layout.cr, w, h, dp, sp, matrix, flags,
                                                      lumacore::kChromaRowPerLine, lumacore::kPackedLayout, bits,
                                                      sp);
                            ASSERT_EQ(FirstDifference(expected, actual), -1);
                        }
                    }
                }
            }
        }
    }
}

TEST(ToRgbVariants, PlanarGenericConverterMatchesTheReference) {
    for (SimdTier tier : VectorTiers()) {
        for (std::uint32_t w : TestWidths()) {
            const std::uint32_t h = Narrow(w) ? 5 : 3;
            for (int rows_per_line : {lumacore::kChromaRowPerLine, lumacore::kChromaRowPerTwoLines}) {
                const std::uint32_t lp = w + (w % 4 == 1 ? 3 : 0), cp = w / 2 + (w % 4 == 1 ? 2 : 0);
                const std::uint32_t rows = rows_per_line == lumacore::kChromaRowPerLine ? h : (h + 1) / 2;
                const Bytes luma = Random(std::size_t(h - 1) * lp + w, w * 3 + 1);
                const Bytes cb = Random(std::size_t(rows - 1) * cp + w / 2, w * 3 + 2);
                const Bytes cr = Random(std::size_t(rows - 1) * cp + w / 2, w * 3 + 3);
                for (int bits : {15, 16, 24, 32}) {
                    const std::uint32_t dp = PixelBytes(bits) * w + (w % 2 ? 0 : 3);
                    for (std::int32_t matrix = 0; matrix < 6; ++matrix) {
                        for (std::uint32_t order = 0; order <= 4; ++order) {
                            if (!Narrow(w) && (order % 3 != 0 || matrix % 3 != 1)) continue;
                            const std::uint32_t flags = order | (order % 2 ? 0x8000u : 0u);
                            SCOPED_TRACE(std::string(TierName(tier)) + " planar w=" + std::to_string(w) +
                                         " rows=" + std::to_string(rows_per_line) + " bits=" + std::to_string(bits) +
                                         " matrix=" + std::to_string(matrix) + " order=" + std::to_string(order));
                            Bytes expected = Destination(h, dp, 0), actual = expected;
                            lumacore::YCbCr8ToRgbWith(SimdTier::Plain, expected.data(), luma.data(), cb.data(),
                                                      cr.data(), w, h, dp, lp, matrix, flags, rows_per_line,
                                                      lumacore::kPlanarLayout, bits, cp);
                            lumacore::YCbCr8ToRgbWith(tier, actual.data(), luma.data(), cb.data(), cr.data(), w, h,
                                                      dp, lp, matrix, flags, rows_per_line, lumacore::kPlanarLayout,
                                                      bits, cp);
                            ASSERT_EQ(FirstDifference(expected, actual), -1);
                        }
                    }
                }
            }
        }
    }
}

std::uint32_t V210Line(std::uint32_t w) { return 16 * ((w + 5) / 6); }

TEST(ToRgbVariants, V210GenericConverterMatchesTheReference) {
    for (SimdTier tier : VectorTiers()) {
        for (std::uint32_t w : TestWidths()) {
            const std::uint32_t h = Narrow(w) ? 3 : 2;
            const std::uint32_t sp = V210Line(w) + (w % 2 ? 16 : 0);
            const Bytes src = V210Noise(std::size_t(h - 1) * sp + V210Line(w), w);
            for (int bits : {15, 16, 24, 32}) {
                const std::uint32_t dp = PixelBytes(bits) * w + (w % 3 ? 0 : 2);
                for (std::int32_t matrix = 0; matrix < 6; ++matrix) {
                    for (std::uint32_t order = 0; order <= 4; ++order) {
                        if (!Narrow(w) && (order % 3 != 0 || matrix % 3 != 1)) continue;
                        const std::uint32_t flags = order | (w % 2 ? 0x8000u : 0u);
                        SCOPED_TRACE(std::string(TierName(tier)) + " v210 w=" + std::to_string(w) +
                                     " bits=" + std::to_string(bits) + " matrix=" + std::to_string(matrix) +
                                     " order=" + std::to_string(order));
                        Bytes expected = Destination(h, dp, 0), actual = expected;
                        lumacore::V210ToRgbWith(SimdTier::Plain, expected.data(), src.data(), w, h, dp, sp, matrix,
                                                flags, bits);
                        lumacore::V210ToRgbWith(tier, actual.data(), src.data(), w, h, dp, sp, matrix, flags, bits);
                        ASSERT_EQ(FirstDifference(expected, actual), -1);
                    }
                }
            }
        }
    }
}

// The table and 6-bit kernels, both source orders and both sets, written
// bottom-up and top-down; the 32-bit table kernel's destination starts as
// noise, since its fourth bytes must keep their values.
TEST(ToRgbVariants, TableAndSixBitKernelsMatchTheirReferences) {
    using lumacore::KernelPairOrder;
    for (SimdTier tier : VectorTiers()) {
        for (std::uint32_t w : TestWidths()) {
            if (w < 2) continue;
            const std::uint32_t h = Narrow(w) ? 3 : 2;
            const std::uint32_t sp = 2 * w + (w % 5 == 0 ? 4 : 0);
            const Bytes src = Random(std::size_t(h - 1) * sp + 2 * w, w + 11);
            for (KernelPairOrder order : {KernelPairOrder::Uyvy, KernelPairOrder::Yuy2}) {
                for (int bits : {16, 24, 32}) {
                    const std::uint32_t dp = PixelBytes(bits) * w + (w % 2 ? 6 : 0);
                    for (int set = 0; set < 2; ++set) {
                        for (bool upward : {true, false}) {
                            SCOPED_TRACE(std::string(TierName(tier)) + " w=" + std::to_string(w) +
                                         " order=" + std::to_string(int(order)) + " bits=" + std::to_string(bits) +
                                         " set=" + std::to_string(set) + " upward=" + std::to_string(upward));
                            const std::ptrdiff_t step = upward ? -std::ptrdiff_t(dp) : std::ptrdiff_t(dp);
                            const std::size_t first = upward ? std::size_t(h - 1) * dp : 0;
                            {
                                const lumacore::LutSet& lut =
                                    set ? lumacore::LUT_601_EXPANDED : lumacore::LUT_601_PLAIN;
                                Bytes expected = Destination(h, dp, w * 5 + 1), actual = expected;
                                lumacore::LutKernel(SimdTier::Plain, order, bits, lut, expected.data() + first, step,
                                                    src.data(), sp, w, h);
                                lumacore::LutKernel(tier, order, bits, lut, actual.data() + first, step, src.data(),
                                                    sp, w, h);
                                ASSERT_EQ(FirstDifference(expected, actual), -1) << "table kernel";
                            }
                            {
                                const lumacore::K6Set& k6 =
                                    set ? lumacore::K6_601_EXPANDED : lumacore::K6_601_PLAIN;
                                Bytes expected = Destination(h, dp, 0), actual = expected;
                                lumacore::K6Kernel(SimdTier::Plain, order, bits, k6, expected.data() + first, step,
                                                   src.data(), sp, w, h);
                                lumacore::K6Kernel(tier, order, bits, k6, actual.data() + first, step, src.data(),
                                                   sp, w, h);
                                ASSERT_EQ(FirstDifference(expected, actual), -1) << "6-bit kernel";
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(ToRgbVariants, ThirteenBitKernelsMatchTheirReferences) {
    for (SimdTier tier : VectorTiers()) {
        for (std::uint32_t w : TestWidths()) {
            if (w < 2) continue;
            const std::uint32_t h = Narrow(w) ? 3 : 2;
            const std::uint32_t sp8 = 2 * w + (w % 4 == 0 ? 8 : 0);
            const std::uint32_t sp10 = V210Line(w) + (w % 4 == 0 ? 32 : 0);
            const Bytes packed = Random(std::size_t(h - 1) * sp8 + 2 * w, w + 3);
            const Bytes v210 = V210Noise(std::size_t(h - 1) * sp10 + V210Line(w), w + 4);
            const std::uint32_t dp = 4 * w + (w % 3 ? 4 : 0);
            for (std::int32_t matrix = -1; matrix <= 6; ++matrix) {
                for (std::uint32_t order = 0; order <= 4; ++order) {
                    if (!Narrow(w) && (order % 3 != 0 || matrix % 3 != 1)) continue;
                    for (std::uint32_t bottom_up : {0u, 0x8000u}) {
                        SCOPED_TRACE(std::string(TierName(tier)) + " w=" + std::to_string(w) +
                                     " matrix=" + std::to_string(matrix) + " order=" + std::to_string(order) +
                                     " bottom_up=" + std::to_string(bottom_up));
                        Bytes expected = Destination(h, dp, 0), actual = expected;
                        lumacore::K13Packed8ToRgb32(SimdTier::Plain, expected.data(), packed.data(), w, h, dp, sp8,
                                                    matrix, order | bottom_up);
                        lumacore::K13Packed8ToRgb32(tier, actual.data(), packed.data(), w, h, dp, sp8, matrix,
                                                    order | bottom_up);
                        ASSERT_EQ(FirstDifference(expected, actual), -1) << "8-bit";
                        expected = actual = Destination(h, dp, 0);
                        lumacore::K13V210ToRgb32(SimdTier::Plain, expected.data(), v210.data(), w, h, dp, sp10,
                                                 matrix, order | bottom_up);
                        lumacore::K13V210ToRgb32(tier, actual.data(), v210.data(), w, h, dp, sp10, matrix,
                                                 order | bottom_up);
                        ASSERT_EQ(FirstDifference(expected, actual), -1) << "10-bit";
                    }
                }
            }
        }
    }
}

// The reference writes exactly w pixels a line and nothing in the padding.
TEST(ToRgbVariants, LinesGetExactlyTheirPixels) {
    for (SimdTier tier : {SimdTier::Plain, lumacore::HostSimdTier()}) {
        for (std::uint32_t w : {1u, 5u, 31u, 33u, 97u}) {
            const std::uint32_t h = 3, sp = 2 * w, pad = 9;
            const Bytes src = Random(std::size_t(h) * sp, w);
            for (int bits : {15, 16, 24, 32}) {
                const std::uint32_t line = PixelBytes(bits) * w, dp = line + pad;
                Bytes dst(std::size_t(h) * dp, kCanary);
                lumacore::YCbCr8ToRgbWith(tier, dst.data(), src.data() + 1, src.data(), src.data() + 2, w, h, dp, sp,
                                          1, 0x8000, lumacore::kChromaRowPerLine, lumacore::kPackedLayout, bits, sp);
                for (std::uint32_t y = 0; y < h; ++y)
                    for (std::uint32_t i = line; i < dp; ++i)
                        ASSERT_EQ(dst[std::size_t(y) * dp + i], kCanary) << TierName(tier) << " w=" << w;
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test

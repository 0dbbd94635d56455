// The vector tiers of every Y'CbCr to RGB converter and kernel on whole
// frames against the plain code: padded pitches, both line orders, the
// chroma rows of 4:2:0, the v210 chunks and the plain code finishing each
// line, with every packing and channel order. The whole destination must
// come out the same, and the plain code must leave each line's padding alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_lut_tables.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "tests/unit/colour/to_rgb_test_support.h"

namespace lumacore_test {
namespace {

using lumacore::SimdTier;

std::uint32_t PixelBytes(int bits) { return bits == 24 ? 3 : bits == 32 ? 4 : 2; }
std::uint32_t V210Line(std::uint32_t w) { return 16 * ((w + 5) / 6); }

// `convert(tier, dst)` into h lines `dp` apart of which the first `line`
// bytes are pixels; the destination starts as noise when `noise_seed` is set.
template <class Convert>
void ExpectTiersAgree(std::uint32_t h, std::uint32_t dp, std::uint32_t line, const std::string& what,
                      Convert convert, std::uint32_t noise_seed = 0) {
    SCOPED_TRACE(what);
    const Bytes start = noise_seed ? Random(std::size_t(h) * dp, noise_seed) : Bytes(std::size_t(h) * dp, kCanary);
    Bytes want = start;
    convert(SimdTier::Plain, want.data());
    for (std::size_t y = 0; y < h; ++y)
        for (std::size_t i = y * dp + line; i < (y + 1) * dp; ++i) ASSERT_EQ(want[i], start[i]) << "padding " << i;
    for (SimdTier tier : VectorTiers()) {
        Bytes got = start;
        convert(tier, got.data());
        ASSERT_EQ(FirstDifference(want, got), -1) << TierName(tier);
    }
}

std::string Name(const char* kind, std::uint32_t w, std::uint32_t h, int bits, std::int32_t matrix,
                 std::uint32_t flags) {
    return std::string(kind) + " " + std::to_string(w) + "x" + std::to_string(h) + " bits " + std::to_string(bits) +
           " matrix " + std::to_string(matrix) + " flags " + std::to_string(flags);
}

// Every packing in every channel order, the matrix (6: out of range) and
// line order changing from case to case.
TEST(ToRgbVariants, GenericConvertersMatchThePlainCode) {
    struct Packed {
        const char* name;
        int luma, cb, cr;  // byte positions in a pair
    };
    constexpr Packed kPacked[] = {{"UYVY", 1, 0, 2}, {"YUY2", 0, 1, 3}, {"YVYU", 0, 3, 1}};
    std::uint32_t i = 0;
    for (const auto [w, h] : kFrameSizes) {
        const std::uint32_t sp = 2 * w + (w % 3 == 0 ? 6 : 0), lp = w + (w % 4 == 1 ? 3 : 0);
        const std::uint32_t cp = w / 2 + (w % 4 == 1 ? 2 : 0), v210p = V210Line(w) + (w % 2 ? 16 : 0);
        const Bytes packed = Random(std::size_t(h - 1) * sp + 2 * w, w);
        // Chroma planes by kChromaRowPerTwoLines (0) and kChromaRowPerLine (1),
        // exactly as long as their rows.
        const std::uint32_t rows420 = (h + 1) / 2;
        const Bytes luma = Random(std::size_t(h - 1) * lp + w, w + 1);
        const Bytes chroma[2][2] = {{Random(std::size_t(rows420 - 1) * cp + w / 2, w + 2),
                                     Random(std::size_t(rows420 - 1) * cp + w / 2, w + 3)},
                                    {Random(std::size_t(h - 1) * cp + w / 2, w + 4),
                                     Random(std::size_t(h - 1) * cp + w / 2, w + 5)}};
        const Bytes v210 = V210Noise(std::size_t(h - 1) * v210p + V210Line(w), w);
        for (int bits : {15, 16, 24, 32}) {
            for (std::uint32_t order = 0; order <= 4; ++order, ++i) {
                const std::int32_t m = std::int32_t(i % 7);
                const std::uint32_t flags = order | (i % 2 ? 0x8000u : 0u);
                const std::uint32_t line = PixelBytes(bits) * w, dp = line + (i % 3) * 3;
                for (const Packed& p : kPacked)
                    ExpectTiersAgree(h, dp, line, Name(p.name, w, h, bits, m, flags), [&](SimdTier t, std::uint8_t* d) {
                        const std::uint8_t* s = packed.data();
                        lumacore::YCbCr8ToRgbWith(t, d, s + p.luma, s + p.cb, s + p.cr, w, h, dp, sp, m, flags,
                                                  lumacore::kChromaRowPerLine, lumacore::kPackedLayout, bits, sp);
                    });
                for (int rows : {lumacore::kChromaRowPerLine, lumacore::kChromaRowPerTwoLines})
                    ExpectTiersAgree(h, dp, line, Name(rows == 1 ? "planar" : "4:2:0", w, h, bits, m, flags),
                                     [&](SimdTier t, std::uint8_t* d) {
                                         lumacore::YCbCr8ToRgbWith(t, d, luma.data(), chroma[rows][0].data(),
                                                                   chroma[rows][1].data(), w, h, dp, lp, m, flags,
                                                                   rows, lumacore::kPlanarLayout, bits, cp);
                                     });
                ExpectTiersAgree(h, dp, line, Name("v210", w, h, bits, m, flags), [&](SimdTier t, std::uint8_t* d) {
                    lumacore::V210ToRgbWith(t, d, v210.data(), w, h, dp, v210p, m, flags, bits);
                });
            }
        }
    }
}

// The table and 6-bit kernels in both source orders and both sets, written
// bottom-up and top-down (by start and step); the 32-bit table kernel's
// destination starts as noise, since its fourth bytes must keep their
// values. The 13-bit kernels with every matrix and channel order.
TEST(ToRgbVariants, KernelsMatchThePlainCode) {
    using lumacore::KernelPairOrder;
    std::uint32_t i = 0;
    for (const auto [w, h] : kFrameSizes) {
        if (w < 2) continue;  // the kernels want a pair
        const std::uint32_t sp = 2 * w + (w % 4 == 0 ? 8 : 0), v210p = V210Line(w) + (w % 4 == 0 ? 32 : 0);
        const Bytes packed = Random(std::size_t(h - 1) * sp + 2 * w, w + 11);
        const Bytes v210 = V210Noise(std::size_t(h - 1) * v210p + V210Line(w), w + 4);
        for (KernelPairOrder order : {KernelPairOrder::Uyvy, KernelPairOrder::Yuy2}) {
            for (int bits : {16, 24, 32}) {
                for (int set = 0; set < 2; ++set, ++i) {
                    const std::uint32_t line = PixelBytes(bits) * w, dp = line + (w % 2 ? 6 : 0);
                    const bool upward = i % 2;
                    const std::ptrdiff_t step = upward ? -std::ptrdiff_t(dp) : std::ptrdiff_t(dp);
                    const std::size_t first = upward ? std::size_t(h - 1) * dp : 0;
                    const std::string what = Name("", w, h, bits, set, int(order)) + " upward " + std::to_string(upward);
                    ExpectTiersAgree(h, dp, line, "table" + what, [&](SimdTier t, std::uint8_t* d) {
                        lumacore::LutKernel(t, order, bits, set ? lumacore::LUT_601_EXPANDED : lumacore::LUT_601_PLAIN,
                                            d + first, step, packed.data(), sp, w, h);
                    }, w * 5 + 1);
                    ExpectTiersAgree(h, dp, line, "6-bit" + what, [&](SimdTier t, std::uint8_t* d) {
                        lumacore::K6Kernel(t, order, bits, set ? lumacore::K6_601_EXPANDED : lumacore::K6_601_PLAIN,
                                           d + first, step, packed.data(), sp, w, h);
                    });
                }
            }
        }
        for (std::uint32_t order = 0; order <= 4; ++order, ++i) {
            const std::int32_t m = std::int32_t(i % 8) - 1;
            const std::uint32_t flags = order | (i % 2 ? 0x8000u : 0u), dp = 4 * w + (w % 3 ? 4 : 0);
            ExpectTiersAgree(h, dp, 4 * w, Name("13-bit", w, h, 32, m, flags), [&](SimdTier t, std::uint8_t* d) {
                lumacore::K13Packed8ToRgb32(t, d, packed.data(), w, h, dp, sp, m, flags);
            });
            ExpectTiersAgree(h, dp, 4 * w, Name("13-bit v210", w, h, 32, m, flags), [&](SimdTier t, std::uint8_t* d) {
                lumacore::K13V210ToRgb32(t, d, v210.data(), w, h, dp, v210p, m, flags);
            });
        }
    }
}

}  // namespace
}  // namespace lumacore_test

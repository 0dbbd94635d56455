#include "colour/rgb_to_ycbcr8.h"

#include <cstddef>

#include "colour/rgb_to_ycbcr_pixel.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

constexpr TierOverride<FromRgbKernels> kOverrides[] = {
    {VEC_SSE2, InstallFromRgbSse2},
    {VEC_AVX2, InstallFromRgbAvx2},
    {VEC_AVX512, InstallFromRgbAvx512},
};

FromRgbKernels Build(std::uint32_t features) { return Override(FromRgbKernels{}, kOverrides, features); }

// The reference: pairs `first` to `pairs` - 1 of one line. Pair p's Y'0 is at
// y + p x y_step, its Y'1 y1_offset bytes further; its Cb and Cr at
// cb + p x c_step and cr + p x c_step (none when cb is null).
void ConvertPairs(const PixelCoefficients& k, RgbSourceLayout layout, const std::uint8_t* line, std::uint32_t first,
                  std::uint32_t pairs, std::uint8_t* y, std::size_t y_step, std::size_t y1_offset, std::uint8_t* cb,
                  std::uint8_t* cr, std::size_t c_step) {
    for (std::uint32_t p = first; p < pairs; ++p) {
        const std::uint8_t* left = ColourBytes(line, layout, 2 * p);
        const std::uint8_t* right = ColourBytes(line, layout, 2 * p + 1);
        y[p * y_step] = std::uint8_t(ComponentSample(ComponentSum(k.y, left), k.y_offset, k.max));
        y[p * y_step + y1_offset] = std::uint8_t(ComponentSample(ComponentSum(k.y, right), k.y_offset, k.max));
        if (cb) {
            cb[p * c_step] = std::uint8_t(ComponentSample(ComponentSum(k.cb, left), k.c_offset, k.max));
            cr[p * c_step] = std::uint8_t(ComponentSample(ComponentSum(k.cr, left), k.c_offset, k.max));
        }
    }
}

// The packed order the three pointers describe, and where each pair starts.
// Other arrangements are converted by the reference alone.
bool PackedOrderOf(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, PackedOrder* order, std::uint8_t** base) {
    const auto offset = [y](const std::uint8_t* p) {
        return std::intptr_t(reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(y));
    };
    const std::intptr_t at_cb = offset(cb), at_cr = offset(cr);
    if (at_cb == -1 && at_cr == 1) {
        *order = PackedOrder::Uyvy;
        *base = cb;
    } else if (at_cb == 1 && at_cr == 3) {
        *order = PackedOrder::Yuy2;
        *base = y;
    } else if (at_cb == 3 && at_cr == 1) {
        *order = PackedOrder::Yvyu;
        *base = y;
    } else {
        return false;
    }
    return true;
}

// The 4:2:0 chroma row line `line` writes, or -1. Rows 0, 1, 2, 3, ... come
// from lines 0, 3, 4, 7, ...; with an odd height the last row may have no
// such line (heights 3, 7, 11, ...) and takes the last line instead.
std::int64_t ChromaRow420(std::uint32_t line, std::uint32_t height) {
    const std::uint32_t phase = line % 4;
    if (phase == 0 || phase == 3) return line / 2;
    if (phase == 2 && line == height - 1) return line / 2;  // only odd heights end on phase 2
    return -1;
}

}  // namespace

const FromRgbKernels& FromRgbKernelsFor(SimdTier tier) { return KernelsFor<FromRgbKernels, Build>(tier); }

std::uint32_t RgbToYCbCr8With(SimdTier tier, std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr,
                              const std::uint8_t* src, std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                              std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, bool chroma_every_line,
                              bool planar, int bits_per_pixel, std::uint32_t chroma_pitch) {
    const RgbSourceLayout layout = RgbSourceLayoutOf(bits_per_pixel, flags);
    const PixelCoefficients k =
        PixelCoefficientsFor(kFromRgb8[FromRgbRow(matrix)], layout.red_first, kChromaOffset8, 255);
    const bool bottom_up = (flags & FLAG_SOURCE_BOTTOM_UP) != 0;
    const std::uint32_t pairs = width / 2;
    const bool vector = FromRgbKernelsFor(tier).packed != nullptr;
    const std::size_t pixel_bytes = layout.bytes_per_pixel;

    PackedOrder order = PackedOrder::Uyvy;
    std::uint8_t* pair_base = nullptr;
    const bool vector_packed = !planar && vector && PackedOrderOf(y, cb, cr, &order, &pair_base);

    for (std::uint32_t line = 0; line < height; ++line) {
        const std::uint8_t* in = src + std::size_t(bottom_up ? height - 1 - line : line) * src_pitch;
        if (!planar) {
            const std::size_t at = std::size_t(line) * pitch;
            auto packed = [&](SimdTier t, std::uint32_t from) {
                const auto kernel = FromRgbKernelsFor(t).packed;
                return kernel ? kernel(k, layout.pixels, order, in + 2 * from * pixel_bytes,
                                       pair_base + at + 4 * std::size_t(from), pairs - from)
                              : 0u;
            };
            const std::uint32_t done = vector_packed ? ByNarrowingTiers(tier, pairs, packed) : 0;
            ConvertPairs(k, layout, in, done, pairs, y + at, 4, 2, cb + at, cr + at, 4);
            continue;
        }
        std::uint8_t* luma = y + std::size_t(line) * pitch;
        std::uint8_t *cb_row = nullptr, *cr_row = nullptr;
        const std::int64_t row = chroma_every_line ? std::int64_t(line) : ChromaRow420(line, height);
        if (row >= 0) {
            cb_row = cb + std::size_t(row) * chroma_pitch;
            cr_row = cr + std::size_t(row) * chroma_pitch;
        }
        auto planar_pairs = [&](SimdTier t, std::uint32_t from) {
            const auto kernel = FromRgbKernelsFor(t).planar;
            return kernel ? kernel(k, layout.pixels, in + 2 * from * pixel_bytes, luma + 2 * from,
                                   cb_row ? cb_row + from : nullptr, cr_row ? cr_row + from : nullptr, pairs - from)
                          : 0u;
        };
        const std::uint32_t done = vector ? ByNarrowingTiers(tier, pairs, planar_pairs) : 0;
        ConvertPairs(k, layout, in, done, pairs, luma, 2, 1, cb_row, cr_row, 1);
    }
    const std::uint32_t area = width * height;
    return planar && !chroma_every_line ? area + 2 * (area / 4) : 2 * area;
}

std::uint32_t RgbToYCbCr8(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                          std::uint32_t width, std::uint32_t height, std::uint32_t pitch, std::uint32_t src_pitch,
                          std::int32_t matrix, std::uint32_t flags, bool chroma_every_line, bool planar,
                          int bits_per_pixel, std::uint32_t chroma_pitch) {
    return RgbToYCbCr8With(ActiveSimdTier(), y, cb, cr, src, width, height, pitch, src_pitch, matrix, flags,
                           chroma_every_line, planar, bits_per_pixel, chroma_pitch);
}

}  // namespace lumacore

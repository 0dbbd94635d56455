#include "colour/rgb_to_v210.h"

#include <cstddef>

#include "colour/rgb_to_ycbcr_pixel.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"
#include "engine/kernel_table.h"

namespace lumacore {
namespace {

struct Samples10 {
    std::uint32_t y, cb, cr;
};

Samples10 PixelSamples(const PixelCoefficients& k, const std::uint8_t* p) {
    return {std::uint32_t(ComponentSample(ComponentSum(k.y, p), k.y_offset, k.max)),
            std::uint32_t(ComponentSample(ComponentSum(k.cb, p), k.c_offset, k.max)),
            std::uint32_t(ComponentSample(ComponentSum(k.cr, p), k.c_offset, k.max))};
}

void StoreWord(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

std::uint32_t Fields(std::uint32_t a, std::uint32_t b, std::uint32_t c) { return a | (b << 10) | (c << 20); }

// The reference: groups `first_group` to the end of one line. `before` is
// the pixel before the first group (its chroma feeds the filter).
void ConvertGroups(const PixelCoefficients& k, RgbSourceLayout layout, const std::uint8_t* line, std::uint32_t width,
                   std::uint32_t first_group, Samples10 before, std::uint8_t* out) {
    const std::uint32_t groups = (width + 5) / 6;
    for (std::uint32_t g = first_group; g < groups; ++g) {
        const std::uint32_t base = 6 * g;
        const std::uint32_t pairs = 1 + (base + 2 < width) + (base + 4 < width);
        // Fields of pairs the group does not reach stay 0.
        std::uint32_t y[6] = {}, cb[3] = {}, cr[3] = {};
        for (std::uint32_t j = 0; j < pairs; ++j) {
            const std::uint32_t left_x = base + 2 * j;
            // Past an odd width's end the last pixel stands in: nothing
            // beyond the line is read.
            const std::uint32_t right_x = left_x + 1 < width ? left_x + 1 : width - 1;
            const Samples10 left = PixelSamples(k, ColourBytes(line, layout, left_x));
            const Samples10 right = PixelSamples(k, ColourBytes(line, layout, right_x));
            y[2 * j] = left.y;
            y[2 * j + 1] = right.y;
            cb[j] = (before.cb + 2 * left.cb + right.cb) / 4;
            cr[j] = (before.cr + 2 * left.cr + right.cr) / 4;
            before = right;
        }
        std::uint8_t* words = out + std::size_t(g) * 16;
        StoreWord(words, Fields(cb[0], y[0], cr[0]));
        StoreWord(words + 4, Fields(y[1], cb[1], y[2]));
        if (pairs > 1) StoreWord(words + 8, Fields(cr[1], y[3], cb[2]));
        if (pairs > 2) StoreWord(words + 12, Fields(y[4], cr[2], y[5]));
    }
}

}  // namespace

std::uint32_t RgbToV210With(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                            std::uint32_t height, std::uint32_t pitch, std::uint32_t src_pitch, std::int32_t matrix,
                            std::uint32_t flags, int bits_per_pixel) {
    const RgbSourceLayout layout = RgbSourceLayoutOf(bits_per_pixel, flags);
    const PixelCoefficients k =
        PixelCoefficientsFor(kFromRgb10[FromRgbRow(matrix)], layout.red_first, kChromaOffset10, 1023);
    const bool bottom_up = (flags & FLAG_SOURCE_BOTTOM_UP) != 0;
    // The pixel before a line's first counts as neutral chroma.
    constexpr Samples10 kNeutral{0, 512, 512};
    const auto before = [&](const std::uint8_t* in, std::uint32_t x) {
        return x ? PixelSamples(k, ColourBytes(in, layout, x - 1)) : kNeutral;
    };

    for (std::uint32_t line = 0; line < height; ++line) {
        const std::uint8_t* in = src + std::size_t(bottom_up ? height - 1 - line : line) * src_pitch;
        std::uint8_t* out = dst + std::size_t(line) * pitch;
        // The widest tier's blocks, then the narrower tiers' smaller ones
        // (each a multiple of six pixels), then the reference.
        const std::uint32_t done = ByNarrowingTiers(tier, width, [&](SimdTier t, std::uint32_t from) -> std::uint32_t {
            const auto kernel = FromRgbKernelsFor(t).v210;
            if (!kernel) return 0;
            const Samples10 last = before(in, from);
            return kernel(k, layout.pixels, in + std::size_t(from) * layout.bytes_per_pixel,
                          out + std::size_t(from / 6) * 16, width - from, last.cb, last.cr);
        });
        ConvertGroups(k, layout, in, width, done / 6, before(in, done), out);
    }
    return height * pitch;
}

std::uint32_t RgbToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags,
                        int bits_per_pixel) {
    return RgbToV210With(ActiveSimdTier(), dst, src, width, height, pitch, src_pitch, matrix, flags, bits_per_pixel);
}

}  // namespace lumacore

#include "colour/to_rgb_routines.h"

#include <cstddef>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_lut_tables.h"
#include "colour/to_rgb_pixels.h"
#include "colour/to_rgb_program.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "engine/reverse_lines.h"
#include "engine/sample_positions.h"
#include "engine/simd_tier.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

enum class Packed8 { Uyvy, Cyuv, Yuy2, Yvyu };
enum class Planar { P422, I420, Yv12 };

bool IsMmxLevel(std::uint32_t level) { return level >= SIMD_MMX && level <= SIMD_3DNOW; }

std::uint32_t Packed8ToRgb(Packed8 source, int bits, std::uint8_t* dst, const std::uint8_t* src,
                           std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                           std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    const SimdTier tier = ActiveSimdTier();  // runs the first-use rule
    const std::uint32_t level = SimdLevel.load(std::memory_order_acquire);
    const bool uyvy_order = source == Packed8::Uyvy || source == Packed8::Cyuv;
    const bool flip = source == Packed8::Cyuv;
    const bool kernel_shape = width >= 2 && height >= 1;

    // The 13-bit kernel knows every channel order and places lines itself.
    if (bits == 32 && uyvy_order && IsMmxLevel(level) && kernel_shape) {
        K13Packed8ToRgb32(tier, dst, src, width, height, dst_pitch, src_pitch, matrix,
                          flip ? flags ^ FLAG_DEST_BOTTOM_UP : flags);
        if (StreamsStores(flags)) FenceStreamedStores(tier);
        return height * dst_pitch;
    }
    const bool kernel_level = level == SIMD_PLAIN || IsMmxLevel(level);
    if (bits != 15 && source != Packed8::Yvyu && (flags & 0x7FFFu) == ORDER_BGRX && kernel_level && kernel_shape) {
        // These kernels always write bottom-up; cyuv's lines, stored the
        // other way round, come out top-down.
        const KernelPairOrder order = uyvy_order ? KernelPairOrder::Uyvy : KernelPairOrder::Yuy2;
        std::uint8_t* first = flip ? dst : dst + std::size_t(height - 1) * dst_pitch;
        const std::ptrdiff_t step = flip ? std::ptrdiff_t(dst_pitch) : -std::ptrdiff_t(dst_pitch);
        if (level == SIMD_PLAIN)
            LutKernel(tier, order, bits, LutSetFor(matrix), first, step, src, src_pitch, width, height);
        else
            K6Kernel(tier, order, bits, IsStandardRange(matrix) ? K6_601_EXPANDED : K6_601_PLAIN, first, step, src,
                     src_pitch, width, height, StreamsStores(flags));
        if (StreamsStores(flags)) FenceStreamedStores(tier);
        return height * dst_pitch;
    }

    const std::uint8_t *luma = src, *cb = src + 1, *cr = src + 3;  // YUY2
    if (uyvy_order) {
        luma = src + 1;
        cb = src;
        cr = src + 2;
    } else if (source == Packed8::Yvyu) {
        cb = src + 3;
        cr = src + 1;
    }
    const std::uint32_t count = YCbCr8ToRgbWith(tier, dst, luma, cb, cr, width, height, dst_pitch, src_pitch, matrix,
                                                flags, kChromaRowPerLine, kPackedLayout, bits, src_pitch);
    if (StreamsStores(flags)) FenceStreamedStores(tier);
    if (flip) ReverseLines(dst, dst_pitch, height);
    return count;
}

// Lines [first, end) of the frame; `first` even (a 4:2:0 chroma row serves
// lines 2k and 2k + 1).
std::uint32_t PlanarToRgb(Planar source, int bits, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                          std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                          std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    const SimdTier tier = ActiveSimdTier();
    const int code = source == Planar::P422 ? FMT_P422 : source == Planar::Yv12 ? FMT_YV12 : FMT_I420;
    const Planes<const std::uint8_t> in = PlanesOf(code, src, src_pitch, height);
    const std::uint32_t row = in.RowOfLine(first);
    std::uint8_t* out = dst + std::size_t(IsBottomUp(flags) ? height - end : first) * dst_pitch;
    const std::uint32_t count =
        YCbCr8ToRgbWith(tier, out, in.Luma(first), in.CbRow(row), in.CrRow(row), width, end - first, dst_pitch,
                        src_pitch, matrix, flags, source == Planar::P422 ? kChromaRowPerLine : kChromaRowPerTwoLines,
                        kPlanarLayout, bits, in.chroma_pitch);
    if (StreamsStores(flags)) FenceStreamedStores(tier);
    return count;
}

std::uint32_t V210ToRgbBits(int bits, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                            std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                            std::int32_t matrix, std::uint32_t flags) {
    const SimdTier tier = ActiveSimdTier();
    const std::uint32_t level = SimdLevel.load(std::memory_order_acquire);
    if (bits == 32 && IsMmxLevel(level) && width >= 2 && height >= 1) {
        K13V210ToRgb32(tier, dst, src, width, height, dst_pitch, src_pitch, matrix, flags);
        if (StreamsStores(flags)) FenceStreamedStores(tier);
        return height * dst_pitch;
    }
    const std::uint32_t count = V210ToRgbWith(tier, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, bits);
    if (StreamsStores(flags)) FenceStreamedStores(tier);
    return count;
}

// Video-range alpha stretched to 0..255 (standard-range matrices) or the
// sample's top eight bits.
struct AlphaMaps {
    std::uint8_t plane8[2][256];    // [standard range][sample]
    std::uint8_t packed10[2][1024];
};

constexpr AlphaMaps MakeAlphaMaps() {
    AlphaMaps m{};
    for (int a = 0; a < 256; ++a) {
        m.plane8[0][a] = std::uint8_t(a);
        m.plane8[1][a] = std::uint8_t(a <= 16 ? 0 : a >= 235 ? 255 : (a * 255 - 4080) / 219);
    }
    for (int a = 0; a < 1024; ++a) {
        m.packed10[0][a] = std::uint8_t(a >> 2);
        m.packed10[1][a] = std::uint8_t(a <= 64 ? 0 : a >= 940 ? 255 : (a * 255 - 16320) / 876);
    }
    return m;
}

constexpr AlphaMaps kAlphaMaps = MakeAlphaMaps();

}  // namespace

#define PACKED8_ROUTINE(name, source, bits)                                                                        \
    std::uint32_t name(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,     \
                       std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) { \
        return Packed8ToRgb(Packed8::source, bits, dst, src, width, height, dst_pitch, src_pitch, matrix, flags);  \
    }
#define PLANAR_ROUTINE(name, source, bits)                                                                          \
    std::uint32_t name(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,      \
                       std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {  \
        return PlanarToRgb(Planar::source, bits, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 0,    \
                           height);                                                                                 \
    }                                                                                                               \
    std::uint32_t name##Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height, \
                              std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,                \
                              std::uint32_t flags, std::uint32_t first, std::uint32_t end) {                        \
        return PlanarToRgb(Planar::source, bits, dst, src, width, height, dst_pitch, src_pitch, matrix, flags,      \
                           first, end);                                                                             \
    }
#define V210_ROUTINE(name, bits)                                                                                   \
    std::uint32_t name(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,     \
                       std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) { \
        return V210ToRgbBits(bits, dst, src, width, height, dst_pitch, src_pitch, matrix, flags);                 \
    }

PACKED8_ROUTINE(UyvyToRgb555, Uyvy, 15)
PACKED8_ROUTINE(UyvyToRgb565, Uyvy, 16)
PACKED8_ROUTINE(UyvyToRgb24, Uyvy, 24)
PACKED8_ROUTINE(UyvyToRgb32, Uyvy, 32)
PACKED8_ROUTINE(CyuvToRgb555, Cyuv, 15)
PACKED8_ROUTINE(CyuvToRgb565, Cyuv, 16)
PACKED8_ROUTINE(CyuvToRgb24, Cyuv, 24)
PACKED8_ROUTINE(CyuvToRgb32, Cyuv, 32)
PACKED8_ROUTINE(Yuy2ToRgb555, Yuy2, 15)
PACKED8_ROUTINE(Yuy2ToRgb565, Yuy2, 16)
PACKED8_ROUTINE(Yuy2ToRgb24, Yuy2, 24)
PACKED8_ROUTINE(Yuy2ToRgb32, Yuy2, 32)
PACKED8_ROUTINE(YvyuToRgb555, Yvyu, 15)
PACKED8_ROUTINE(YvyuToRgb565, Yvyu, 16)
PACKED8_ROUTINE(YvyuToRgb24, Yvyu, 24)
PACKED8_ROUTINE(YvyuToRgb32, Yvyu, 32)
PLANAR_ROUTINE(P422ToRgb555, P422, 15)
PLANAR_ROUTINE(P422ToRgb565, P422, 16)
PLANAR_ROUTINE(P422ToRgb24, P422, 24)
PLANAR_ROUTINE(P422ToRgb32, P422, 32)
PLANAR_ROUTINE(I420ToRgb555, I420, 15)
PLANAR_ROUTINE(I420ToRgb565, I420, 16)
PLANAR_ROUTINE(I420ToRgb24, I420, 24)
PLANAR_ROUTINE(I420ToRgb32, I420, 32)
PLANAR_ROUTINE(Yv12ToRgb555, Yv12, 15)
PLANAR_ROUTINE(Yv12ToRgb565, Yv12, 16)
PLANAR_ROUTINE(Yv12ToRgb24, Yv12, 24)
PLANAR_ROUTINE(Yv12ToRgb32, Yv12, 32)
V210_ROUTINE(V210ToRgb555, 15)
V210_ROUTINE(V210ToRgb565, 16)
V210_ROUTINE(V210ToRgb24, 24)
V210_ROUTINE(V210ToRgb32, 32)

#undef PACKED8_ROUTINE
#undef PLANAR_ROUTINE
#undef V210_ROUTINE

std::uint32_t Plane8AlphaToRgb32(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                 std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t, std::int32_t matrix,
                                 std::uint32_t flags) {
    EnsureProcessorFeatures();
    const std::uint8_t* map = kAlphaMaps.plane8[IsStandardRange(matrix) ? 1 : 0];
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t line_index = IsBottomUp(flags) ? height - 1 - y : y;
        std::uint8_t* out = dst + std::size_t(line_index) * dst_pitch + 3;
        const std::uint8_t* in = src + std::size_t(y) * width;
        for (std::uint32_t x = 0; x < width; ++x) out[4 * std::size_t(x)] = map[in[x]];
    }
    return width * height;
}

std::uint32_t Packed10AlphaToRgb32(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                                   std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t, std::int32_t matrix,
                                   std::uint32_t flags) {
    EnsureProcessorFeatures();
    const std::uint8_t* map = kAlphaMaps.packed10[IsStandardRange(matrix) ? 1 : 0];
    const std::size_t line_bytes = 4 * ((std::size_t(width) + 2) / 3);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t line_index = IsBottomUp(flags) ? height - 1 - y : y;
        std::uint8_t* out = dst + std::size_t(line_index) * dst_pitch + 3;
        const std::uint8_t* in = src + std::size_t(y) * line_bytes;
        for (std::uint32_t x = 0; x < width; x += 3, in += 4) {
            const std::uint32_t word = std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8 |
                                       std::uint32_t(in[2]) << 16 | std::uint32_t(in[3]) << 24;
            for (std::uint32_t i = 0; i < 3 && x + i < width; ++i)
                out[4 * std::size_t(x + i)] = map[(word >> (10 * i)) & 0x3FFu];
        }
    }
    return width * height * 4 / 3;
}

}  // namespace lumacore

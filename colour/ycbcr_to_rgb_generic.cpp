#include "colour/ycbcr_to_rgb_generic.h"

#include <cstddef>

#include "colour/to_rgb_program.h"
#include "colour/to_rgb_v210_lines.h"

namespace lumacore {
namespace {

// Bytes a pixel takes when it is written.
std::uint32_t WrittenBytesPerPixel(int bits) { return bits == 24 ? 3u : bits == 32 ? 4u : 2u; }

struct Line8 {
    const std::uint8_t* luma;
    const std::uint8_t* cb;
    const std::uint8_t* cr;
    bool packed;
};

// Pixels x0 to width - 1 of one line.
void ReferenceLine8(std::uint8_t* out, const Line8& line, std::uint32_t width, std::uint32_t x0,
                    const ToRgbCoefficients& k, int bits, RgbChannelOrder order) {
    const std::uint32_t luma_step = line.packed ? 2 : 1, chroma_step = line.packed ? 4 : 1;
    const std::uint32_t pairs = width / 2, size = WrittenBytesPerPixel(bits);
    for (std::uint32_t x = x0; x < width; ++x) {
        std::int32_t cb = 128, cr = 128;
        if (pairs > 0) {
            const std::uint32_t pair = x / 2 < pairs ? x / 2 : pairs - 1;
            cb = line.cb[std::size_t(pair) * chroma_step];
            cr = line.cr[std::size_t(pair) * chroma_step];
        }
        std::uint32_t r, g, b;
        GenericRgb(k, line.luma[std::size_t(x) * luma_step], cb, cr, &r, &g, &b);
        PutRgbPixel(out + std::size_t(x) * size, bits, order, r, g, b);
    }
}

// Which packed layout the three sample pointers describe, if a vector tier
// reads it.
bool PackedSourceOf(const std::uint8_t* luma, const std::uint8_t* cb, const std::uint8_t* cr, PairSource* source,
                    const std::uint8_t** start) {
    const auto y = reinterpret_cast<std::uintptr_t>(luma), u = reinterpret_cast<std::uintptr_t>(cb),
               v = reinterpret_cast<std::uintptr_t>(cr);
    if (y == u + 1 && v == u + 2) {
        *source = PairSource::Uyvy;
        *start = cb;
    } else if (u == y + 1 && v == y + 3) {
        *source = PairSource::Yuy2;
        *start = luma;
    } else if (v == y + 1 && u == y + 3) {
        *source = PairSource::Yvyu;
        *start = luma;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::uint32_t YCbCr8ToRgbWith(SimdTier tier, std::uint8_t* dst, const std::uint8_t* luma, const std::uint8_t* cb,
                              const std::uint8_t* cr, std::uint32_t width, std::uint32_t height,
                              std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                              std::uint32_t flags, int chroma_rows, int layout, int bits,
                              std::uint32_t chroma_pitch) {
    const std::uint32_t count = width * height * CountedBytesPerPixel(bits);
    if (height == 0 || !WritesPixels(bits)) return count;

    const ToRgbCoefficients& k = kToRgb8[ToRgbMatrixIndex(matrix)];
    const RgbChannelOrder order = ChannelOrderOf(flags);
    const bool packed = layout != kPlanarLayout;
    PairProgram program;
    PairSource source = PairSource::Planar8;
    const std::uint8_t* packed_start = nullptr;
    const bool vector = PairBlockPixels(tier) != 0 && GenericProgram(k, bits, order, &program) &&
                        (!packed || PackedSourceOf(luma, cb, cr, &source, &packed_start));
    program.stream = StreamsStores(flags);

    auto out_line = [&](std::uint32_t y) {
        return dst + std::size_t(IsBottomUp(flags) ? height - 1 - y : y) * dst_pitch;
    };
    auto line_of = [&](std::uint32_t y) {
        Line8 line;
        line.packed = packed;
        if (packed) {
            const std::size_t at = std::size_t(y) * src_pitch;
            line.luma = luma + at;
            line.cb = cb + at;
            line.cr = cr + at;
        } else {
            const std::uint32_t row = chroma_rows == kChromaRowPerLine ? y : y / 2;
            line.luma = luma + std::size_t(y) * src_pitch;
            line.cb = cb + std::size_t(row) * chroma_pitch;
            line.cr = cr + std::size_t(row) * chroma_pitch;
        }
        return line;
    };
    // Line y from pixel `start` on (whole pairs before it already written).
    auto convert = [&](std::uint32_t y, std::uint32_t start) {
        std::uint8_t* out = out_line(y);
        const Line8 line = line_of(y);
        std::uint32_t done = start;
        if (vector) {
            const std::size_t size = WrittenBytesPerPixel(bits);
            done += packed ? RunPairBlocks(tier, program, source, out, packed_start + std::size_t(y) * src_pitch,
                                           nullptr, nullptr, width)
                           : RunPairBlocks(tier, program, source, out + start * size, line.luma + start,
                                           line.cb + start / 2, line.cr + start / 2, width - start);
        }
        ReferenceLine8(out, line, width, done, k, bits, order);
    };
    // 4:2:0 lines two at a time where the tier converts both from one
    // chroma row at once.
    const bool line_pairs = vector && !packed && chroma_rows == kChromaRowPerTwoLines;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (line_pairs && y % 2 == 0 && y + 1 < height) {
            const Line8 line = line_of(y);
            std::uint8_t* const outs[2] = {out_line(y), out_line(y + 1)};
            const std::uint8_t* const lumas[2] = {line.luma, line.luma + src_pitch};
            const std::uint32_t both = RunTwoLinePairBlocks(tier, program, outs, lumas, line.cb, line.cr, width);
            const std::uint32_t from = OverlapStart(tier, both, width);
            convert(y, from);
            convert(++y, from);
            continue;
        }
        convert(y, 0);
    }
    return count;
}

std::uint32_t YCbCr8ToRgb(std::uint8_t* dst, const std::uint8_t* luma, const std::uint8_t* cb,
                          const std::uint8_t* cr, std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                          std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, int chroma_rows,
                          int layout, int bits, std::uint32_t chroma_pitch) {
    return YCbCr8ToRgbWith(ActiveSimdTier(), dst, luma, cb, cr, width, height, dst_pitch, src_pitch, matrix, flags,
                           chroma_rows, layout, bits, chroma_pitch);
}

std::uint32_t V210ToRgbWith(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                            std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                            std::int32_t matrix, std::uint32_t flags, int bits) {
    const std::uint32_t count = width * height * CountedBytesPerPixel(bits);
    if (height == 0 || !WritesPixels(bits)) return count;

    const ToRgbCoefficients& k = kToRgb10[ToRgbMatrixIndex(matrix)];
    const RgbChannelOrder order = ChannelOrderOf(flags);
    PairProgram program;
    const bool vector = PairBlockPixels(tier) != 0 && GenericProgram(k, bits, order, &program);
    program.stream = StreamsStores(flags);
    const std::uint32_t size = WrittenBytesPerPixel(bits);
    auto pixel = [&](std::uint8_t* o, std::int32_t y, std::int32_t cb, std::int32_t cr) {
        std::uint32_t r, g, b;
        GenericRgb(k, y, cb, cr, &r, &g, &b);
        PutRgbPixel(o, bits, order, r, g, b);
    };
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t line_index = IsBottomUp(flags) ? height - 1 - y : y;
        ConvertV210Line(tier, vector ? &program : nullptr, dst + std::size_t(line_index) * dst_pitch,
                        src + std::size_t(y) * src_pitch, width,
                        V210Readable(width, std::uint64_t(height - y) * src_pitch), size, pixel);
    }
    return count;
}

std::uint32_t V210ToRgb(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags,
                        int bits) {
    return V210ToRgbWith(ActiveSimdTier(), dst, src, width, height, dst_pitch, src_pitch, matrix, flags, bits);
}

}  // namespace lumacore

#include "colour/to_rgb_kernels.h"

#include "colour/to_rgb_k13_tables.h"
#include "colour/to_rgb_pixels.h"
#include "colour/to_rgb_program.h"
#include "colour/to_rgb_v210_lines.h"

namespace lumacore {
namespace {

// The samples of pixel x of a packed 8-bit line (x below width): its own Y,
// and the Cb and Cr of its pair, or, for the last pixel of an odd width, of
// the pair to its left.
struct PackedSamples {
    std::int32_t y, cb, cr;
};

PackedSamples SamplesAt(const std::uint8_t* in, KernelPairOrder order, std::uint32_t width, std::uint32_t x) {
    const std::uint32_t pairs = width / 2;
    const std::uint32_t pair = x / 2 < pairs ? x / 2 : pairs - 1;
    const std::uint8_t* p = in + 4 * std::size_t(pair);
    if (order == KernelPairOrder::Uyvy) return {in[2 * std::size_t(x) + 1], p[0], p[2]};
    return {in[2 * std::size_t(x)], p[1], p[3]};
}

PairSource SourceOf(KernelPairOrder order) { return order == KernelPairOrder::Uyvy ? PairSource::Uyvy : PairSource::Yuy2; }

void LutLine(std::uint8_t* out, const std::uint8_t* in, std::uint32_t width, std::uint32_t x0, KernelPairOrder order,
             int bits, const LutSet& t) {
    for (std::uint32_t x = x0; x < width; ++x) {
        const PackedSamples s = SamplesAt(in, order, width, x);
        const std::uint32_t sum = t.luma[s.y] + t.cb[s.cb] + t.cr[s.cr];
        const int blue = int((sum >> kLutBlueShift) & kLutFieldMask) - kLutBlueBias + kLutClampOffset;
        const int green = int((sum >> kLutGreenShift) & kLutFieldMask) - kLutGreenBias + kLutClampOffset;
        const int red = int((sum >> kLutRedShift) & kLutFieldMask) - kLutRedBias + kLutClampOffset;
        if (bits == 16) {
            const std::uint32_t word = std::uint32_t(kLutClamp.clamp5[red]) << 10 |
                                       std::uint32_t(kLutClamp.clamp5[green]) << 5 | kLutClamp.clamp5[blue];
            StoreWord(out + 2 * std::size_t(x), word);
            continue;
        }
        std::uint8_t* p = out + std::size_t(x) * (bits == 24 ? 3 : 4);
        p[0] = kLutClamp.clamp8[blue];
        p[1] = kLutClamp.clamp8[green];
        p[2] = kLutClamp.clamp8[red];  // a 32-bit pixel's fourth byte is left as it is
    }
}

void K6Line(std::uint8_t* out, const std::uint8_t* in, std::uint32_t width, std::uint32_t x0, KernelPairOrder order,
            int bits, const K6Set& k) {
    for (std::uint32_t x = x0; x < width; ++x) {
        const PackedSamples s = SamplesAt(in, order, width, x);
        const std::int32_t luma = k.luma_gain * (s.y - k.luma_offset) + kK6Round;
        const std::int32_t cb = s.cb - 128, cr = s.cr - 128;
        const std::uint32_t b = Clamp255((luma + k.cb_to_b * cb) >> kK6Shift);
        const std::uint32_t g = Clamp255((luma + k.cb_to_g * cb + k.cr_to_g * cr) >> kK6Shift);
        const std::uint32_t r = Clamp255((luma + k.cr_to_r * cr) >> kK6Shift);
        if (bits == 16) {
            StoreWord(out + 2 * std::size_t(x), Pack555(r, g, b));
            continue;
        }
        std::uint8_t* p = out + std::size_t(x) * (bits == 24 ? 3 : 4);
        p[0] = std::uint8_t(b);
        p[1] = std::uint8_t(g);
        p[2] = std::uint8_t(r);
        if (bits == 32) p[3] = std::uint8_t(Clamp255(luma >> kK6Shift));
    }
}

// One 32-bit pixel: each byte one multiply-add over its row.
void K13Pixel(std::uint8_t* p, const K13Layout& layout, std::int32_t y, std::int32_t cb, std::int32_t cr) {
    for (int j = 0; j < 4; ++j) {
        const K13Row& row = layout.rows[j];
        p[j] = std::uint8_t(Clamp255((row.luma * y + row.cb * cb + row.cr * cr + row.bias) >> kK13Shift));
    }
}

template <class LineFn>
void PackedKernelLines(SimdTier tier, const PairProgram& program, KernelPairOrder order, std::uint8_t* dst_first,
                       std::ptrdiff_t dst_step, const std::uint8_t* src, std::uint32_t src_pitch,
                       std::uint32_t width, std::uint32_t lines, LineFn line) {
    for (std::uint32_t i = 0; i < lines; ++i) {
        std::uint8_t* out = dst_first + std::ptrdiff_t(i) * dst_step;
        const std::uint8_t* in = src + std::size_t(i) * src_pitch;
        const std::uint32_t done = RunPairBlocks(tier, program, SourceOf(order), out, in, nullptr, nullptr, width);
        line(out, in, done);
    }
}

}  // namespace

void LutKernel(SimdTier tier, KernelPairOrder order, int bits, const LutSet& set, std::uint8_t* dst_first,
               std::ptrdiff_t dst_step, const std::uint8_t* src, std::uint32_t src_pitch, std::uint32_t width,
               std::uint32_t lines) {
    PackedKernelLines(tier, LutProgram(set, bits), order, dst_first, dst_step, src, src_pitch, width, lines,
                      [&](std::uint8_t* out, const std::uint8_t* in, std::uint32_t done) {
                          LutLine(out, in, width, done, order, bits, set);
                      });
}

void K6Kernel(SimdTier tier, KernelPairOrder order, int bits, const K6Set& set, std::uint8_t* dst_first,
              std::ptrdiff_t dst_step, const std::uint8_t* src, std::uint32_t src_pitch, std::uint32_t width,
              std::uint32_t lines, bool stream) {
    PairProgram program = K6Program(set, bits);
    program.stream = stream;
    PackedKernelLines(tier, program, order, dst_first, dst_step, src, src_pitch, width, lines,
                      [&](std::uint8_t* out, const std::uint8_t* in, std::uint32_t done) {
                          K6Line(out, in, width, done, order, bits, set);
                      });
}

void K13Packed8ToRgb32(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                       std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                       std::uint32_t flags) {
    K13Tables scratch;
    const K13Tables& tables = K13TablesFor(matrix, scratch);
    const K13Layout& layout = tables.bits8[ChannelOrderOf(flags)];
    PairProgram program = K13Program(layout, tables.luma_offset8, tables.chroma_offset8);
    program.stream = StreamsStores(flags);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t line_index = IsBottomUp(flags) ? height - 1 - y : y;
        std::uint8_t* out = dst + std::size_t(line_index) * dst_pitch;
        const std::uint8_t* in = src + std::size_t(y) * src_pitch;
        const std::uint32_t done = RunPairBlocks(tier, program, PairSource::Uyvy, out, in, nullptr, nullptr, width);
        for (std::uint32_t x = done; x < width; ++x) {
            const PackedSamples s = SamplesAt(in, KernelPairOrder::Uyvy, width, x);
            K13Pixel(out + 4 * std::size_t(x), layout, s.y - tables.luma_offset8, s.cb - tables.chroma_offset8,
                     s.cr - tables.chroma_offset8);
        }
    }
}

void K13V210ToRgb32(SimdTier tier, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                    std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix,
                    std::uint32_t flags) {
    K13Tables scratch;
    const K13Tables& tables = K13TablesFor(matrix, scratch);
    const K13Layout& layout = tables.bits10[ChannelOrderOf(flags)];
    PairProgram program = K13Program(layout, tables.luma_offset10, tables.chroma_offset10);
    program.stream = StreamsStores(flags);
    auto pixel = [&](std::uint8_t* p, std::int32_t y, std::int32_t cb, std::int32_t cr) {
        K13Pixel(p, layout, y - tables.luma_offset10, cb - tables.chroma_offset10, cr - tables.chroma_offset10);
    };
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t line_index = IsBottomUp(flags) ? height - 1 - y : y;
        ConvertV210Line(tier, &program, dst + std::size_t(line_index) * dst_pitch, src + std::size_t(y) * src_pitch,
                        width, V210Readable(width, std::uint64_t(height - y) * src_pitch), 4, pixel);
    }
}

}  // namespace lumacore

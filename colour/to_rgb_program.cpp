#include "colour/to_rgb_program.h"

#include <algorithm>
#include <cstring>

#include "colour/simd/to_rgb_simd.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

// Slots of the generic converters' channels.
PairSlot Red(const ToRgbCoefficients& k) { return {0, std::int16_t(k.cr_to_r)}; }
PairSlot Green(const ToRgbCoefficients& k) { return {std::int16_t(-k.cb_to_g), std::int16_t(-k.cr_to_g)}; }
PairSlot Blue(const ToRgbCoefficients& k) { return {std::int16_t(k.cb_to_b), 0}; }

PairSlot Constant(std::int16_t value) {
    PairSlot s;
    s.constant = value;
    return s;
}

PairSlot Field(int field, std::int32_t bias) {
    PairSlot s;
    s.field = std::int8_t(field);
    s.bias = bias;
    return s;
}

}  // namespace

bool GenericProgram(const ToRgbCoefficients& k, int bits, RgbChannelOrder order, PairProgram* out) {
    if (!WritesPixels(bits)) return false;
    PairProgram p;
    p.finish = PairFinish::Divide10000;
    p.luma_offset = std::int16_t(k.luma_offset);
    p.chroma_offset = std::int16_t(k.chroma_offset);
    p.luma_gain = std::int16_t(k.luma_gain);
    const PairSlot first = BlueFirst(order) ? Blue(k) : Red(k);
    const PairSlot last = BlueFirst(order) ? Red(k) : Blue(k);
    switch (bits) {
        case 15:
        case 16:
            p.store = bits == 15 ? PairStore::Rgb555 : PairStore::Rgb565;
            p.slots[0] = first;
            p.slots[1] = Green(k);
            p.slots[2] = last;
            break;
        case 24:
            p.store = PairStore::Rgb24;
            p.slots[0] = first;
            p.slots[1] = Green(k);
            p.slots[2] = last;
            break;
        default:
            p.store = PairStore::Rgb32;
            if (FillerFirst(order)) {
                p.slots[0] = Constant(0);
                p.slots[1] = first;
                p.slots[2] = Green(k);
                p.slots[3] = last;
            } else {
                p.slots[0] = first;
                p.slots[1] = Green(k);
                p.slots[2] = last;
                p.slots[3] = Constant(0);
            }
            break;
    }
    *out = p;
    return true;
}

PairProgram K6Program(const K6Set& set, int bits) {
    PairProgram p;
    p.finish = PairFinish::Shift6;
    p.luma_offset = set.luma_offset;
    p.chroma_offset = 128;
    p.luma_gain = set.luma_gain;
    const PairSlot red{0, set.cr_to_r, kK6Round};
    const PairSlot green{set.cb_to_g, set.cr_to_g, kK6Round};
    const PairSlot blue{set.cb_to_b, 0, kK6Round};
    if (bits == 16) {
        p.store = PairStore::Rgb555;
        p.slots[0] = red;
        p.slots[1] = green;
        p.slots[2] = blue;
    } else {
        p.store = bits == 24 ? PairStore::Rgb24 : PairStore::Rgb32;
        p.slots[0] = blue;
        p.slots[1] = green;
        p.slots[2] = red;
        p.slots[3] = PairSlot{0, 0, kK6Round};  // the luma term alone
    }
    return p;
}

bool ShiftSixFitsWords(const PairProgram& p, PairSource source) {
    if (p.finish != PairFinish::Shift6 || source == PairSource::Planar8 || source == PairSource::Pairs16 ||
        source == PairSource::V210)
        return false;
    if (p.store != PairStore::Rgb32 && p.store != PairStore::Rgb24 && p.store != PairStore::Rgb555) return false;
    auto word = [](std::int32_t low, std::int32_t high) { return low >= -32768 && high <= 32767; };
    // The word code's luma term is gain x Y; the offsets go into the chroma
    // side's bias.
    if (!word(std::min(0, 255 * p.luma_gain), std::max(0, 255 * p.luma_gain))) return false;
    const std::int32_t c_low = -p.chroma_offset, c_high = 255 - p.chroma_offset;
    for (const PairSlot& s : p.slots) {
        if (s.constant >= 0) return false;
        std::int32_t low = s.bias - p.luma_gain * p.luma_offset, high = low;
        for (const std::int32_t gain : {std::int32_t(s.cb), std::int32_t(s.cr)}) {
            low += std::min(gain * c_low, gain * c_high);
            high += std::max(gain * c_low, gain * c_high);
        }
        if (!word(low, high)) return false;
    }
    return true;
}

PairProgram K13Program(const K13Layout& layout, std::int32_t luma_offset, std::int32_t chroma_offset) {
    PairProgram p;
    p.finish = PairFinish::Shift13;
    p.store = PairStore::Rgb32;
    p.luma_offset = std::int16_t(luma_offset);
    p.chroma_offset = std::int16_t(chroma_offset);
    for (int j = 0; j < 4; ++j) {
        const K13Row& row = layout.rows[j];
        if (row.luma == 0 && row.cb == 0 && row.cr == 0) {
            p.slots[j] = Constant(std::int16_t(Clamp255(row.bias >> kK13Shift)));
        } else {
            p.luma_gain = row.luma;  // every colour row has the matrix's luma gain
            p.slots[j] = PairSlot{row.cb, row.cr, row.bias};
        }
    }
    return p;
}

PairProgram LutProgram(const LutSet& set, int bits) {
    PairProgram p;
    p.finish = PairFinish::LutFields;
    p.lut = &set;
    const PairSlot blue = Field(0, kLutBlueBias), green = Field(1, kLutGreenBias), red = Field(2, kLutRedBias);
    if (bits == 16) {
        p.store = PairStore::Rgb555;
        p.slots[0] = red;
        p.slots[1] = green;
        p.slots[2] = blue;
    } else {
        p.store = bits == 24 ? PairStore::Rgb24 : PairStore::Rgb32KeepFourth;
        p.slots[0] = blue;
        p.slots[1] = green;
        p.slots[2] = red;
    }
    return p;
}

namespace {

std::uint32_t NoPairBlocks(const PairProgram&, PairSource, std::uint8_t*, const void*, const void*, const void*,
                           std::uint32_t) {
    return 0;
}

void UnpackV210PairsPlain(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                          std::uint32_t* c_pairs) {
    for (std::uint32_t g = 0; g < groups; ++g) UnpackV210Group(src + 16 * g, y_pairs + 3 * g, c_pairs + 3 * g);
}

void NoFence() {}

void DivideBy10000Plain(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) out[i] = std::uint8_t(Clamp255(sums[i] / kToRgbDivisor));
}

constexpr TierOverride<ToRgbKernels> kOverrides[] = {
    {VEC_SSE2, InstallToRgbSse2},
    {VEC_AVX2, InstallToRgbAvx2},
    {VEC_AVX512, InstallToRgbAvx512},
};

ToRgbKernels Build(std::uint32_t features) {
    return Override(ToRgbKernels{NoPairBlocks, 0, UnpackV210PairsPlain, DivideBy10000Plain, NoFence, nullptr},
                    kOverrides, features);
}

const ToRgbKernels& KernelsOf(SimdTier tier) { return KernelsFor<ToRgbKernels, Build>(tier); }

}  // namespace

std::uint32_t PairBlockPixels(SimdTier tier) { return KernelsOf(tier).block_pixels; }

std::uint32_t OverlapStart(SimdTier tier, std::uint32_t done, std::uint32_t pixels) {
    const std::uint32_t block = PairBlockPixels(tier), end = pixels & ~1u;
    return block != 0 && done >= block && end > done && end - done < block ? end - block : done;
}

namespace {

// The rows of a line from pixel `done` (even) on.
struct PairRows {
    const std::uint8_t *a, *b, *c;
};
PairRows From(PairSource source, const void* a, const void* b, const void* c, std::uint32_t done) {
    PairRows r{static_cast<const std::uint8_t*>(a), static_cast<const std::uint8_t*>(b),
               static_cast<const std::uint8_t*>(c)};
    const std::uint32_t pairs = done / 2;
    switch (source) {
        case PairSource::Planar8: r.a += done, r.b += pairs, r.c += pairs; break;
        case PairSource::Pairs16: r.a += 4 * std::size_t(pairs), r.b += 4 * std::size_t(pairs); break;
        case PairSource::V210: r.a += 16 * std::size_t(done / 6); break;
        default: r.a += 4 * std::size_t(pairs); break;
    }
    return r;
}

// Streamed lines that start off a cache line convert their first pixels,
// up to it, in blocks of this many on the side: a whole block of every tier.
constexpr std::uint32_t kHeadBlock = 64;

// Bytes from `p` to the next cache line boundary (0 on one).
std::uint32_t ToCacheLine(const std::uint8_t* p) {
    return std::uint32_t(0 - reinterpret_cast<std::uintptr_t>(p)) & 63;
}

bool StreamsRgb32(const PairProgram& p) { return p.stream && p.store == PairStore::Rgb32; }

// The program with ordinary stores, for the blocks converted on the side.
PairProgram Cached(const PairProgram& p) {
    PairProgram cached = p;
    cached.stream = false;
    return cached;
}

std::uint32_t TierBlocks(SimdTier tier, const PairProgram& program, PairSource source, std::uint8_t* dst,
                         const void* a, const void* b, const void* c, std::uint32_t pixels) {
    const auto blocks = [&](SimdTier t, std::uint32_t done) -> std::uint32_t {
        const ToRgbKernels& k = KernelsOf(t);
        if (k.block_pixels == 0 || pixels - done < k.block_pixels) return 0;
        const PairRows r = From(source, a, b, c, done);
        return k.pair_blocks(program, source, dst + std::size_t(done) * PairStoreBytes(program.store), r.a, r.b, r.c,
                             pixels - done);
    };
    // The tier's blocks, then one more ending on the last pair (see
    // OverlapStart); v210 reads start on whole groups, so there the narrower
    // tiers' smaller blocks take what they can of the rest.
    const std::uint32_t done = blocks(tier, 0);
    if (source != PairSource::V210) {
        const std::uint32_t from = OverlapStart(tier, done, pixels);
        if (from < done && blocks(tier, from) != 0) return from + PairBlockPixels(tier);
    }
    return done + ByNarrowingTiers(tier, pixels - done, [&](SimdTier t, std::uint32_t more) -> std::uint32_t {
        return blocks(t, done + more);
    });
}

}  // namespace

std::uint32_t RunPairBlocks(SimdTier tier, const PairProgram& program, PairSource source, std::uint8_t* dst,
                            const void* a, const void* b, const void* c, std::uint32_t pixels) {
    // Pixels of v210 groups whose direct reads (a register reads six groups)
    // give whole blocks past the longest head.
    constexpr std::uint32_t kV210HeadRun = 192;
    const std::uint32_t to_boundary = ToCacheLine(dst);
    if (!StreamsRgb32(program) || to_boundary == 0) return TierBlocks(tier, program, source, dst, a, b, c, pixels);
    // The pixels before the line's first cache line boundary go through a
    // block converted on the side, so that the streamed blocks start on it.
    // v210 reads start on whole groups: there the head is the first whole
    // number of groups that ends on a boundary (at most 46 pixels). A
    // destination not on a pixel pair boundary there streams nothing.
    const PairProgram cached = Cached(program);
    std::uint32_t head = to_boundary / 4;
    const std::uint32_t side = source == PairSource::V210 ? kV210HeadRun : kHeadBlock;
    if (to_boundary % 8 != 0) return TierBlocks(tier, cached, source, dst, a, b, c, pixels);
    if (source == PairSource::V210)
        while (head % 6 != 0) head += 16;
    if (pixels < head + 2 * side) return TierBlocks(tier, cached, source, dst, a, b, c, pixels);
    alignas(64) std::uint8_t block[4 * kV210HeadRun];
    if (TierBlocks(tier, cached, source, block, a, b, c, side) != side)
        return TierBlocks(tier, cached, source, dst, a, b, c, pixels);
    std::memcpy(dst, block, 4 * head);
    const PairRows r = From(source, a, b, c, head);
    return head + TierBlocks(tier, program, source, dst + 4 * head, r.a, r.b, r.c, pixels - head);
}

std::uint32_t RunTwoLinePairBlocks(SimdTier tier, const PairProgram& program, std::uint8_t* const dst[2],
                                   const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                                   std::uint32_t pixels) {
    const ToRgbKernels& k = KernelsOf(tier);
    if (!k.two_lines) return 0;
    const std::uint32_t at = ToCacheLine(dst[0]);
    if (!StreamsRgb32(program) || (at == 0 && ToCacheLine(dst[1]) == 0))
        return k.two_lines(program, dst, luma, cb, cr, pixels);
    // Streamed lines that start off a cache line: both lines' first pixels
    // up to it through blocks converted on the side, as RunPairBlocks does.
    // Lines off by different amounts, or not by whole pairs, take the
    // one-line path.
    const std::uint32_t head = at / 4;
    if (ToCacheLine(dst[1]) != at || at % 8 != 0 || pixels < head + 2 * kHeadBlock) return 0;
    alignas(64) std::uint8_t blocks[2][4 * kHeadBlock];
    std::uint8_t* const sides[2] = {blocks[0], blocks[1]};
    if (k.two_lines(Cached(program), sides, luma, cb, cr, kHeadBlock) != kHeadBlock) return 0;
    std::uint8_t* const rest[2] = {dst[0] + 4 * head, dst[1] + 4 * head};
    const std::uint8_t* const rest_luma[2] = {luma[0] + head, luma[1] + head};
    for (int line = 0; line < 2; ++line) std::memcpy(dst[line], blocks[line], 4 * head);
    return head + k.two_lines(program, rest, rest_luma, cb + head / 2, cr + head / 2, pixels - head);
}

void FenceStreamedStores(SimdTier tier) { KernelsOf(tier).fence(); }

void UnpackV210Pairs(SimdTier tier, const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                     std::uint32_t* c_pairs) {
    KernelsOf(tier).v210_pairs(src, groups, y_pairs, c_pairs);
}

void DivideBy10000(SimdTier tier, const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    KernelsOf(tier).divide(sums, out, count);
}

}  // namespace lumacore

// 6-bit programs on packed 8-bit pairs in 16-bit lanes, a register of
// pixels a step, written once over the pair pipeline's instruction-set
// records (to_rgb_isa_*.h, which also hold the word operations) and compiled
// in each tier's file.
//
// A 6-bit sum is luma term + chroma term + bias, shifted right by 6 and
// clamped. Where the program's luma term and its chroma term plus bias each
// fit a signed 16-bit word (ShiftSixFitsWords), the sum is formed with one
// saturating addition: a sum past 32767 or below -32768 saturates, and
// shifted it still lies past 255 or below 0, so the clamp gives the byte of
// the exact sum. Words are added modulo 2^16 on the way: the luma term is
// gain x Y (its offset goes into each slot's bias) and the chroma term is
// the low word of one pmaddwd of the pair's raw (Cb, Cr) words (their
// offsets go into the bias too); both pixels of a pair take that word.
//
// Include only from a file compiled for the record's instruction set.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_pipeline.h"
#include "colour/to_rgb_program.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace to_rgb_words {

template <class R>
struct Constants {
    using V = typename R::V;
    V luma_gain, gains[4], bias[4];
    bool chroma_last;  // the fourth slot has a chroma term
};

template <class R>
Constants<R> MakeConstants(const PairProgram& p, PairSource source) {
    Constants<R> k;  // every field is set below
    k.luma_gain = R::Set16Word(p.luma_gain);
    for (int j = 0; j < 4; ++j) {
        const PairSlot& s = p.slots[j];
        const std::int16_t first = source == PairSource::Yvyu ? s.cr : s.cb;
        const std::int16_t second = source == PairSource::Yvyu ? s.cb : s.cr;
        k.gains[j] = R::Set32(std::int32_t(std::uint32_t(std::uint16_t(first)) |
                                           std::uint32_t(std::uint16_t(second)) << 16));
        k.bias[j] = R::Set16Word(std::int16_t(s.bias - p.luma_gain * p.luma_offset -
                                          p.chroma_offset * (std::int32_t(s.cb) + s.cr)));
    }
    k.chroma_last = p.slots[3].cb != 0 || p.slots[3].cr != 0;
    return k;
}

// One step's finished words of kSlots slots; the fourth without chroma
// unless kChromaLast.
template <class R, int kSlots, bool kChromaLast>
inline void Slots(const Constants<R>& k, bool luma_high, typename R::V v, typename R::V out[4]) {
    using V = typename R::V;
    const V low_bytes = R::Set16Word(0x00FF);
    const V y = luma_high ? R::template Srli16<8>(v) : R::And(v, low_bytes);
    const V c = luma_high ? R::And(v, low_bytes) : R::template Srli16<8>(v);
    const V luma = R::Mullo16(y, k.luma_gain);
    // The low word of each pair's 32-bit sum, for both of its pixels.
    const V both = R::LaneBytes(0, 1, 0, 1, 4, 5, 4, 5, 8, 9, 8, 9, 12, 13, 12, 13);
    for (int j = 0; j < kSlots; ++j) {
        V term = k.bias[j];
        if (j < 3 || kChromaLast) term = R::Add16(R::Shuffle8(R::Madd(c, k.gains[j]), both), term);
        out[j] = R::template Srai16<6>(R::Adds16(luma, term));
    }
}

template <class R, PairStore T, bool kChromaLast>
std::uint32_t Steps(const PairProgram& p, PairSource source, std::uint8_t* dst, const std::uint8_t* line,
                    std::uint32_t pixels) {
    using V = typename R::V;
    constexpr std::uint32_t kPixels = 2 * R::kPairs;  // a register of 16-bit words
    const Constants<R> k = MakeConstants<R>(p, source);
    const bool luma_high = source == PairSource::Uyvy;
    const bool stream = to_rgb_pipeline::StreamsBlocks(p, dst);
    const std::uint32_t steps = pixels / kPixels;
    for (std::uint32_t n = 0; n < steps; ++n) {
        const V v = R::Load(line + 2 * kPixels * std::size_t(n));
        V s[4];
        if constexpr (T == PairStore::Rgb555) {
            Slots<R, 3, false>(k, luma_high, v, s);
            const V zero = R::Zero(), top = R::Set16Word(255), five = R::Set16Word(0xF8);
            auto clamp = [&](V x) { return R::Min16(R::Max16(x, zero), top); };
            const V word = R::Or(R::Or(R::template Slli16<7>(R::And(clamp(s[0]), five)),
                                       R::template Slli16<2>(R::And(clamp(s[1]), five))),
                                 R::template Srli16<3>(clamp(s[2])));
            R::Store(dst + 2 * kPixels * std::size_t(n), word);
        } else if constexpr (requires { R::kBytePermutes; }) {
            // Bytes put in place by two-register byte permutes.
            Slots<R, T == PairStore::Rgb32 ? 4 : 3, kChromaLast>(k, luma_high, v, s);
            if constexpr (T == PairStore::Rgb24) s[3] = R::Zero();
            const V br = R::PackU16(s[0], s[2]), ga = R::PackU16(s[1], s[3]);
            constexpr int kBytes = T == PairStore::Rgb32 ? 4 : 3;
            std::uint8_t* out = dst + kBytes * kPixels * std::size_t(n);
            R::template StorePixelBytes<kBytes>(out, br, ga, 0, stream);
            R::template StorePixelBytes<kBytes>(out + kBytes * kPixels / 2, br, ga, 1, stream);
        } else {
            // Pixels placed so that the stores' lanes come out in order.
            Slots<R, T == PairStore::Rgb32 ? 4 : 3, kChromaLast>(k, luma_high, R::ForQuads(v), s);
            if constexpr (T == PairStore::Rgb24) s[3] = R::Zero();
            const V br = R::PackU16(s[0], s[2]), ga = R::PackU16(s[1], s[3]);
            const V bg = R::UnpackLo8(br, ga), ra = R::UnpackHi8(br, ga);
            const V first = R::UnpackLo16(bg, ra), second = R::UnpackHi16(bg, ra);
            if constexpr (T == PairStore::Rgb32) {
                R::Put(dst + 4 * kPixels * std::size_t(n), first, stream);
                R::Put(dst + 4 * kPixels * std::size_t(n) + 2 * kPixels, second, stream);
            } else {
                R::StoreThreeOfFour(dst + 3 * kPixels * std::size_t(n), first, second);
            }
        }
    }
    return steps * kPixels;
}

template <class R>
std::uint32_t Run(const PairProgram& p, PairSource source, std::uint8_t* dst, const void* line,
                  std::uint32_t pixels) {
    const auto* in = static_cast<const std::uint8_t*>(line);
    const bool chroma_last = p.slots[3].cb != 0 || p.slots[3].cr != 0;
    switch (p.store) {
        case PairStore::Rgb32:
            return chroma_last ? Steps<R, PairStore::Rgb32, true>(p, source, dst, in, pixels)
                               : Steps<R, PairStore::Rgb32, false>(p, source, dst, in, pixels);
        case PairStore::Rgb24: return Steps<R, PairStore::Rgb24, false>(p, source, dst, in, pixels);
        case PairStore::Rgb555: return Steps<R, PairStore::Rgb555, false>(p, source, dst, in, pixels);
        default: return 0;
    }
}

}  // namespace to_rgb_words
}  // namespace LUMACORE_ISA
}  // namespace lumacore

// The pair pipeline, written once over an instruction-set record `I` (the
// SSE2, AVX2 and AVX-512 records of to_rgb_isa_*.h) and compiled in each
// tier's file.
//
// A register holds I::kPairs pixel pairs, one pair per 32-bit lane, as two
// 16-bit samples: Y words (Y0, Y1) and C words (Cb, Cr). A block is two such
// registers. Per pair and output slot, one multiply-add of the C word with the
// slot's (Cb, Cr) gains gives the chroma term; one multiply-add of the Y word
// with (gain, 0) or (0, gain) gives the luma term of the left or the right
// pixel. Sums are finished in 32-bit lanes (exact: no sum of any program can
// leave 32 bits), then packed with signed saturation to 16 bits and unsigned
// saturation to 8 bits, which is the clamp to 0..255. A record whose
// multiply-add accumulates (kMaddAccumulates: VNNI) adds the bias and the
// chroma term inside it; one with two-register byte permutes (kBytePermutes)
// stores 24-bit pixels with them (for 32-bit pixels the in-lane unpacks
// measured as fast).
//
// Include only from a file compiled for the record's instruction set.
#pragma once

#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "colour/to_rgb_program.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace to_rgb_pipeline {

// The shift finishes work on samples and gains scaled so that a sum comes
// out 2^16 times its value shifted: its high 16 bits are then the shifted
// sum (rounded toward minus infinity, as the arithmetic shift), already a
// 16-bit word of the output. 13-bit: samples x 8; 6-bit: samples and gains
// x 32 (every 6-bit gain stays within 16 bits). Every such sum stays within
// 32 bits: 8 x 4.6 million and 1024 x 36000 at most.
constexpr bool IsShiftFinish(PairFinish f) { return f == PairFinish::Shift6 || f == PairFinish::Shift13; }
constexpr int SampleShift(PairFinish f) { return f == PairFinish::Shift13 ? 3 : 5; }
constexpr int GainShift(PairFinish f) { return f == PairFinish::Shift13 ? 0 : 5; }

template <class I>
struct Constants {
    using V = typename I::V;
    using Count = decltype(I::ShiftCount(0));
    V luma_offset, chroma_offset, gain_left, gain_right;
    V gains[4], bias[4], constant[4], constant16[4];
    Count field_shift[4];
    bool is_constant[4], has_chroma[4];
};

// One block's samples: Y and C words of two registers of pairs.
template <class I, PairSource S>
inline void Load(const void* a, const void* b, const void* c, std::uint32_t block, typename I::V y[2],
                 typename I::V ch[2]) {
    using V = typename I::V;
    constexpr std::uint32_t kPairs = 2 * I::kPairs;  // pairs per block
    if constexpr (S == PairSource::Planar8) {
        I::LoadPlanar8(static_cast<const std::uint8_t*>(a) + block * 2 * kPairs,
                       static_cast<const std::uint8_t*>(b) + block * kPairs,
                       static_cast<const std::uint8_t*>(c) + block * kPairs, y, ch);
    } else if constexpr (S == PairSource::V210) {
        I::LoadV210(static_cast<const std::uint8_t*>(a), block, y, ch);
    } else if constexpr (S == PairSource::Pairs16) {
        const auto* yp = static_cast<const std::uint32_t*>(a) + block * kPairs;
        const auto* cp = static_cast<const std::uint32_t*>(b) + block * kPairs;
        y[0] = I::Load(yp);
        y[1] = I::Load(yp + I::kPairs);
        ch[0] = I::Load(cp);
        ch[1] = I::Load(cp + I::kPairs);
    } else {
        const auto* p = static_cast<const std::uint8_t*>(a) + block * 4 * kPairs;
        const V low_bytes = I::Set16Pair(0xFF, 0xFF);
        for (int r = 0; r < 2; ++r) {
            const V v = I::Load(p + r * 4 * I::kPairs);
            if constexpr (S == PairSource::Uyvy) {
                y[r] = I::template Srli16<8>(v);
                ch[r] = I::And(v, low_bytes);
            } else {
                y[r] = I::And(v, low_bytes);
                ch[r] = I::template Srli16<8>(v);
            }
        }
    }
}

// acc + the multiply-add of a and b: one instruction where the record has
// one (VNNI), else a multiply-add and an addition.
template <class I>
inline typename I::V MaddAdd(typename I::V acc, typename I::V a, typename I::V b) {
    if constexpr (requires { I::kMaddAccumulates; })
        return I::MaddAcc(acc, a, b);
    else
        return I::Add32(I::Madd(a, b), acc);
}

// The division by 10000 of 8-bit samples' sums, fused into the luma term
// (records with fused multiply-adds). The sum is s = gain (Y - offset) + C,
// C the chroma term with the bias (exact; the chroma offsets folded into the
// bias). Per pair and slot, c = C x (1/10000) + m in one fused multiply-add,
// m = 0.00005 - offset x gain/10000; per pixel, Y x (gain/10000) + c in
// another, truncated. The exact quotient of s >= 0 is k + f with f a multiple
// of 0.0001 below 1, so k + f + 0.00005 truncates to k while the error stays
// below 0.00005: the roundings of 1/10000 (|C| < 2.4e6: 6e-6), of
// gain/10000 (Y < 256: 1.5e-5), of m (1e-6), of c (1.5e-5 at most, |c| <
// 512) and of the result (7.6e-6 below 256, where it matters) add up to
// 4.5e-5. A negative sum gives less than 1, which truncates to 0 or below,
// both clamped to 0. The harness checks every (Y', Cb, Cr) of every matrix
// through each tier.
inline constexpr float kFusedDivideMargin = 0.00005f;

template <class I, PairSource S, PairFinish F>
constexpr bool FusedDivide() {
    if constexpr (requires { I::kFusedDivide; })
        return F == PairFinish::Divide10000 && S != PairSource::Pairs16 && S != PairSource::V210;
    return false;
}

template <class I, bool kUsed>
struct FusedConstants {};
template <class I>
struct FusedConstants<I, true> {
    typename I::F gain, inverse, margin;
    typename I::V first, second;  // word selectors: a pair's left or right Y' as a 32-bit lane
    typename I::V bias[4];        // the slots' biases less their chroma offsets' terms

    explicit FusedConstants(const PairProgram& p)
        : gain(I::SetF(float(double(p.luma_gain) / 10000.0))),
          inverse(I::SetF(1.0f / 10000.0f)),
          margin(I::SetF(float(double(kFusedDivideMargin) - double(p.luma_offset) * p.luma_gain / 10000.0))),
          first(I::Set16Pair(1, 0)),
          second(I::Set16Pair(0, 1)) {
        for (int j = 0; j < 4; ++j)
            bias[j] = I::Set32(p.slots[j].bias - p.chroma_offset * (p.slots[j].cb + p.slots[j].cr));
    }
};

template <class I, PairFinish F>
inline typename I::V Finish(typename I::V sum) {
    if constexpr (F == PairFinish::Divide10000) return I::Divide10000(sum);
    return sum;
}

// Left and right pixels' finished values of two registers -> 8-bit slot in
// the record's pixel layout.
template <class I>
inline typename I::V Interleave(typename I::V left0, typename I::V left1, typename I::V right0,
                                typename I::V right1) {
    const auto left = I::PackS32(left0, left1), right = I::PackS32(right0, right1);
    return I::PackU16(I::UnpackLo16(left, right), I::UnpackHi16(left, right));
}

template <class I, PairStore T>
inline void Store(std::uint8_t* dst, const typename I::V slot[4], bool stream) {
    using V = typename I::V;
    if constexpr (T == PairStore::Rgb555 || T == PairStore::Rgb565) {
        const V zero = I::Zero();
        V words[2];
        for (int half = 0; half < 2; ++half) {
            const V hi = half ? I::UnpackHi8(slot[0], zero) : I::UnpackLo8(slot[0], zero);
            const V mid = half ? I::UnpackHi8(slot[1], zero) : I::UnpackLo8(slot[1], zero);
            const V lo = half ? I::UnpackHi8(slot[2], zero) : I::UnpackLo8(slot[2], zero);
            if constexpr (T == PairStore::Rgb555) {
                const V five = I::Set16Pair(0xF8, 0xF8);
                words[half] = I::Or(I::Or(I::template Slli16<7>(I::And(hi, five)),
                                          I::template Slli16<2>(I::And(mid, five))),
                                    I::template Srli16<3>(lo));
            } else {
                const V five = I::Set16Pair(0xF8, 0xF8), six = I::Set16Pair(0xFC, 0xFC);
                words[half] = I::Or(I::Or(I::template Slli16<8>(I::And(hi, five)),
                                          I::template Slli16<3>(I::And(mid, six))),
                                    I::template Srli16<3>(lo));
            }
        }
        I::StoreWords(dst, words[0], words[1]);
    } else if constexpr (T == PairStore::Rgb24 && requires { I::kBytePermutes; }) {
        I::StoreSlots24(dst, slot);
    } else {
        const V fourth = T == PairStore::Rgb32 ? slot[3] : I::Zero();
        const V u_lo = I::UnpackLo8(slot[0], slot[1]), u_hi = I::UnpackHi8(slot[0], slot[1]);
        const V t_lo = I::UnpackLo8(slot[2], fourth), t_hi = I::UnpackHi8(slot[2], fourth);
        V quads[4] = {I::UnpackLo16(u_lo, t_lo), I::UnpackHi16(u_lo, t_lo), I::UnpackLo16(u_hi, t_hi),
                      I::UnpackHi16(u_hi, t_hi)};
        if constexpr (T == PairStore::Rgb32) I::StoreQuads32(dst, quads, stream);
        if constexpr (T == PairStore::Rgb32KeepFourth) I::StoreQuads32KeepFourth(dst, quads);
        if constexpr (T == PairStore::Rgb24) I::StoreQuads24(dst, quads);
    }
}

// Records with two-register byte permutes store 24- and 32-bit pixels from
// the slots' 16-bit results instead of their packed bytes: per register of
// pairs, two packs and one permute per 16 pixels. A register's words are in
// pixel order (the shift finishes) or its pairs' left pixels then their
// right pixels, four pairs a lane (the others). The table finish keeps its
// bytes.
template <class I, PairFinish F, PairStore T>
constexpr bool StoresFromWords() {
    if constexpr (requires { I::kBytePermutes; })
        return F != PairFinish::LutFields && (T == PairStore::Rgb32 || T == PairStore::Rgb24);
    return false;
}

// The constants a loop compiled for S, F and T reads; the others are left
// unset. They are set at every call, which a line of a few hundred pixels
// makes several times: setting them all cost such lines a few percent.
template <class I, PairSource S, PairFinish F, PairStore T>
Constants<I> MakeConstants(const PairProgram& p) {
    constexpr bool kFused = FusedDivide<I, S, F>();
    constexpr bool kWords = StoresFromWords<I, F, T>();
    Constants<I> k;
    const int gain_shift = IsShiftFinish(F) ? GainShift(F) : 0;
    const std::int32_t luma_gain = std::int32_t(p.luma_gain) * (1 << gain_shift);
    if constexpr (!kFused && F != PairFinish::LutFields) {
        k.luma_offset = I::Set16Pair(p.luma_offset, p.luma_offset);
        k.chroma_offset = I::Set16Pair(p.chroma_offset, p.chroma_offset);
        k.gain_left = I::Set16Pair(luma_gain, 0);
        k.gain_right = I::Set16Pair(0, luma_gain);
    }
    for (int j = 0; j < 4; ++j) {
        const PairSlot& s = p.slots[j];
        const std::int32_t cb = s.cb * (1 << gain_shift), cr = s.cr * (1 << gain_shift);
        // YVYU holds its chroma as (Cr, Cb).
        k.gains[j] = S == PairSource::Yvyu ? I::Set16Pair(cr, cb) : I::Set16Pair(cb, cr);
        std::int32_t bias = s.bias;
        if (IsShiftFinish(F)) {
            // The offsets of the samples, folded into the bias: the
            // multiply-adds see raw (scaled) samples.
            const std::int32_t scale = 1 << (SampleShift(F) + GainShift(F));
            bias = scale * (s.bias - p.luma_gain * p.luma_offset - p.chroma_offset * (s.cb + s.cr));
        }
        k.bias[j] = I::Set32(bias);
        k.is_constant[j] = s.constant >= 0;
        k.has_chroma[j] = s.cb != 0 || s.cr != 0;
        const std::int32_t constant = s.constant < 0 ? 0 : s.constant;
        if constexpr (kWords)
            k.constant16[j] = I::Set16Pair(constant, constant);
        else
            k.constant[j] = I::Set8(std::uint8_t(constant));
        if constexpr (F == PairFinish::LutFields) k.field_shift[j] = I::ShiftCount(10 * s.field);
    }
    return k;
}

template <class I, PairStore T, bool kPairsSplit>
inline void StoreWords(std::uint8_t* dst, const typename I::V words[4][2], bool stream) {
    constexpr int kBytes = T == PairStore::Rgb32 ? 4 : 3;
    for (int r = 0; r < 2; ++r) {
        const auto br = I::PackU16(words[0][r], words[2][r]);
        const auto ga = I::PackU16(words[1][r], T == PairStore::Rgb32 ? words[3][r] : I::Zero());
        std::uint8_t* out = dst + kBytes * 2 * I::kPairs * r;
        I::template StorePixelBytes<kBytes, kPairsSplit>(out, br, ga, 0, stream);
        I::template StorePixelBytes<kBytes, kPairsSplit>(out + kBytes * I::kPairs, br, ga, 1, stream);
    }
}

// Whether a line's blocks go out with streaming stores: asked for, 32-bit
// pixels, and the line starting on a cache line (each block then fills
// whole ones).
inline bool StreamsBlocks(const PairProgram& p, const std::uint8_t* dst) {
    return p.stream && p.store == PairStore::Rgb32 && (reinterpret_cast<std::uintptr_t>(dst) & 63) == 0;
}

// The slots' kinds, known when the loop is compiled (the common shapes:
// three colour slots with chroma terms and a constant fourth or first, or
// the three alone) or read from the constants.
enum class SlotShape { AnyShape, ConstantLast, ConstantFirst, NoConstant };

// A program's compiled shape: three colour slots (with chroma terms) and a
// constant last or first (32-bit pixels), or the three alone (24-bit).
inline SlotShape ShapeOf(const PairProgram& p) {
    auto colour = [&](int j) { return p.slots[j].constant < 0 && (p.slots[j].cb != 0 || p.slots[j].cr != 0); };
    if (p.store == PairStore::Rgb32 && p.slots[3].constant >= 0 && colour(0) && colour(1) && colour(2))
        return SlotShape::ConstantLast;
    if (p.store == PairStore::Rgb32 && p.slots[0].constant >= 0 && colour(1) && colour(2) && colour(3))
        return SlotShape::ConstantFirst;
    if (p.store == PairStore::Rgb24 && colour(0) && colour(1) && colour(2)) return SlotShape::NoConstant;
    return SlotShape::AnyShape;
}

template <SlotShape H>
constexpr bool ShapeKnown() {
    return H != SlotShape::AnyShape;
}
template <SlotShape H>
constexpr int ConstantSlot() {
    return H == SlotShape::ConstantLast ? 3 : H == SlotShape::ConstantFirst ? 0 : -1;
}

template <class I, PairSource S, PairFinish F, PairStore T, SlotShape H = SlotShape::AnyShape>
std::uint32_t Blocks(const PairProgram& p, std::uint8_t* dst, const void* a, const void* b, const void* c,
                     std::uint32_t pixels) {
    using V = typename I::V;
    constexpr std::uint32_t kBlockPixels = 4 * I::kPairs;
    constexpr std::uint32_t kOutBytes = kBlockPixels * PairStoreBytes(T);
    constexpr int kSlots = T == PairStore::Rgb32 ? 4 : 3;
    std::uint32_t blocks = (pixels / 2) / (kBlockPixels / 2);
    if constexpr (S == PairSource::V210) blocks = I::V210Blocks(pixels);
    constexpr bool kFused = FusedDivide<I, S, F>();
    constexpr bool kWords = StoresFromWords<I, F, T>();
    const Constants<I> k = MakeConstants<I, S, F, T>(p);
    const V low16 = I::Set32(0xFFFF), field_mask = I::Set32(0x3FF);
    const bool stream = StreamsBlocks(p, dst);
    const auto fused = [&] {
        if constexpr (kFused)
            return FusedConstants<I, true>(p);
        else
            return FusedConstants<I, false>{};
    }();

    for (std::uint32_t n = 0; n < blocks; ++n) {
        V y[2], ch[2], slot[4];
        [[maybe_unused]] V words[4][2];
        Load<I, S>(a, b, c, n, y, ch);
        slot[3] = I::Zero();
        // A constant slot's bytes, or words, are set once per program.
        auto constant_slot = [&](int j) {
            if (!(ShapeKnown<H>() ? j == ConstantSlot<H>() : k.is_constant[j])) return false;
            if constexpr (kWords)
                words[j][0] = words[j][1] = k.constant16[j];
            else
                slot[j] = k.constant[j];
            return true;
        };
        if constexpr (F == PairFinish::LutFields) {
            const LutSet& t = *p.lut;
            V left[2], right[2];
            for (int r = 0; r < 2; ++r) {
                const V chroma = I::Add32(I::Gather32(t.cb, I::And(ch[r], low16)),
                                          I::Gather32(t.cr, I::template Srli32<16>(ch[r])));
                left[r] = I::Add32(I::Gather32(t.luma, I::And(y[r], low16)), chroma);
                right[r] = I::Add32(I::Gather32(t.luma, I::template Srli32<16>(y[r])), chroma);
            }
            for (int j = 0; j < kSlots; ++j) {
                auto field = [&](V sum) {
                    return I::Sub32(I::And(I::Srl32(sum, k.field_shift[j]), field_mask), k.bias[j]);
                };
                slot[j] = Interleave<I>(field(left[0]), field(left[1]), field(right[0]), field(right[1]));
            }
        } else if constexpr (kFused) {
            // Each pixel's Y as a float, each pair's chroma term over 10000
            // plus the margin, then one fused multiply-add a pixel and slot.
            using FV = typename I::F;
            FV y_left[2], y_right[2];
            for (int r = 0; r < 2; ++r) {
                y_left[r] = I::ToFloat(I::Madd(y[r], fused.first));
                y_right[r] = I::ToFloat(I::Madd(y[r], fused.second));
            }
            for (int j = 0; j < kSlots; ++j) {
                if (constant_slot(j)) continue;
                V l[2], rt[2];
                for (int r = 0; r < 2; ++r) {
                    const FV c = I::MulAddF(I::ToFloat(MaddAdd<I>(fused.bias[j], ch[r], k.gains[j])),
                                            fused.inverse, fused.margin);
                    l[r] = I::Truncate(I::MulAddF(y_left[r], fused.gain, c));
                    rt[r] = I::Truncate(I::MulAddF(y_right[r], fused.gain, c));
                    if constexpr (kWords) words[j][r] = I::PackS32(l[r], rt[r]);
                }
                if constexpr (!kWords) slot[j] = Interleave<I>(l[0], l[1], rt[0], rt[1]);
            }
        } else {
            // Luma words (scaled for the shift finishes), and the sums of the
            // left and right pixels of each pair with a slot's chroma term.
            V ys[2], chroma[2];
            for (int r = 0; r < 2; ++r) {
                if constexpr (IsShiftFinish(F)) {
                    ys[r] = I::template Slli16<SampleShift(F)>(y[r]);
                    chroma[r] = I::template Slli16<SampleShift(F)>(ch[r]);
                } else {
                    ys[r] = I::Sub16(y[r], k.luma_offset);
                    chroma[r] = I::Sub16(ch[r], k.chroma_offset);
                }
            }
            const V left[2] = {I::Madd(ys[0], k.gain_left), I::Madd(ys[1], k.gain_left)};
            const V right[2] = {I::Madd(ys[0], k.gain_right), I::Madd(ys[1], k.gain_right)};
            auto sums = [&](int r, V term, V* l, V* rt) {
                if constexpr (requires { I::kMaddAccumulates; }) {
                    *l = MaddAdd<I>(term, ys[r], k.gain_left);
                    *rt = MaddAdd<I>(term, ys[r], k.gain_right);
                } else {
                    *l = I::Add32(left[r], term);
                    *rt = I::Add32(right[r], term);
                }
            };
            for (int j = 0; j < kSlots; ++j) {
                if (constant_slot(j)) continue;
                V l[2], rt[2];
                for (int r = 0; r < 2; ++r) {
                    const bool chroma_term = ShapeKnown<H>() || !IsShiftFinish(F) || k.has_chroma[j];
                    sums(r, chroma_term ? MaddAdd<I>(k.bias[j], chroma[r], k.gains[j]) : k.bias[j], &l[r], &rt[r]);
                }
                if constexpr (kWords) {
                    for (int r = 0; r < 2; ++r)
                        words[j][r] = IsShiftFinish(F) ? I::HighHalves(l[r], rt[r])
                                                       : I::PackS32(Finish<I, F>(l[r]), Finish<I, F>(rt[r]));
                } else if constexpr (IsShiftFinish(F)) {
                    slot[j] = I::PackU16(I::HighHalves(l[0], rt[0]), I::HighHalves(l[1], rt[1]));
                } else {
                    slot[j] = Interleave<I>(Finish<I, F>(l[0]), Finish<I, F>(l[1]), Finish<I, F>(rt[0]),
                                            Finish<I, F>(rt[1]));
                }
            }
        }
        if constexpr (kWords)
            StoreWords<I, T, !IsShiftFinish(F)>(dst + std::size_t(n) * kOutBytes, words, stream);
        else
            Store<I, T>(dst + std::size_t(n) * kOutBytes, slot, stream);
    }
    return blocks * kBlockPixels;
}

template <class I, PairSource S, PairFinish F>
std::uint32_t ByStore(const PairProgram& p, std::uint8_t* dst, const void* a, const void* b, const void* c,
                      std::uint32_t pixels) {
    // The 13-bit and 10000 programs' common shapes get loops of their own.
    const SlotShape shape =
        F == PairFinish::Shift13 || F == PairFinish::Divide10000 ? ShapeOf(p) : SlotShape::AnyShape;
    switch (p.store) {
        case PairStore::Rgb32:
            if (shape == SlotShape::ConstantLast)
                return Blocks<I, S, F, PairStore::Rgb32, SlotShape::ConstantLast>(p, dst, a, b, c, pixels);
            if (shape == SlotShape::ConstantFirst)
                return Blocks<I, S, F, PairStore::Rgb32, SlotShape::ConstantFirst>(p, dst, a, b, c, pixels);
            return Blocks<I, S, F, PairStore::Rgb32>(p, dst, a, b, c, pixels);
        case PairStore::Rgb32KeepFourth: return Blocks<I, S, F, PairStore::Rgb32KeepFourth>(p, dst, a, b, c, pixels);
        case PairStore::Rgb24:
            if (shape == SlotShape::NoConstant)
                return Blocks<I, S, F, PairStore::Rgb24, SlotShape::NoConstant>(p, dst, a, b, c, pixels);
            return Blocks<I, S, F, PairStore::Rgb24>(p, dst, a, b, c, pixels);
        case PairStore::Rgb555: return Blocks<I, S, F, PairStore::Rgb555>(p, dst, a, b, c, pixels);
        case PairStore::Rgb565: return Blocks<I, S, F, PairStore::Rgb565>(p, dst, a, b, c, pixels);
    }
    return 0;
}

template <class I, PairSource S>
std::uint32_t ByFinish(const PairProgram& p, std::uint8_t* dst, const void* a, const void* b, const void* c,
                       std::uint32_t pixels) {
    // v210 groups are read straight into registers for the 13-bit programs
    // only (measured no faster for the others).
    if constexpr (S == PairSource::V210) {
        if (p.finish == PairFinish::Shift13) return ByStore<I, S, PairFinish::Shift13>(p, dst, a, b, c, pixels);
        return 0;
    }
    switch (p.finish) {
        case PairFinish::Divide10000: return ByStore<I, S, PairFinish::Divide10000>(p, dst, a, b, c, pixels);
        case PairFinish::Shift6: return ByStore<I, S, PairFinish::Shift6>(p, dst, a, b, c, pixels);
        case PairFinish::Shift13: return ByStore<I, S, PairFinish::Shift13>(p, dst, a, b, c, pixels);
        case PairFinish::LutFields:
            // The tables hold 8-bit samples' entries: packed 8-bit sources only.
            if constexpr (S == PairSource::Uyvy || S == PairSource::Yuy2)
                return ByStore<I, S, PairFinish::LutFields>(p, dst, a, b, c, pixels);
            return 0;
    }
    return 0;
}

template <class I>
std::uint32_t Run(const PairProgram& p, PairSource source, std::uint8_t* dst, const void* a, const void* b,
                  const void* c, std::uint32_t pixels) {
    switch (source) {
        case PairSource::Planar8: return ByFinish<I, PairSource::Planar8>(p, dst, a, b, c, pixels);
        case PairSource::Uyvy: return ByFinish<I, PairSource::Uyvy>(p, dst, a, b, c, pixels);
        case PairSource::Yuy2: return ByFinish<I, PairSource::Yuy2>(p, dst, a, b, c, pixels);
        case PairSource::Yvyu: return ByFinish<I, PairSource::Yvyu>(p, dst, a, b, c, pixels);
        case PairSource::Pairs16: return ByFinish<I, PairSource::Pairs16>(p, dst, a, b, c, pixels);
        case PairSource::V210:
            if constexpr (requires { I::kV210Groups; })
                return ByFinish<I, PairSource::V210>(p, dst, a, b, c, pixels);
            return 0;
    }
    return 0;
}

// Two lines of planes that share their chroma row (4:2:0), with the fused
// division: each pair's chroma terms are worked out once for both lines.
template <class I, PairStore T, SlotShape H>
std::uint32_t TwoLineBlocks(const PairProgram& p, std::uint8_t* const dst[2], const std::uint8_t* const luma[2],
                            const std::uint8_t* cb, const std::uint8_t* cr, std::uint32_t pixels) {
    using V = typename I::V;
    using FV = typename I::F;
    constexpr std::uint32_t kBlockPixels = 4 * I::kPairs;
    constexpr std::uint32_t kOutBytes = kBlockPixels * PairStoreBytes(T);
    constexpr int kSlots = T == PairStore::Rgb32 ? 4 : 3;
    const std::uint32_t blocks = pixels / kBlockPixels;
    constexpr bool kWords = StoresFromWords<I, PairFinish::Divide10000, T>();
    const Constants<I> k = MakeConstants<I, PairSource::Planar8, PairFinish::Divide10000, T>(p);
    const FusedConstants<I, true> fused(p);
    const bool stream[2] = {StreamsBlocks(p, dst[0]), StreamsBlocks(p, dst[1])};
    for (std::uint32_t n = 0; n < blocks; ++n) {
        V y[2][2], ch[2];
        I::LoadPlanar8(luma[0] + n * kBlockPixels, cb + n * kBlockPixels / 2, cr + n * kBlockPixels / 2, y[0], ch);
        I::LoadLuma8(luma[1] + n * kBlockPixels, y[1]);
        FV y_left[2][2], y_right[2][2];
        for (int line = 0; line < 2; ++line)
            for (int r = 0; r < 2; ++r) {
                y_left[line][r] = I::ToFloat(I::Madd(y[line][r], fused.first));
                y_right[line][r] = I::ToFloat(I::Madd(y[line][r], fused.second));
            }
        V slot[2][4];
        [[maybe_unused]] V words[2][4][2];
        for (int j = 0; j < kSlots; ++j) {
            if (ShapeKnown<H>() ? j == ConstantSlot<H>() : k.is_constant[j]) {
                if constexpr (kWords)
                    words[0][j][0] = words[0][j][1] = words[1][j][0] = words[1][j][1] = k.constant16[j];
                else
                    slot[0][j] = slot[1][j] = k.constant[j];
                continue;
            }
            V l[2][2], rt[2][2];
            for (int r = 0; r < 2; ++r) {
                const FV c = I::MulAddF(I::ToFloat(MaddAdd<I>(fused.bias[j], ch[r], k.gains[j])), fused.inverse,
                                        fused.margin);
                for (int line = 0; line < 2; ++line) {
                    l[line][r] = I::Truncate(I::MulAddF(y_left[line][r], fused.gain, c));
                    rt[line][r] = I::Truncate(I::MulAddF(y_right[line][r], fused.gain, c));
                    if constexpr (kWords) words[line][j][r] = I::PackS32(l[line][r], rt[line][r]);
                }
            }
            if constexpr (!kWords)
                for (int line = 0; line < 2; ++line)
                    slot[line][j] = Interleave<I>(l[line][0], l[line][1], rt[line][0], rt[line][1]);
        }
        for (int line = 0; line < 2; ++line) {
            if constexpr (kWords) {
                StoreWords<I, T, true>(dst[line] + std::size_t(n) * kOutBytes, words[line], stream[line]);
            } else {
                if constexpr (T != PairStore::Rgb32) slot[line][3] = I::Zero();
                Store<I, T>(dst[line] + std::size_t(n) * kOutBytes, slot[line], stream[line]);
            }
        }
    }
    return blocks * kBlockPixels;
}

// The two-line blocks for a program, or 0 where it is not one of the
// shapes they are compiled for (32-bit pixels with a constant first or last
// slot, 24-bit pixels) or the division is not fused.
template <class I>
std::uint32_t RunTwoLines(const PairProgram& p, std::uint8_t* const dst[2], const std::uint8_t* const luma[2],
                          const std::uint8_t* cb, const std::uint8_t* cr, std::uint32_t pixels) {
    if constexpr (FusedDivide<I, PairSource::Planar8, PairFinish::Divide10000>()) {
        if (p.finish != PairFinish::Divide10000) return 0;
        switch (ShapeOf(p)) {
            case SlotShape::ConstantLast:
                return TwoLineBlocks<I, PairStore::Rgb32, SlotShape::ConstantLast>(p, dst, luma, cb, cr, pixels);
            case SlotShape::ConstantFirst:
                return TwoLineBlocks<I, PairStore::Rgb32, SlotShape::ConstantFirst>(p, dst, luma, cb, cr, pixels);
            case SlotShape::NoConstant:
                return TwoLineBlocks<I, PairStore::Rgb24, SlotShape::NoConstant>(p, dst, luma, cb, cr, pixels);
            default: break;
        }
    }
    return 0;
}

// Each sum's clamped quotient, through the same finishing and packing as the
// pipeline (for the exhaustive test of the division).
template <class I>
void DivideBy10000(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    using V = typename I::V;
    constexpr std::uint32_t kLanes = 4 * I::kPairs;  // four registers of 32-bit lanes
    std::uint32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        V q[4];
        for (int r = 0; r < 4; ++r) q[r] = I::Divide10000(I::Load(sums + i + r * I::kPairs));
        I::StoreBytesInOrder(out + i, I::PackU16(I::PackS32(q[0], q[1]), I::PackS32(q[2], q[3])));
    }
    for (; i < count; ++i) {
        const std::int32_t v = sums[i] / 10000;
        out[i] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

}  // namespace to_rgb_pipeline
}  // namespace LUMACORE_ISA
}  // namespace lumacore

// The vector RGB to Y'CbCr kernels, written once over a lane type L and
// included by each tier's source file (which supplies L for its instruction
// set). A lane is 128 bits; L holds one lane (SSE2) or two (AVX2). Every
// operation used here stays within its lane, so a wide register is two
// blocks of the narrow code side by side: lane 0 the first block of the
// line, lane 1 the block after it.
//
// Per pixel the work is the plain code's: three exact 32-bit sums (pmaddwd
// of the colour bytes, as 16-bit pairs, with the coefficients), each
// divided by 10000 truncating toward zero, offset and clamped. Only the
// division is done differently (see Luma8 ... Chroma10 below).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/simd/isa_namespace.h"
#include "colour/rgb_to_ycbcr_tables.h"
#include "colour/simd/to_rgb_simd.h"
#include "colour/simd/rgb_to_ycbcr_kernels.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace rgb_to_lanes {
namespace {

// ---- The division by 10000 -------------------------------------------------
//
// Every sample is clamp(s / 10000 + offset) with the division truncating
// toward zero. The vector code computes it in single precision, exactly:
//
// 8-bit luma. |s| < 2^22, so s is exact as a float, and the quotients stay
// below 260. (s + 0.5) / 10000 + offset lies at least 0.00005 from an
// integer and floors to the sample; s x (1/10000) + that addend is within
// 0.00004 of the exact value (each rounding is at most half a unit in the
// last place of a value below 512), so truncating it gives the sample.
//
// 8-bit chroma. Sums of either sign: s times 1/10000 rounded up by three
// units in the last place (the factor the Y'CbCr to RGB division uses),
// truncated by the conversion to integer, is s / 10000 truncated toward
// zero; the offset is added to the packed 16-bit words.
//
// 10 bits. Quotients reach 1020 and the margin above is too thin, so the
// sum is first divided by 16: floor(s / 10000) = floor(floor(s / 16) / 625)
// for any integer s, with |s / 16| < 2^20 exact as a float, and
// (v + 0.5) / 625 lies at least 0.0008 from an integer while three
// roundings move it by less than 0.0002. A negative sum gets 9999 added
// first, which turns flooring into truncation.
//
// 10 bits where a product can round toward zero (AVX-512's embedded
// rounding): with f the least float above 1/10000, |s| x f exceeds
// |s| / 10000 by less than 2^24 x 4.8e-12 < 0.0001, while |s| / 10000 lies
// at least 0.0001 below the next integer, so both have the same integer
// part; rounding toward zero cannot take the product below that integer (a
// float itself). Truncating s x f, so rounded, is s / 10000 truncated, for
// either sign, with no division by 16. Luma adds its offset in the same
// multiply-add (an integer onto a value that is never negative); chroma
// adds it after packing.
//
// Where the instruction set has a fused multiply-add (AVX2 and up), the
// product and the addend are rounded once instead of twice, which only
// narrows the error. The tests check every sum each kind of row can
// produce, with every offset, through every tier.
inline constexpr float kInv10000 = 1.0f / 10000.0f;
inline constexpr float kInv625 = 1.0f / 625.0f;

static_assert(kLuma8Sums.high < (1 << 22) && -kChroma8Sums.low < (1 << 22) && kChroma8Sums.high < (1 << 22));
static_assert(kLuma10Sums.high < (1 << 24) && -kChroma10Sums.low < (1 << 24) && kChroma10Sums.high < (1 << 24));

// The float added to s x (1/10000) (8-bit luma) or v x (1/625) (10 bits).
inline float Addend8(std::int32_t offset) { return float(offset) + 0.5f / 10000.0f; }
inline float Addend10(std::int32_t offset) { return float(offset) + 0.5f / 625.0f; }

// The least float above 1/10000 (10-bit samples, rounding toward zero).
inline constexpr float kJustAboveTenThousandth = __builtin_bit_cast(float, 0x38D1B718u);
static_assert(double(kJustAboveTenThousandth) > 1e-4 &&
              double(__builtin_bit_cast(float, 0x38D1B717u)) < 1e-4 &&
              (double(kJustAboveTenThousandth) - 1e-4) * (1 << 24) < 1e-4);

// 8-bit luma where one multiply-add can round down (AVX-512's embedded
// rounding): s x f + (2^23 + offset), f being 1/10000 rounded up by three
// units in the last place, rounded down to a float. Floats from 2^23 to 2^24
// are the integers, so the result is 2^23 + offset + floor(s x f), and
// floor(s x f) = floor(s / 10000): s x f exceeds s / 10000 by less than
// 2^22 x 3 x 2^-37 < 0.0001, while s / 10000 lies at least 0.0001 below the
// next integer. No luma row leaves 0..255, so the float's low byte is the
// sample, with no clamp.
inline float LumaBitsAddend(std::int32_t offset) { return float((1 << 23) + offset); }

// Luma never leaves its range: the 10-bit code (and the 8-bit code of
// records with kLumaBits) adds the offset without a clamp where the plain
// code clamps to no effect.
constexpr bool LumaStaysInRange(const FromRgbMatrix (&table)[5], std::int32_t max) {
    for (const FromRgbMatrix& m : table)
        if ((m.y[0] + m.y[1] + m.y[2]) * 255 / 10000 + m.y_offset > max) return false;
    return true;
}
static_assert(LumaStaysInRange(kFromRgb10, 1023) && LumaStaysInRange(kFromRgb8, 255));

template <class L>
struct Kernels {
    using I = typename L::I;
    using F = typename L::F;

    // 8 bits: the sample before its clamp, from a luma sum (never negative).
    static I Luma8(I s, F addend) { return L::Truncate(L::MulAddF(L::ToFloat(s), L::SetF(kInv10000), addend)); }

    // 8 bits: a chroma sum divided by 10000, truncated toward zero as the
    // conversion to integer truncates (the offset is added after packing).
    static I Chroma8(I s) {
        return L::Truncate(L::MulF(L::ToFloat(s), L::SetF(__builtin_bit_cast(float, kTenThousandthBits))));
    }

    // Records with kTowardZero round products toward zero (see above).
    static constexpr bool kTowardZero = requires { L::kTowardZero; };
    static F Addend10Of(std::int32_t offset) { return L::SetF(kTowardZero ? float(offset) : Addend10(offset)); }

    // 10 bits: the luma sample (never beyond 1023, so never clamped).
    static I Luma10(I s, F addend) {
        if constexpr (kTowardZero)
            return L::Truncate(L::MulAddTowardZero(L::ToFloat(s), L::SetF(kJustAboveTenThousandth), addend));
        const F v = L::ToFloat(L::template Srli32<4>(s));
        return L::Truncate(L::MulAddF(v, L::SetF(kInv625), addend));
    }

    // 10 bits: the chroma sample before its clamp (with kTowardZero, before
    // its offset too, which ClampChroma adds).
    static I Chroma10(I s, F addend) {
        if constexpr (kTowardZero)
            return L::Truncate(L::MulTowardZero(L::ToFloat(s), L::SetF(kJustAboveTenThousandth)));
        const I floored = L::Add32(s, L::And(L::template Srai32<31>(s), L::Set32(9999)));
        const F v = L::ToFloat(L::template Srai32<4>(floored));
        return L::Truncate(L::MulAddF(v, L::SetF(kInv625), addend));
    }

    // ---- Coefficients ------------------------------------------------------
    //
    // A pixel as a 32-bit lane (colour bytes 0..2) gives two 16-bit pairs:
    // bytes 0 and 2 (mask), bytes 1 and 3 (shift). pmaddwd with the matching
    // coefficient pairs and one addition give the exact sum.
    struct Weights {
        I y02, y1, cb02, cb1, cr02, cr1;
    };

    static I Pair(std::int32_t low, std::int32_t high) {
        return L::Set32(std::int32_t((std::uint32_t(low) & 0xFFFFu) | (std::uint32_t(high) << 16)));
    }

    static Weights WeightsOf(const PixelCoefficients& k) {
        return {Pair(k.y[0], k.y[2]), Pair(k.y[1], 0),        Pair(k.cb[0], k.cb[2]),
                Pair(k.cb[1], 0),     Pair(k.cr[0], k.cr[2]), Pair(k.cr[1], 0)};
    }

    struct Split {
        I b02, b1;
    };
    static Split SplitPixels(I px) { return {L::And(px, L::Set32(0x00FF00FF)), L::template Srli16<8>(px)}; }
    static I Sum(Split p, I w02, I w1) {
        if constexpr (requires { L::kMaddAccumulates; })
            return L::MaddAcc(L::Madd(p.b02, w02), p.b1, w1);
        else
            return L::Add32(L::Madd(p.b02, w02), L::Madd(p.b1, w1));
    }

    // ---- Loads ---------------------------------------------------------------
    //
    // Four pixels starting at pixel x (lane 0) and x + lane_px (lane 1), as
    // 32-bit lanes with the colour in bytes 0..2. 3-byte pixels are read so
    // that no byte outside the block is touched: the block's first quad from
    // its own start, every other quad from 4 bytes before it.
    template <RgbPixels P, bool kBlockStart>
    static I Quad(const std::uint8_t* line, std::uint32_t x, std::uint32_t lane_px) {
        if constexpr (P == RgbPixels::Three) {
            return L::template LoadQuad24<kBlockStart>(line + 3 * std::size_t(x), 3 * std::size_t(lane_px));
        } else {
            const I px = L::LoadQuad32(line + 4 * std::size_t(x), 4 * std::size_t(lane_px));
            if constexpr (P == RgbPixels::FourHigh) return L::template Srli32<8>(px);
            return px;
        }
    }

    // ---- 8-bit 4:2:2 ---------------------------------------------------------
    //
    // One block: 8 pixels a lane. Y' as 32-bit lanes in pixel order, two
    // registers; Cb and Cr of the 4 even pixels as words [Cb x 4, Cr x 4],
    // offset, still to be clamped by the byte packing.
    //
    // Records with kLumaBits give Y' as the low byte of each lane (see
    // LumaBitsAddend) and store it from there; the others as the sample itself,
    // packed to words and bytes with the chroma.
    static constexpr bool kLumaBits = requires { L::kLumaBits; };
    struct Addends8 {
        F luma;
        I chroma;  // the offset, in 16-bit words
    };
    static Addends8 AddendsOf8(const PixelCoefficients& k) {
        return {L::SetF(kLumaBits ? LumaBitsAddend(k.y_offset) : Addend8(k.y_offset)),
                L::Set16(std::int16_t(k.c_offset))};
    }
    static I LumaOf(I s, F addend) {
        if constexpr (kLumaBits)
            return L::LumaBits(s, L::SetF(__builtin_bit_cast(float, kTenThousandthBits)), addend);
        else
            return Luma8(s, addend);
    }

    // Records that load whole registers of pixels (kWholeQuads) give lane k
    // quads k and k + kLaneCount of the block instead, and store the results
    // back in order themselves.
    static constexpr bool kWholeQuads = requires { L::kWholeQuads; };

    template <RgbPixels P>
    static void Block8(const Weights& w, const Addends8& a, const std::uint8_t* line, std::uint32_t x, bool chroma,
                       I& luma0, I& luma1, I& colour) {
        I p0, p1;
        if constexpr (kWholeQuads) {
            L::template LoadPixels<P>(line, x, &p0, &p1);
        } else {
            p0 = Quad<P, true>(line, x, 8);
            p1 = Quad<P, false>(line, x + 4, 8);
        }
        const Split s0 = SplitPixels(p0), s1 = SplitPixels(p1);
        luma0 = LumaOf(Sum(s0, w.y02, w.y1), a.luma);
        luma1 = LumaOf(Sum(s1, w.y02, w.y1), a.luma);
        if (!chroma) return;
        // The split of the even pixels is the even lanes of the pixels' splits.
        const Split even = {L::EvenOf(s0.b02, s1.b02), L::EvenOf(s0.b1, s1.b1)};
        const I cb = Chroma8(Sum(even, w.cb02, w.cb1)), cr = Chroma8(Sum(even, w.cr02, w.cr1));
        colour = L::Add16(L::PacksI32(cb, cr), a.chroma);
    }

    template <RgbPixels P, PackedOrder O>
    static std::uint32_t Packed(const PixelCoefficients& k, const std::uint8_t* src, std::uint8_t* dst,
                                std::uint32_t pairs) {
        constexpr std::uint32_t kPixels = 8 * L::kLaneCount;
        const std::uint32_t blocks = pairs / (kPixels / 2);
        const Weights w = WeightsOf(k);
        const Addends8 a = AddendsOf8(k);
        for (std::uint32_t b = 0; b < blocks; ++b) {
            const std::uint32_t x = b * kPixels;
            I luma0, luma1, colour;
            Block8<P>(w, a, src, x, true, luma0, luma1, colour);
            if constexpr (kLumaBits) {
                L::template StorePairsFromBits<O>(dst + 2 * std::size_t(x), luma0, luma1, L::PackusI16(colour, colour));
            } else {
                const I luma = L::PacksI32(luma0, luma1);
                if constexpr (kWholeQuads)
                    L::StorePairsInOrder(dst + 2 * std::size_t(x), L::template PackPairs<O>(luma, colour));
                else
                    L::Store(dst + 2 * std::size_t(x), L::template PackPairs<O>(luma, colour));
            }
        }
        return blocks * (kPixels / 2);
    }

    template <RgbPixels P>
    static std::uint32_t Planar(const PixelCoefficients& k, const std::uint8_t* src, std::uint8_t* y, std::uint8_t* cb,
                                std::uint8_t* cr, std::uint32_t pairs) {
        constexpr std::uint32_t kPixels = 8 * L::kLaneCount;
        const std::uint32_t blocks = pairs / (kPixels / 2);
        const Weights w = WeightsOf(k);
        const Addends8 a = AddendsOf8(k);
        const bool chroma = cb && cr;
        std::uint32_t b = 0;
        if constexpr (kLumaBits) {
            // Two blocks at a time, so that each chroma plane takes one store.
            for (; b + 2 <= blocks; b += 2) {
                const std::uint32_t x = b * kPixels;
                I luma0, luma1, colour0 = L::Zero(), colour1 = L::Zero();
                Block8<P>(w, a, src, x, chroma, luma0, luma1, colour0);
                L::StoreLumaFromBits(y + x, luma0, luma1);
                Block8<P>(w, a, src, x + kPixels, chroma, luma0, luma1, colour1);
                L::StoreLumaFromBits(y + x + kPixels, luma0, luma1);
                if (chroma) L::StoreChromaOfTwo(cb + x / 2, cr + x / 2, L::PackusI16(colour0, colour1));
            }
        }
        for (; b < blocks; ++b) {
            const std::uint32_t x = b * kPixels;
            I luma0, luma1, colour = L::Zero();
            Block8<P>(w, a, src, x, chroma, luma0, luma1, colour);
            if constexpr (kLumaBits) {
                L::StoreLumaFromBits(y + x, luma0, luma1);
            } else {
                const I luma = L::PacksI32(luma0, luma1);
                if constexpr (kWholeQuads)
                    L::StoreLumaInOrder(y + x, L::PackusI16(luma, luma));
                else
                    L::StoreLow8PerLane(y + x, L::PackusI16(luma, luma));
            }
            if (!chroma) continue;
            if constexpr (kWholeQuads)
                L::StoreChromaInOrder(cb + x / 2, cr + x / 2, L::PackusI16(colour, colour));
            else
                L::StoreDwords01PerLane(cb + x / 2, cr + x / 2, L::PackusI16(colour, colour));
        }
        return blocks * (kPixels / 2);
    }

    // ---- v210 ----------------------------------------------------------------
    //
    // One block: 4 six-pixel groups a lane (24 pixels, 64 bytes of output).
    // The block's pixels are regrouped so that register j holds pixel j of
    // each of the 4 groups; the v210 words of the 4 groups are then formed
    // side by side and turned back into group order by a 4 x 4 transpose.

    // Chroma samples to 0..1023, two registers at a time through 16 bits
    // (with kTowardZero, offset on the way).
    static void ClampChroma(I& a, I& b, I offset16) {
        I packed = L::PacksI32(a, b);
        if constexpr (kTowardZero) packed = L::Add16(packed, offset16);
        const I clamped = L::Min16(L::Max16(packed, L::Zero()), L::Set16(1023));
        a = L::UnpackLo16(clamped, L::Zero());
        b = L::UnpackHi16(clamped, L::Zero());
    }

    // (left + 2 x centre + right) / 4.
    static I Filter(I left, I centre, I right) {
        return L::template Srli32<2>(L::Add32(L::Add32(left, right), L::Add32(centre, centre)));
    }

    static I Words(I a, I b, I c) { return L::Or(L::Or(a, L::template Slli32<10>(b)), L::template Slli32<20>(c)); }

    template <RgbPixels P>
    static std::uint32_t V210(const PixelCoefficients& k, const std::uint8_t* src, std::uint8_t* dst,
                              std::uint32_t width, std::uint32_t before_cb, std::uint32_t before_cr) {
        constexpr std::uint32_t kPixels = 24 * L::kLaneCount;
        const std::uint32_t blocks = width / kPixels;
        const Weights w = WeightsOf(k);
        const F y_addend = Addend10Of(k.y_offset), c_addend = Addend10Of(k.c_offset);
        const I c_offset16 = L::Set16(std::int16_t(k.c_offset));
        // The chroma of the pixel before the first pair.
        I last_cb = L::Set32(std::int32_t(before_cb)), last_cr = L::Set32(std::int32_t(before_cr));
        for (std::uint32_t b = 0; b < blocks; ++b) {
            const std::uint32_t x = b * kPixels;
            const I r0 = Quad<P, true>(src, x, 24);
            const I r1 = Quad<P, false>(src, x + 4, 24);
            const I r2 = Quad<P, false>(src, x + 8, 24);
            const I r3 = Quad<P, false>(src, x + 12, 24);
            const I r4 = Quad<P, false>(src, x + 16, 24);
            const I r5 = Quad<P, false>(src, x + 20, 24);
            // Pixel j of groups 0..3 into register j.
            const I ta = L::UnpackLo32(r0, r3), tb = L::UnpackHi32(r0, r3);
            const I tc = L::UnpackLo32(r1, r4), td = L::UnpackHi32(r1, r4);
            const I te = L::UnpackLo32(r2, r5), tf = L::UnpackHi32(r2, r5);
            const I px[6] = {L::UnpackLo32(ta, td), L::UnpackHi32(ta, td), L::UnpackLo32(tb, te),
                             L::UnpackHi32(tb, te), L::UnpackLo32(tc, tf), L::UnpackHi32(tc, tf)};
            I y[6], cb[6], cr[6];
            for (int j = 0; j < 6; ++j) {
                const Split s = SplitPixels(px[j]);
                y[j] = Luma10(Sum(s, w.y02, w.y1), y_addend);
                cb[j] = Chroma10(Sum(s, w.cb02, w.cb1), c_addend);
                cr[j] = Chroma10(Sum(s, w.cr02, w.cr1), c_addend);
            }
            for (int j = 0; j < 6; j += 2) {
                ClampChroma(cb[j], cb[j + 1], c_offset16);
                ClampChroma(cr[j], cr[j + 1], c_offset16);
            }
            // Each group's first pair looks back at the previous group's last pixel.
            const I prev_cb = L::ShiftInLast(cb[5], last_cb), prev_cr = L::ShiftInLast(cr[5], last_cr);
            last_cb = cb[5];
            last_cr = cr[5];
            const I cb0 = Filter(prev_cb, cb[0], cb[1]), cr0 = Filter(prev_cr, cr[0], cr[1]);
            const I cb1 = Filter(cb[1], cb[2], cb[3]), cr1 = Filter(cr[1], cr[2], cr[3]);
            const I cb2 = Filter(cb[3], cb[4], cb[5]), cr2 = Filter(cr[3], cr[4], cr[5]);
            const I w0 = Words(cb0, y[0], cr0);
            const I w1 = Words(y[1], cb1, y[2]);
            const I w2 = Words(cr1, y[3], cb2);
            const I w3 = Words(y[4], cr2, y[5]);
            // Back to group order: group g's four words side by side.
            const I t0 = L::UnpackLo32(w0, w1), t1 = L::UnpackLo32(w2, w3);
            const I t2 = L::UnpackHi32(w0, w1), t3 = L::UnpackHi32(w2, w3);
            L::StoreGroups(dst + std::size_t(x) / 6 * 16, L::UnpackLo64(t0, t1), L::UnpackHi64(t0, t1),
                           L::UnpackLo64(t2, t3), L::UnpackHi64(t2, t3));
        }
        return blocks * kPixels;
    }

    // ---- Dispatch on the run-time choices ----------------------------------

    static std::uint32_t PackedLine(const PixelCoefficients& k, RgbPixels pixels, PackedOrder order,
                                    const std::uint8_t* src, std::uint8_t* dst, std::uint32_t pairs) {
        switch (pixels) {
            case RgbPixels::Three:
                return PackedFor<RgbPixels::Three>(k, order, src, dst, pairs);
            case RgbPixels::FourLow:
                return PackedFor<RgbPixels::FourLow>(k, order, src, dst, pairs);
            case RgbPixels::FourHigh:
                return PackedFor<RgbPixels::FourHigh>(k, order, src, dst, pairs);
        }
        return 0;
    }

    template <RgbPixels P>
    static std::uint32_t PackedFor(const PixelCoefficients& k, PackedOrder order, const std::uint8_t* src,
                                   std::uint8_t* dst, std::uint32_t pairs) {
        switch (order) {
            case PackedOrder::Uyvy:
                return Packed<P, PackedOrder::Uyvy>(k, src, dst, pairs);
            case PackedOrder::Yuy2:
                return Packed<P, PackedOrder::Yuy2>(k, src, dst, pairs);
            case PackedOrder::Yvyu:
                return Packed<P, PackedOrder::Yvyu>(k, src, dst, pairs);
        }
        return 0;
    }

    static std::uint32_t PlanarLine(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                    std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, std::uint32_t pairs) {
        switch (pixels) {
            case RgbPixels::Three:
                return Planar<RgbPixels::Three>(k, src, y, cb, cr, pairs);
            case RgbPixels::FourLow:
                return Planar<RgbPixels::FourLow>(k, src, y, cb, cr, pairs);
            case RgbPixels::FourHigh:
                return Planar<RgbPixels::FourHigh>(k, src, y, cb, cr, pairs);
        }
        return 0;
    }

    static std::uint32_t V210Line(const PixelCoefficients& k, RgbPixels pixels, const std::uint8_t* src,
                                  std::uint8_t* dst, std::uint32_t width, std::uint32_t before_cb,
                                  std::uint32_t before_cr) {
        switch (pixels) {
            case RgbPixels::Three:
                return V210<RgbPixels::Three>(k, src, dst, width, before_cb, before_cr);
            case RgbPixels::FourLow:
                return V210<RgbPixels::FourLow>(k, src, dst, width, before_cb, before_cr);
            case RgbPixels::FourHigh:
                return V210<RgbPixels::FourHigh>(k, src, dst, width, before_cb, before_cr);
        }
        return 0;
    }

    // Samples from sums as the kernels compute them, for the exhaustive test.
    static I Sample(I s, SampleKind kind, std::int32_t offset) {
        I v;
        switch (kind) {
            case SampleKind::Luma8:
                if constexpr (kLumaBits)  // the kernels keep the low byte, unclamped
                    return L::And(LumaOf(s, L::SetF(LumaBitsAddend(offset))), L::Set32(0xFF));
                v = Luma8(s, L::SetF(Addend8(offset)));
                break;
            case SampleKind::Chroma8:
                v = L::Add32(Chroma8(s), L::Set32(offset));
                break;
            case SampleKind::Luma10:
                return Luma10(s, Addend10Of(offset));
            default:
                v = Chroma10(s, Addend10Of(offset));
                if constexpr (kTowardZero) v = L::Add32(v, L::Set32(offset));
                break;
        }
        // The clamps of the byte packing and of ClampChroma.
        const std::int16_t max = kind == SampleKind::Chroma10 ? 1023 : 255;
        const I packed = L::Min16(L::Max16(L::PacksI32(v, v), L::Zero()), L::Set16(max));
        return L::UnpackLo16(packed, L::Zero());
    }

    static void Samples(const std::int32_t* sums, std::int32_t* samples, std::uint32_t n, SampleKind kind,
                        std::int32_t offset) {
        constexpr std::uint32_t kWidth = 4 * L::kLaneCount;
        std::uint32_t i = 0;
        for (; i + kWidth <= n; i += kWidth) L::StoreInts(samples + i, Sample(L::LoadInts(sums + i), kind, offset));
        if (i == n) return;
        std::int32_t in[kWidth] = {}, out[kWidth];
        for (std::uint32_t j = 0; i + j < n; ++j) in[j] = sums[i + j];
        L::StoreInts(out, Sample(L::LoadInts(in), kind, offset));
        for (std::uint32_t j = 0; i + j < n; ++j) samples[i + j] = out[j];
    }
};

}  // namespace
}  // namespace rgb_to_lanes
}  // namespace LUMACORE_ISA
}  // namespace lumacore

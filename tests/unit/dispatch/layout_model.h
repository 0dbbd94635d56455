// A plain, sample-by-sample model of the 8-bit Y'CbCr and v210 layouts and
// of what each conversion between them writes, written apart from the
// routines so that they can be checked against it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/format_code.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {

using lumacore::FMT_A12V;
using lumacore::FMT_AUV2;
using lumacore::FMT_CYUV;
using lumacore::FMT_I420;
using lumacore::FMT_P422;
using lumacore::FMT_UYVY;
using lumacore::FMT_V210;
using lumacore::FMT_YUY2;
using lumacore::FMT_YV12;
using lumacore::FMT_YVYU;

inline bool IsPlanar(int code) { return code == FMT_I420 || code == FMT_YV12 || code == FMT_P422; }
inline bool IsTenBit(int code) { return code == FMT_V210 || code == FMT_A12V; }

// Byte positions of Y0, Cb, Cr in a packed pair (Y1 = Y0 + 2).
struct Order {
    int y0, cb, cr;
};
inline Order OrderOf(int code) {
    if (code == FMT_YUY2) return {0, 1, 3};
    if (code == FMT_YVYU) return {0, 3, 1};
    return {1, 0, 2};
}

// Planar frames: luma lines `pitch` apart; chroma rows pitch / 2 apart,
// (h + 1) / 2 of them in 4:2:0 and h in 4:2:2. The first chroma plane starts
// at h x pitch; the second right after the first's rows in 4:2:0, and at
// h x pitch + (h x pitch) / 2 in 4:2:2, a frame of h x pitch + 2 x ((h x
// pitch) / 2) bytes. YV12 keeps Cr first.
struct PlaneOffsets {
    std::size_t cb, cr;
    std::uint32_t chroma_pitch, rows;
};
inline PlaneOffsets OffsetsOf(int code, std::uint32_t pitch, std::uint32_t h) {
    const std::uint32_t rows = code == FMT_P422 ? h : (h + 1) / 2;
    const std::size_t luma = std::size_t(h) * pitch;
    const std::size_t first = luma, second = code == FMT_P422 ? luma + luma / 2 : first + std::size_t(rows) * (pitch / 2);
    if (code == FMT_YV12) return {second, first, pitch / 2, rows};
    return {first, second, pitch / 2, rows};
}
inline std::size_t PlanarBytes(int code, std::uint32_t pitch, std::uint32_t h) {
    const std::size_t luma = std::size_t(h) * pitch;
    if (code == FMT_P422) return luma + 2 * (luma / 2);
    const PlaneOffsets o = OffsetsOf(code, pitch, h);
    return luma + 2 * std::size_t(o.rows) * o.chroma_pitch;
}

// The 4:2:0 row k written by the 8-bit splits: even rows from line 2k, odd
// rows from line 2k + 1, h - 1 where that line is missing.
inline std::uint32_t SplitLineOfRow(std::uint32_t row, std::uint32_t h) {
    const std::uint32_t line = row % 2 == 0 ? 2 * row : 2 * row + 1;
    return line < h ? line : h - 1;
}

// Packed to planar: w / 2 pairs a line (within the destination rows).
inline void SplitModel(Bytes& dst, const Bytes& src, int packed, int planar, std::uint32_t w, std::uint32_t h,
                       std::uint32_t dp, std::uint32_t sp) {
    const Order o = OrderOf(packed);
    const PlaneOffsets po = OffsetsOf(planar, dp, h);
    const std::uint32_t pairs = std::min(w / 2, dp / 2);
    auto line = [&](std::uint32_t i) { return &src[std::size_t(packed == FMT_CYUV ? h - 1 - i : i) * sp]; };
    for (std::uint32_t i = 0; i < h; ++i)
        for (std::uint32_t k = 0; k < pairs; ++k) {
            dst[std::size_t(i) * dp + 2 * k] = line(i)[4 * k + o.y0];
            dst[std::size_t(i) * dp + 2 * k + 1] = line(i)[4 * k + o.y0 + 2];
        }
    for (std::uint32_t r = 0; r < po.rows; ++r) {
        const std::uint8_t* s = line(planar == FMT_P422 ? r : SplitLineOfRow(r, h));
        for (std::uint32_t k = 0; k < pairs; ++k) {
            dst[po.cb + std::size_t(r) * po.chroma_pitch + k] = s[4 * k + o.cb];
            dst[po.cr + std::size_t(r) * po.chroma_pitch + k] = s[4 * k + o.cr];
        }
    }
}

// Writes pair k (Y0 Y1 Cb Cr) of a packed line in `order`, bytes below `limit` only.
inline void PutPair(std::uint8_t* line, std::uint32_t k, std::uint32_t limit, Order o, std::uint8_t y0,
                    std::uint8_t y1, std::uint8_t cb, std::uint8_t cr) {
    std::uint8_t b[4];
    b[o.y0] = y0;
    b[o.y0 + 2] = y1;
    b[o.cb] = cb;
    b[o.cr] = cr;
    for (std::uint32_t j = 0; j < 4; ++j)
        if (4 * k + j < limit) line[4 * k + j] = b[j];
}

// One 8-bit line as pixels: luma and the chroma pair each pixel uses. At an
// odd width the last pixel takes the pair before it (neutral at width 1);
// pixels beyond the width repeat the last.
struct Pixels {
    std::vector<std::uint8_t> y, cb, cr;
};
inline Pixels PixelsOfLine(const std::uint8_t* luma, const std::uint8_t* cb_row, const std::uint8_t* cr_row,
                           const std::uint8_t* packed, Order o, std::uint32_t w, std::uint32_t n) {
    Pixels p{std::vector<std::uint8_t>(n), std::vector<std::uint8_t>(n), std::vector<std::uint8_t>(n)};
    for (std::uint32_t x = 0; x < n; ++x) {
        const std::uint32_t at = std::min(x, w - 1);
        p.y[x] = packed ? packed[4 * (at / 2) + o.y0 + 2 * (at % 2)] : luma[at];
        const bool cut = w % 2 == 1 && at == w - 1;
        if (cut && w == 1) {
            p.cb[x] = p.cr[x] = 0x80;
            continue;
        }
        const std::uint32_t pair = cut ? at / 2 - 1 : at / 2;
        p.cb[x] = packed ? packed[4 * pair + o.cb] : cb_row[pair];
        p.cr[x] = packed ? packed[4 * pair + o.cr] : cr_row[pair];
    }
    return p;
}

// Planar to packed: (w + 1) / 2 pairs, the final one of an odd width with
// the last luma sample twice; nothing past the pitch.
inline void MergeModel(Bytes& dst, const Bytes& src, int planar, int packed, std::uint32_t w, std::uint32_t h,
                       std::uint32_t dp, std::uint32_t sp) {
    const Order o = OrderOf(packed);
    const PlaneOffsets po = OffsetsOf(planar, sp, h);
    for (std::uint32_t i = 0; i < h; ++i) {
        const std::uint32_t row = planar == FMT_P422 ? i : i / 2;
        const Pixels p = PixelsOfLine(&src[std::size_t(i) * sp], &src[po.cb + std::size_t(row) * po.chroma_pitch],
                                      &src[po.cr + std::size_t(row) * po.chroma_pitch], nullptr, o, w, w + 1);
        std::uint8_t* line = &dst[std::size_t(packed == FMT_CYUV ? h - 1 - i : i) * dp];
        for (std::uint32_t k = 0; k < (w + 1) / 2; ++k)
            PutPair(line, k, dp, o, p.y[2 * k], p.y[2 * k + 1], p.cb[2 * k], p.cr[2 * k]);
    }
}

inline void PutWord(std::uint8_t* at, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const std::uint32_t word = (a & 0x3FF) | (b & 0x3FF) << 10 | (c & 0x3FF) << 20;
    for (int j = 0; j < 4; ++j) at[j] = std::uint8_t(word >> (8 * j));
}

// 8-bit to v210: lines `pitch` apart, samples times 4, zeros after the
// groups up to the pitch.
inline void PackModel(Bytes& dst, const Bytes& src, int from, std::uint32_t w, std::uint32_t h, std::uint32_t pitch,
                      std::uint32_t sp) {
    const std::uint32_t groups = (w + 5) / 6;
    const bool planar = IsPlanar(from);
    const PlaneOffsets po = planar ? OffsetsOf(from, sp, h) : PlaneOffsets{};
    for (std::uint32_t i = 0; i < h; ++i) {
        const std::uint32_t row = from == FMT_P422 ? i : i / 2;
        const std::size_t line = std::size_t(from == FMT_CYUV ? h - 1 - i : i) * sp;
        const Pixels p = planar ? PixelsOfLine(&src[line], &src[po.cb + std::size_t(row) * po.chroma_pitch],
                                               &src[po.cr + std::size_t(row) * po.chroma_pitch], nullptr, {}, w,
                                               6 * groups)
                                : PixelsOfLine(nullptr, nullptr, nullptr, &src[line], OrderOf(from), w, 6 * groups);
        std::uint8_t* out = &dst[std::size_t(i) * pitch];
        for (std::uint32_t g = 0; g < groups; ++g) {
            const std::uint32_t x = 6 * g;
            auto y = [&](std::uint32_t k) { return std::uint32_t(p.y[x + k]) * 4; };
            auto cb = [&](std::uint32_t k) { return std::uint32_t(p.cb[x + 2 * k]) * 4; };
            auto cr = [&](std::uint32_t k) { return std::uint32_t(p.cr[x + 2 * k]) * 4; };
            PutWord(out + 16 * g, cb(0), y(0), cr(0));
            PutWord(out + 16 * g + 4, y(1), cb(1), y(2));
            PutWord(out + 16 * g + 8, cr(1), y(3), cb(2));
            PutWord(out + 16 * g + 12, y(4), cr(2), y(5));
        }
        std::fill(out + 16 * groups, out + pitch, std::uint8_t(0));
    }
}

// One v210 line as 8-bit samples: luma of 6 x groups pixels, chroma of
// 3 x groups pairs. Bytes at or beyond `end` (offsets in src) read as zero.
struct Line8 {
    std::vector<std::uint8_t> y, cb, cr;
};
inline Line8 DecodeV210Line(const Bytes& src, std::size_t at, std::size_t end, std::uint32_t groups) {
    Line8 l{std::vector<std::uint8_t>(6 * groups), std::vector<std::uint8_t>(3 * groups),
            std::vector<std::uint8_t>(3 * groups)};
    auto word = [&](std::size_t pos) {
        std::uint32_t v = 0;
        for (int j = 0; j < 4; ++j) v |= std::uint32_t(pos + j < end ? src[pos + j] : 0) << (8 * j);
        return v;
    };
    auto top8 = [](std::uint32_t v, int field) { return std::uint8_t(((v >> (10 * field)) & 0x3FF) >> 2); };
    for (std::uint32_t g = 0; g < groups; ++g) {
        const std::uint32_t w0 = word(at + 16 * g), w1 = word(at + 16 * g + 4), w2 = word(at + 16 * g + 8),
                            w3 = word(at + 16 * g + 12);
        const std::uint32_t x = 6 * g, c = 3 * g;
        l.cb[c] = top8(w0, 0), l.y[x] = top8(w0, 1), l.cr[c] = top8(w0, 2);
        l.y[x + 1] = top8(w1, 0), l.cb[c + 1] = top8(w1, 1), l.y[x + 2] = top8(w1, 2);
        l.cr[c + 1] = top8(w2, 0), l.y[x + 3] = top8(w2, 1), l.cb[c + 2] = top8(w2, 2);
        l.y[x + 4] = top8(w3, 0), l.cr[c + 2] = top8(w3, 1), l.y[x + 5] = top8(w3, 2);
    }
    return l;
}

// v210 (lines `spe` apart, the source ending after h of them) to 8-bit.
inline void UnpackModel(Bytes& dst, const Bytes& src, int to, std::uint32_t w, std::uint32_t h, std::uint32_t dp,
                        std::uint32_t spe) {
    const std::uint32_t groups = (w + 5) / 6, pairs = (w + 1) / 2;
    const std::size_t end = std::size_t(h) * spe;
    if (!IsPlanar(to)) {
        const Order o = OrderOf(to);
        for (std::uint32_t i = 0; i < h; ++i) {
            const Line8 l = DecodeV210Line(src, std::size_t(i) * spe, end, groups);
            std::uint8_t* line = &dst[std::size_t(to == FMT_CYUV ? h - 1 - i : i) * dp];
            for (std::uint32_t k = 0; k < pairs; ++k) PutPair(line, k, dp, o, l.y[2 * k], l.y[2 * k + 1], l.cb[k], l.cr[k]);
        }
        return;
    }
    const PlaneOffsets po = OffsetsOf(to, dp, h);
    for (std::uint32_t i = 0; i < h; ++i) {
        const Line8 l = DecodeV210Line(src, std::size_t(i) * spe, end, groups);
        for (std::uint32_t x = 0; x < std::min(w, dp); ++x) dst[std::size_t(i) * dp + x] = l.y[x];
    }
    for (std::uint32_t r = 0; r < po.rows; ++r) {
        // 4:2:0 row k: line 2k + 1, or 2k where that is the last line.
        const std::uint32_t line = to == FMT_P422 ? r : std::min(2 * r + 1, h - 1);
        const Line8 l = DecodeV210Line(src, std::size_t(line) * spe, end, groups);
        for (std::uint32_t k = 0; k < std::min(pairs, dp / 2); ++k) {
            dst[po.cb + std::size_t(r) * po.chroma_pitch + k] = l.cb[k];
            dst[po.cr + std::size_t(r) * po.chroma_pitch + k] = l.cr[k];
        }
    }
}

// Planar to planar.
inline void ResampleModel(Bytes& dst, const Bytes& src, int from, int to, std::uint32_t w, std::uint32_t h,
                          std::uint32_t dp, std::uint32_t sp) {
    const PlaneOffsets in = OffsetsOf(from, sp, h), out = OffsetsOf(to, dp, h);
    const bool same = (from == FMT_P422) == (to == FMT_P422);
    const std::uint32_t luma = same ? std::min(dp, sp) : std::min(w, dp);
    const std::uint32_t chroma = same ? std::min(dp, sp) / 2 : std::min(w / 2, dp / 2);
    for (std::uint32_t i = 0; i < h; ++i)
        std::memcpy(&dst[std::size_t(i) * dp], &src[std::size_t(i) * sp], luma);
    for (std::uint32_t r = 0; r < out.rows; ++r) {
        const std::uint32_t from_row = same ? r : to == FMT_P422 ? r / 2 : 2 * r;
        std::memcpy(&dst[out.cb + std::size_t(r) * out.chroma_pitch], &src[in.cb + std::size_t(from_row) * in.chroma_pitch],
                    chroma);
        std::memcpy(&dst[out.cr + std::size_t(r) * out.chroma_pitch], &src[in.cr + std::size_t(from_row) * in.chroma_pitch],
                    chroma);
    }
    if (same && dp == sp) {
        // Equal pitches copy whole planes, row padding included.
        std::memcpy(dst.data(), src.data(), PlanarBytes(to, dp, h));
        if (from != to) {
            std::memcpy(&dst[out.cb], &src[in.cb], std::size_t(out.rows) * out.chroma_pitch);
            std::memcpy(&dst[out.cr], &src[in.cr], std::size_t(out.rows) * out.chroma_pitch);
        }
    }
}

// Packed to packed at an even width: each pair's bytes in the other order,
// cyuv's lines bottom line first on either side.
inline void ReorderModel(Bytes& dst, const Bytes& src, int from, int to, std::uint32_t w, std::uint32_t h,
                         std::uint32_t dp, std::uint32_t sp) {
    const Order in = OrderOf(from), out = OrderOf(to);
    for (std::uint32_t i = 0; i < h; ++i) {
        const std::uint8_t* s = &src[std::size_t(from == FMT_CYUV ? h - 1 - i : i) * sp];
        std::uint8_t* line = &dst[std::size_t(to == FMT_CYUV ? h - 1 - i : i) * dp];
        for (std::uint32_t k = 0; k < w / 2; ++k)
            PutPair(line, k, dp, out, s[4 * k + in.y0], s[4 * k + in.y0 + 2], s[4 * k + in.cb], s[4 * k + in.cr]);
    }
}

// A whole cell: `from` to `to` at the given pitches, auv2 and a12v as their
// UYVY and v210 colour parts followed by an alpha area on the destination
// side: the source's when both sides have one, else zero (auv2: w x h bytes;
// a12v: h lines of whole 32-bit words).
inline void CellModel(Bytes& dst, const Bytes& src, int from, int to, std::uint32_t w, std::uint32_t h,
                      std::uint32_t dp, std::uint32_t sp) {
    const int f = from == FMT_AUV2 ? FMT_UYVY : from == FMT_A12V ? FMT_V210 : from;
    const int t = to == FMT_AUV2 ? FMT_UYVY : to == FMT_A12V ? FMT_V210 : to;
    if (IsTenBit(f) && IsTenBit(t))
        std::memcpy(dst.data(), src.data(), std::size_t(h) * dp);
    else if (!IsPlanar(f) && !IsPlanar(t) && !IsTenBit(f) && !IsTenBit(t))
        ReorderModel(dst, src, f, t, w, h, dp, sp);
    else if (IsTenBit(t))
        PackModel(dst, src, f, w, h, dp, sp);
    else if (IsTenBit(f))
        UnpackModel(dst, src, t, w, h, dp, sp);
    else if (IsPlanar(f) && IsPlanar(t))
        ResampleModel(dst, src, f, t, w, h, dp, sp);
    else if (IsPlanar(f))
        MergeModel(dst, src, f, t, w, h, dp, sp);
    else
        SplitModel(dst, src, f, t, w, h, dp, sp);
    const std::size_t colour = std::size_t(h) * dp;
    const std::size_t alpha = to == FMT_AUV2 ? std::size_t(w) * h : to == FMT_A12V ? std::size_t(h) * 4 * ((w + 2) / 3) : 0;
    if (from == to && alpha)  // the copies carry the alpha area over
        std::memcpy(&dst[colour], &src[std::size_t(h) * sp], alpha);
    else
        std::fill(dst.begin() + colour, dst.begin() + colour + alpha, std::uint8_t(0));
}

}  // namespace lumacore_test

// Every Y'CbCr FourCC decompressed to 24- and 32-bit RGB through Wine's VCM,
// at 720x486 and 1280x720, checked byte for byte against a model written
// from the arithmetic of each path on a processor with SSE2: 13-bit kernels
// for UYVY-ordered and v210 sources to RGB32, 6-bit kernels for the other
// UYVY- and YUY2-ordered cases, the exact generic arithmetic for the rest;
// the matrix follows the source height (enc_matrix up to 625 lines,
// enc_matrix_hd above).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

enum class Kind { Uyvy, Cyuv, Auv2, Yuy2, Yvyu, I420, Yv12, V210, A12v };

struct Fourcc {
    const char* name;
    Kind kind;
    WORD bits;
};

const Fourcc kFourccs[] = {
    {"UYVY", Kind::Uyvy, 16}, {"UYNV", Kind::Uyvy, 16}, {"UYNY", Kind::Uyvy, 16}, {"2vuy", Kind::Uyvy, 16},
    {"2Vuy", Kind::Uyvy, 16}, {"yuv2", Kind::Uyvy, 16}, {"yuV2", Kind::Uyvy, 16}, {"cyuv", Kind::Cyuv, 16},
    {"YUY2", Kind::Yuy2, 16}, {"YUYV", Kind::Yuy2, 16}, {"YUNV", Kind::Yuy2, 16}, {"V422", Kind::Yuy2, 16},
    {"YVYU", Kind::Yvyu, 16}, {"YV12", Kind::Yv12, 12}, {"I420", Kind::I420, 12}, {"IYUV", Kind::I420, 12},
    {"v210", Kind::V210, 20}, {"012v", Kind::V210, 20}, {"auv2", Kind::Auv2, 16}, {"a12v", Kind::A12v, 16},
};

bool TenBit(Kind k) { return k == Kind::V210 || k == Kind::A12v; }
bool Planar(Kind k) { return k == Kind::I420 || k == Kind::Yv12; }
bool UyvyOrder(Kind k) { return k == Kind::Uyvy || k == Kind::Cyuv || k == Kind::Auv2; }

DWORD V210Pitch(DWORD w) { return (w + 47) / 48 * 128; }

DWORD SourceBytes(Kind k, DWORD w, DWORD h) {
    if (TenBit(k)) return V210Pitch(w) * h + (k == Kind::A12v ? h * 4 * ((w + 2) / 3) : 0);
    if (Planar(k)) return w * h + 2 * ((h + 1) / 2) * (w / 2);
    return 2 * w * h + (k == Kind::Auv2 ? w * h : 0);
}

// The samples of pixel (x, y) of the picture, line 0 at the top.
struct Sample {
    int y, cb, cr, alpha;
};

int Word10(const std::vector<BYTE>& f, size_t at, int field) {
    const DWORD w = DWORD(f[at]) | DWORD(f[at + 1]) << 8 | DWORD(f[at + 2]) << 16 | DWORD(f[at + 3]) << 24;
    return int((w >> (10 * field)) & 0x3FF);
}

Sample SampleAt(Kind k, const std::vector<BYTE>& f, DWORD w, DWORD h, DWORD x, DWORD y) {
    Sample s{0, 0, 0, -1};
    if (TenBit(k)) {
        const size_t group = size_t(y) * V210Pitch(w) + 16 * (x / 6);
        // (word, field) of Y0..Y5 and of Cb, Cr of pairs 0..2.
        static const int kY[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {3, 0}, {3, 2}};
        static const int kC[3][4] = {{0, 0, 0, 2}, {1, 1, 2, 0}, {2, 2, 3, 1}};
        const int i = int(x % 6), p = i / 2;
        s.y = Word10(f, group + 4 * kY[i][0], kY[i][1]);
        s.cb = Word10(f, group + 4 * kC[p][0], kC[p][1]);
        s.cr = Word10(f, group + 4 * kC[p][2], kC[p][3]);
        if (k == Kind::A12v)
            s.alpha = Word10(f, size_t(V210Pitch(w)) * h + size_t(y) * 4 * ((w + 2) / 3) + 4 * (x / 3), int(x % 3));
        return s;
    }
    if (Planar(k)) {
        const size_t chroma = size_t(w) * h, plane = size_t((h + 1) / 2) * (w / 2);
        const size_t at = size_t(y / 2) * (w / 2) + x / 2;
        const size_t cb = k == Kind::I420 ? chroma : chroma + plane, cr = k == Kind::I420 ? chroma + plane : chroma;
        return {f[size_t(y) * w + x], f[cb + at], f[cr + at], -1};
    }
    const DWORD line = k == Kind::Cyuv ? h - 1 - y : y;
    const BYTE* p = &f[size_t(line) * 2 * w + 4 * (x / 2)];
    if (UyvyOrder(k)) s = {p[1 + 2 * (x & 1)], p[0], p[2], -1};
    if (k == Kind::Yuy2) s = {p[2 * (x & 1)], p[1], p[3], -1};
    if (k == Kind::Yvyu) s = {p[2 * (x & 1)], p[3], p[1], -1};
    if (k == Kind::Auv2) s.alpha = f[2 * size_t(w) * h + size_t(y) * w + x];
    return s;
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// Gains per matrix number (1 and 5 are what the tests set, 3 and 4 for the
// threshold): luma offset, luma gain, Cr->R, Cr->G, Cb->G, Cb->B.
struct Gains {
    int offset, luma, crr, crg, cbg, cbb;
};
Gains Generic8(int m) {
    switch (m) {
        case 1: return {16, 11640, 15960, 8129, 3910, 20170};
        case 3:
        case 5: return {16, 11640, 17930, 5340, 2130, 21150};
        case 4: return {0, 10000, 15748, 4682, 1873, 18556};
        default: return {0, 10000, 13710, 6979, 3360, 17320};
    }
}
Gains Generic10(int m) {
    const Gains g = Generic8(m);
    return {g.offset * 4, g.luma / 4, g.crr / 4, g.crg / 4, g.cbg / 4, g.cbb / 4};
}
Gains K13(int m) {
    switch (m) {
        case 1: return {16, 9535, 13074, 6660, 3203, 16523};
        case 3:
        case 5: return {16, 9535, 14688, 4374, 1744, 17326};
        case 4: return {0, 8192, 12900, 3835, 1534, 15201};
        default: return {0, 8192, 11231, 5718, 2752, 14188};
    }
}

// B, G, R, fourth byte of one pixel as the codec must write it.
void Model(Kind k, int bits, int m, const Sample& s, BYTE out[4]) {
    const int co = TenBit(k) ? 512 : 128, cb = s.cb - co, cr = s.cr - co;
    int b, g, r, fourth = 0;
    if (bits == 32 && (UyvyOrder(k) || TenBit(k))) {
        Gains q = K13(m);
        if (TenBit(k)) q = {q.offset * 4, q.luma / 4, q.crr / 4, q.crg / 4, q.cbg / 4, q.cbb / 4};
        const int ys = q.luma * (s.y - q.offset);
        r = (ys + q.crr * cr) >> 13, g = (ys - q.cbg * cb - q.crg * cr) >> 13, b = (ys + q.cbb * cb) >> 13;
        fourth = 255;
    } else if (UyvyOrder(k) || k == Kind::Yuy2) {
        // The expanding 6-bit set serves every odd matrix number.
        const bool expand = m & 1;
        const int luma = (expand ? 74 : 64) * (s.y - (expand ? 16 : 0)) + 32;
        b = (luma + (expand ? 129 : 113) * cb) >> 6;
        g = (luma + (expand ? -25 : -22) * cb + (expand ? -52 : -46) * cr) >> 6;
        r = (luma + (expand ? 102 : 90) * cr) >> 6;
        fourth = Clamp(luma >> 6);
    } else {
        const Gains q = TenBit(k) ? Generic10(m) : Generic8(m);
        const int ys = q.luma * (s.y - q.offset);
        r = (ys + q.crr * cr) / 10000, g = (ys - q.cbg * cb - q.crg * cr) / 10000, b = (ys + q.cbb * cb) / 10000;
    }
    out[0] = BYTE(Clamp(b)), out[1] = BYTE(Clamp(g)), out[2] = BYTE(Clamp(r)), out[3] = BYTE(fourth);
    if (s.alpha >= 0) {
        // Standard-range matrices stretch video-range alpha.
        const int a = s.alpha;
        out[3] = TenBit(k) ? BYTE(a <= 64    ? 0
                                  : a >= 940 ? 255
                                             : (a * 255 - 16320) / 876)
                           : BYTE(a <= 16    ? 0
                                  : a >= 235 ? 255
                                             : (a * 255 - 4080) / 219);
    }
}

std::vector<BYTE> Frame(DWORD n, unsigned seed) {
    std::vector<BYTE> v(n);
    unsigned x = seed * 2654435761u | 1;
    for (BYTE& b : v) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = BYTE(x >> 24);
    }
    return v;
}

constexpr BYTE kCanary = 0xA5;

class ToRgb : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(hic_);
        SetMatrices(1, 5);
    }
    void SetMatrices(int sd, int hd) {
        DWORD state[18] = {};
        ASSERT_EQ(ICGetState(hic_.get(), state, sizeof state), DWORD(ICERR_OK));
        state[0] = DWORD(sd), state[2] = DWORD(hd), state[10] = 0, state[11] = 0;  // no board alignment
        ASSERT_EQ(ICSetState(hic_.get(), state, sizeof state), 0u);
    }

    // Decompresses a random frame of `f` and compares every byte (DIB lines
    // bottom-up), the size reported and the canaries after the frame.
    void Check(const Fourcc& f, DWORD w, DWORD h, int bits, int matrix) {
        SCOPED_TRACE(std::string(f.name) + " " + std::to_string(w) + "x" + std::to_string(h) + " to RGB" +
                     std::to_string(bits));
        const DWORD in_size = SourceBytes(f.kind, w, h);
        const std::vector<BYTE> src = Frame(in_size, w + h + DWORD(bits) + DWORD(f.kind));
        const DWORD stride = (w * DWORD(bits) / 8 + 3) & ~3u, out_size = stride * h;
        BITMAPINFOHEADER in = Header(LONG(w), LONG(h), f.bits, FccOf(f.name), in_size);
        BITMAPINFOHEADER out = Header(LONG(w), LONG(h), WORD(bits), BI_RGB, out_size);
        ASSERT_EQ(ICDecompressQuery(hic_.get(), &in, &out), ICERR_OK);
        std::vector<BYTE> dst(out_size + 32, kCanary);
        ASSERT_EQ(ICDecompress(hic_.get(), 0, &in, const_cast<BYTE*>(src.data()), &out, dst.data()), DWORD(ICERR_OK));
        EXPECT_EQ(out.biSizeImage, out_size);
        const DWORD size = DWORD(bits) / 8;
        for (DWORD y = 0; y < h; ++y) {
            const BYTE* line = &dst[size_t(h - 1 - y) * stride];
            for (DWORD x = 0; x < w; ++x) {
                BYTE expected[4];
                Model(f.kind, bits, matrix, SampleAt(f.kind, src, w, h, x, y), expected);
                ASSERT_EQ(0, std::memcmp(line + size * x, expected, size)) << "pixel " << x << ", " << y;
            }
        }
        for (size_t i = out_size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary);
    }

    Compressor hic_{ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_DECOMPRESS};
};

TEST_F(ToRgb, EveryFourccToRgb24AndRgb32AtStandardDefinition) {
    for (const Fourcc& f : kFourccs)
        for (int bits : {24, 32}) Check(f, 720, 486, bits, 1);
}

TEST_F(ToRgb, EveryLayoutToRgb24AndRgb32AtHighDefinition) {
    for (const Fourcc& f : kFourccs) {
        if (std::string(f.name) != "UYVY" && std::string(f.name) != "cyuv" && std::string(f.name) != "auv2" &&
            std::string(f.name) != "YUY2" && std::string(f.name) != "YVYU" && std::string(f.name) != "YV12" &&
            std::string(f.name) != "I420" && std::string(f.name) != "v210" && std::string(f.name) != "a12v")
            continue;
        for (int bits : {24, 32}) Check(f, 1280, 720, bits, 5);
    }
}

// 625 lines take enc_matrix, 626 take enc_matrix_hd, on the generic path
// (YVYU, v210 to RGB24) and the 13-bit one (UYVY, v210 to RGB32).
TEST_F(ToRgb, TheSourceHeightChoosesTheMatrix) {
    SetMatrices(3, 4);
    const Fourcc yvyu{"YVYU", Kind::Yvyu, 16}, uyvy{"UYVY", Kind::Uyvy, 16}, v210{"v210", Kind::V210, 20};
    for (const Fourcc* f : {&yvyu, &uyvy, &v210}) {
        Check(*f, 48, 625, f == &yvyu ? 24 : 32, 3);
        Check(*f, 48, 626, f == &yvyu ? 24 : 32, 4);
    }
    Check(v210, 48, 625, 24, 3);
    Check(v210, 48, 626, 24, 4);
}

}  // namespace

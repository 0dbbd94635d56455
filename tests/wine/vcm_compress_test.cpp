// RGB frames compressed through Wine's VCM into every layout of the codec,
// checked byte for byte against an independent model of the conversion:
// the coefficient tables as listed, bottom-up RGB, left-pixel chroma for
// 8 bits, the 1-2-1 filter for v210, the 4:2:0 line choice, and the alpha
// areas. Also the negotiation messages and the key-frame and chunk marks.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr BYTE kCanary = 0xA5;

// ---- The model ---------------------------------------------------------------

struct Row {
    int y[3], y_offset, cb[3], cr[3];  // R, G, B
};
const Row kTable8[6] = {
    {{2990, 5870, 1140}, 0, {-1719, -3390, 5110}, {5110, -4280, -830}},
    {{2570, 5040, 980}, 16, {-1480, -2910, 4390}, {4390, -3680, -709}},
    {{2130, 7150, 720}, 0, {-1170, -3940, 5110}, {5110, -4640, -470}},
    {{1830, 6140, 620}, 16, {-1010, -3380, 4390}, {4390, -3990, -400}},
    {{2126, 7151, 722}, 0, {-1146, -3854, 5000}, {5000, -4542, -459}},
    {{1830, 6140, 620}, 16, {-1010, -3380, 4390}, {4390, -3990, -400}},
};
const Row kTable10[6] = {
    {{11960, 23480, 4560}, 0, {-6879, -13560, 20440}, {20440, -17120, -3320}},
    {{10280, 20160, 3920}, 64, {-5920, -11640, 17560}, {17560, -14720, -2839}},
    {{8520, 28600, 2880}, 0, {-4680, -15760, 20440}, {20440, -18560, -1880}},
    {{7320, 24560, 2480}, 64, {-4040, -13520, 17560}, {17560, -15960, -1600}},
    {{8504, 28607, 2888}, 0, {-4584, -15416, 20000}, {20000, -18168, -1836}},
    {{7320, 24560, 2480}, 64, {-4040, -13520, 17560}, {17560, -15960, -1600}},
};

struct Pixel {
    int r, g, b, a;
};

// An RGB frame as the host holds it: DIB lines, the bottom line first.
struct RgbFrame {
    int w, h, bits;
    DWORD stride;
    std::vector<BYTE> bytes;
    RgbFrame(int w_, int h_, int bits_, unsigned seed) : w(w_), h(h_), bits(bits_) {
        stride = DWORD((w * bits + 31) / 32 * 4);
        bytes.resize(stride * h);
        std::mt19937 rng(seed);
        for (BYTE& b : bytes) {
            const unsigned r = rng();
            b = (r >> 29) == 0 ? 0 : (r >> 29) == 1 ? 255 : BYTE(r);
        }
    }
    // Pixel x of picture line y (line 0 is the top: the last line in memory).
    Pixel At(int x, int y) const {
        const BYTE* p = &bytes[DWORD(h - 1 - y) * stride + DWORD(x * bits / 8)];
        return {p[2], p[1], p[0], bits == 32 ? p[3] : 0};
    }
};

int Clamp(int v, int max) { return v < 0 ? 0 : v > max ? max : v; }
int Sum(const int (&k)[3], Pixel p) { return k[0] * p.r + k[1] * p.g + k[2] * p.b; }

struct Ycc {
    int y, cb, cr;
};
Ycc Convert(const Row& m, Pixel p, int chroma_offset, int max) {
    return {Clamp(Sum(m.y, p) / 10000 + m.y_offset, max), Clamp(Sum(m.cb, p) / 10000 + chroma_offset, max),
            Clamp(Sum(m.cr, p) / 10000 + chroma_offset, max)};
}

DWORD V210Pitch(int w) { return DWORD((w + 47) / 48 * 128); }

void PutWord(std::vector<BYTE>& out, size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) out[at + i] = BYTE(v >> (8 * i));
}

// Packed 4:2:2 with Y'0, Cb, Y'1 and Cr at byte positions `pos` of each pair.
void Packed(const RgbFrame& f, int matrix, const int (&pos)[4], bool flip, std::vector<BYTE>& out) {
    for (int y = 0; y < f.h; ++y) {
        BYTE* line = &out[size_t(flip ? f.h - 1 - y : y) * 2 * f.w];
        for (int k = 0; k < f.w / 2; ++k) {
            const Ycc left = Convert(kTable8[matrix], f.At(2 * k, y), 128, 255);
            const Ycc right = Convert(kTable8[matrix], f.At(2 * k + 1, y), 128, 255);
            line[4 * k + pos[0]] = BYTE(left.y);
            line[4 * k + pos[1]] = BYTE(left.cb);
            line[4 * k + pos[2]] = BYTE(right.y);
            line[4 * k + pos[3]] = BYTE(left.cr);
        }
    }
}

void Planar420(const RgbFrame& f, int matrix, bool cb_first, std::vector<BYTE>& out) {
    const int cp = f.w / 2, rows = (f.h + 1) / 2;
    BYTE* first = &out[size_t(f.h) * f.w];
    BYTE* second = first + size_t(rows) * cp;
    BYTE* cb = cb_first ? first : second;
    BYTE* cr = cb_first ? second : first;
    for (int y = 0; y < f.h; ++y)
        for (int k = 0; k < f.w / 2; ++k)
            for (int j = 0; j < 2; ++j)
                out[size_t(y) * f.w + 2 * k + j] = BYTE(Convert(kTable8[matrix], f.At(2 * k + j, y), 128, 255).y);
    for (int r = 0; r < rows; ++r) {
        // Rows 0, 1, 2, 3, ... from lines 0, 3, 4, 7, ...; the last line where that runs out.
        int line = r % 2 == 0 ? 2 * r : 2 * r + 1;
        if (line >= f.h) line = f.h - 1;
        for (int k = 0; k < f.w / 2; ++k) {
            const Ycc c = Convert(kTable8[matrix], f.At(2 * k, line), 128, 255);
            cb[r * cp + k] = BYTE(c.cb);
            cr[r * cp + k] = BYTE(c.cr);
        }
    }
}

void V210(const RgbFrame& f, int matrix, std::vector<BYTE>& out) {
    for (int y = 0; y < f.h; ++y) {
        int prev_cb = 512, prev_cr = 512;
        const size_t line = size_t(y) * V210Pitch(f.w);
        for (int g = 0; g * 6 < f.w; ++g) {
            DWORD v[12] = {};  // Cb0 Y0 Cr0 Y1 Cb1 Y2 Cr1 Y3 Cb2 Y4 Cr2 Y5
            int pairs = 0;
            for (int j = 0; j < 3 && 6 * g + 2 * j < f.w; ++j, ++pairs) {
                const int x = 6 * g + 2 * j;
                const Ycc l = Convert(kTable10[matrix], f.At(x, y), 512, 1023);
                const Ycc r = Convert(kTable10[matrix], f.At(x + 1 < f.w ? x + 1 : f.w - 1, y), 512, 1023);
                v[4 * j] = DWORD((prev_cb + 2 * l.cb + r.cb) / 4);
                v[4 * j + 1] = DWORD(l.y);
                v[4 * j + 2] = DWORD((prev_cr + 2 * l.cr + r.cr) / 4);
                v[4 * j + 3] = DWORD(r.y);
                prev_cb = r.cb;
                prev_cr = r.cr;
            }
            const int words = pairs == 1 ? 2 : pairs == 2 ? 3 : 4;
            for (int k = 0; k < words; ++k) {
                // The last word holds only the fields up to the last pair's right Y'.
                DWORD word = 0;
                for (int i = 0; i < 3; ++i)
                    if (3 * k + i < 4 * pairs) word |= v[3 * k + i] << (10 * i);
                PutWord(out, line + 16 * g + 4 * k, word);
            }
        }
    }
}

struct Layout {
    const char* fourcc;
    WORD bits;
};
const Layout kLayouts[] = {{"UYVY", 16}, {"2vuy", 16}, {"yuv2", 16}, {"cyuv", 16}, {"YUY2", 16},
                           {"V422", 16}, {"YVYU", 16}, {"YV12", 12}, {"I420", 12}, {"IYUV", 12},
                           {"v210", 16}, {"012v", 16}, {"auv2", 16}, {"a12v", 16}};

// The frame the codec must write, starting from a buffer full of canaries.
std::vector<BYTE> Expected(const RgbFrame& f, const std::string& fcc, int matrix, size_t size) {
    std::vector<BYTE> out(size, kCanary);
    static const int kUyvy[4] = {1, 0, 3, 2}, kYuy2[4] = {0, 1, 2, 3}, kYvyu[4] = {0, 3, 2, 1};
    const bool video_range = matrix % 2 == 1;
    if (fcc == "UYVY" || fcc == "2vuy" || fcc == "yuv2") {
        Packed(f, matrix, kUyvy, false, out);
    } else if (fcc == "cyuv") {
        Packed(f, matrix, kUyvy, true, out);
    } else if (fcc == "YUY2" || fcc == "V422") {
        Packed(f, matrix, kYuy2, false, out);
    } else if (fcc == "YVYU") {
        Packed(f, matrix, kYvyu, false, out);
    } else if (fcc == "YV12") {
        Planar420(f, matrix, false, out);
    } else if (fcc == "I420" || fcc == "IYUV") {
        Planar420(f, matrix, true, out);
    } else if (fcc == "v210" || fcc == "012v") {
        V210(f, matrix, out);
    } else if (fcc == "auv2") {
        Packed(f, matrix, kUyvy, false, out);
        for (int y = 0; y < f.h; ++y)
            for (int x = 0; x < f.w; ++x) {
                const int a = f.At(x, y).a;
                out[size_t(2 * f.w * f.h + y * f.w + x)] = BYTE(f.bits == 24  ? 0
                                                                : video_range ? a * 219 / 255 + 16
                                                                              : a);
            }
    } else if (fcc == "a12v") {
        V210(f, matrix, out);
        const int words = (f.w + 2) / 3;
        const size_t area = size_t(V210Pitch(f.w)) * f.h;
        for (int y = 0; y < f.h; ++y)
            for (int k = 0; k < words; ++k) {
                DWORD word = 0;
                for (int i = 0; i < 3 && 3 * k + i < f.w; ++i) {
                    const int a = f.At(3 * k + i, y).a;
                    word |= DWORD(f.bits == 24 ? 0 : video_range ? a * 876 / 255 + 64 : a * 4) << (10 * i);
                }
                PutWord(out, area + size_t(y) * 4 * words + 4 * k, word);
            }
    }
    return out;
}

// The extent of the frame written.
DWORD Extent(const std::string& fcc, int w, int h) {
    if (fcc == "YV12" || fcc == "I420" || fcc == "IYUV") return DWORD(w * h + 2 * ((h + 1) / 2) * (w / 2));
    if (fcc == "v210" || fcc == "012v") return V210Pitch(w) * h;
    if (fcc == "a12v") return V210Pitch(w) * h + DWORD(h * 4 * ((w + 2) / 3));
    if (fcc == "auv2") return DWORD(3 * w * h);
    return DWORD(2 * w * h);
}

BITMAPINFOHEADER RgbHeader(int w, int h, int bits, DWORD size = 0) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = WORD(bits);
    b.biCompression = BI_RGB;
    b.biSizeImage = size;
    return b;
}

BITMAPINFOHEADER YuvHeader(const char* fcc, WORD bits, int w, int h) {
    BITMAPINFOHEADER b = RgbHeader(w, h, bits);
    b.biCompression = FccOf(fcc);
    return b;
}

class Compressing : public testing::Test {
   protected:
    void SetUp() override { ASSERT_TRUE(hic_); }
    Compressor hic_{ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_COMPRESS};
};

TEST_F(Compressing, RgbFramesConvertIntoEveryFourccByteForByte) {
    struct Size {
        int w, h;
    };
    // 20: a last v210 group of one pair, a12v words with two samples; odd heights.
    const Size sizes[] = {{20, 7}, {48, 4}, {15, 3}};
    for (int bits : {24, 32}) {
        for (const Size& s : sizes) {
            const RgbFrame frame(s.w, s.h, bits, unsigned(s.w * 131 + s.h + bits));
            for (const Layout& l : kLayouts) {
                SCOPED_TRACE(std::string("RGB") + std::to_string(bits) + " -> " + l.fourcc + " at " +
                             std::to_string(s.w) + "x" + std::to_string(s.h));
                BITMAPINFOHEADER in = RgbHeader(s.w, s.h, bits, DWORD(frame.bytes.size()));
                BITMAPINFOHEADER out = YuvHeader(l.fourcc, l.bits, s.w, s.h);
                ASSERT_EQ(ICCompressQuery(hic_.get(), &in, &out), ICERR_OK);
                const DWORD size = ICCompressGetSize(hic_.get(), &in, &out);
                ASSERT_GE(size, Extent(l.fourcc, s.w, s.h));
                out.biSizeImage = size;
                std::vector<BYTE> dst(size + 32, kCanary);
                DWORD ckid = Fcc("00db"), flags = 0;
                ASSERT_EQ(ICCompress(hic_.get(), 0, &out, dst.data(), &in, const_cast<BYTE*>(frame.bytes.data()), &ckid,
                                     &flags, 0, 0, 0, nullptr, nullptr),
                          DWORD(ICERR_OK));
                EXPECT_EQ(out.biSizeImage, Extent(l.fourcc, s.w, s.h));
                EXPECT_EQ(flags, DWORD(AVIIF_KEYFRAME));
                EXPECT_EQ(ckid, Fcc("00dc"));
                const std::vector<BYTE> expected = Expected(frame, l.fourcc, 1, dst.size());
                for (size_t i = 0; i < dst.size(); ++i) ASSERT_EQ(dst[i], expected[i]) << "byte " << i;
            }
        }
    }
}

TEST_F(Compressing, A720pV210FrameFitsTheSizeItWasGiven) {
    // 3456-byte lines: the reported size is the whole frame, and the frame
    // written into exactly that buffer leaves the bytes after it alone.
    const RgbFrame frame(1280, 720, 32, 5);
    BITMAPINFOHEADER in = RgbHeader(1280, 720, 32), out = YuvHeader("v210", 16, 1280, 720);
    const DWORD size = ICCompressGetSize(hic_.get(), &in, &out);
    ASSERT_EQ(size, 2488320u);
    out.biSizeImage = size;
    std::vector<BYTE> dst(size + 64, kCanary);
    DWORD flags = 0;
    ASSERT_EQ(ICCompress(hic_.get(), 0, &out, dst.data(), &in, const_cast<BYTE*>(frame.bytes.data()), nullptr, &flags,
                         0, 0, 0, nullptr, nullptr),
              DWORD(ICERR_OK));
    EXPECT_EQ(out.biSizeImage, size);
    for (DWORD i = size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary);

    // One byte less: refused, nothing written.
    out.biSizeImage = size - 1;
    std::fill(dst.begin(), dst.end(), kCanary);
    EXPECT_EQ(ICCompress(hic_.get(), 0, &out, dst.data(), &in, const_cast<BYTE*>(frame.bytes.data()), nullptr, &flags,
                         0, 0, 0, nullptr, nullptr),
              DWORD(ICERR_ERROR));
    EXPECT_EQ(out.biSizeImage, 0u);
    for (BYTE b : dst) ASSERT_EQ(b, kCanary);
}

}  // namespace

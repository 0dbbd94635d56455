// Frames decompressed through Wine's VCM between the packed 4:2:2, v210 and
// 4:2:2:4 layouts, checked byte for byte against an independent model of
// the layouts, with host buffers at every alignment.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

struct Samples {
    BYTE y0, cb, y1, cr;
};

enum class Kind { Packed, V210, A12V };

struct Layout {
    const char* fourcc;
    Kind kind;
    // Byte positions of Y0, Cb, Y1, Cr in a four-byte pair.
    int y0, cb, y1, cr;
    bool bottom_up;
    bool alpha_plane;
};

const Layout kUyvy{"UYVY", Kind::Packed, 1, 0, 3, 2, false, false};
const Layout kYuy2{"YUY2", Kind::Packed, 0, 1, 2, 3, false, false};
const Layout kYvyu{"YVYU", Kind::Packed, 0, 3, 2, 1, false, false};
const Layout kCyuv{"cyuv", Kind::Packed, 1, 0, 3, 2, true, false};
const Layout kAuv2{"auv2", Kind::Packed, 1, 0, 3, 2, false, true};
const Layout kV210{"v210", Kind::V210, 0, 0, 0, 0, false, false};
const Layout kA12v{"a12v", Kind::A12V, 0, 0, 0, 0, false, false};

DWORD V210Pitch(DWORD w) { return (w + 47) / 48 * 128; }

DWORD FrameBytes(const Layout& l, DWORD w, DWORD h) {
    switch (l.kind) {
        case Kind::Packed:
            return 2 * w * h + (l.alpha_plane ? w * h : 0);
        case Kind::V210:
            return V210Pitch(w) * h;
        case Kind::A12V:
        default:
            return V210Pitch(w) * h + h * 4 * ((w + 2) / 3);
    }
}

BITMAPINFOHEADER Header(const Layout& l, LONG w, LONG h, DWORD size) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = 16;
    b.biCompression = FccOf(l.fourcc);
    b.biSizeImage = size;
    return b;
}

// What the codec must write for `src` in layout `from` converted to `to`.
std::vector<BYTE> Expected(const Layout& from, const Layout& to, const BYTE* src, DWORD w, DWORD h) {
    std::vector<BYTE> out(FrameBytes(to, w, h), 0);
    if (from.kind != Kind::Packed) {
        // v210 and a12v: the colour lines as they are; an a12v source keeps
        // its alpha only when copied whole into a12v.
        std::memcpy(out.data(), src, V210Pitch(w) * h);
        if (from.kind == Kind::A12V && to.kind == Kind::A12V) std::memcpy(out.data(), src, out.size());
        return out;
    }
    if (from.alpha_plane && to.alpha_plane) {
        std::memcpy(out.data(), src, out.size());
        return out;
    }
    for (DWORD y = 0; y < h; ++y) {
        const BYTE* in = src + (from.bottom_up ? h - 1 - y : y) * 2 * w;
        BYTE* o = out.data() + (to.bottom_up ? h - 1 - y : y) * 2 * w;
        for (DWORD k = 0; k < w / 2; ++k) {
            const BYTE* p = in + 4 * k;
            BYTE* q = o + 4 * k;
            q[to.y0] = p[from.y0];
            q[to.cb] = p[from.cb];
            q[to.y1] = p[from.y1];
            q[to.cr] = p[from.cr];
        }
    }
    return out;  // an auv2 destination's alpha plane stays zero
}

std::vector<BYTE> Noise(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<BYTE> v(n);
    for (BYTE& b : v) b = BYTE(rng());
    return v;
}

constexpr BYTE kCanary = 0xA5;

class Decompressor : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(hic_); }
    Compressor hic_{ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_DECOMPRESS};
};

TEST_F(Decompressor, PackedLayoutsConvertByteForByteAtEveryBufferOffset) {
    const Layout* packed[] = {&kUyvy, &kYuy2, &kYvyu, &kCyuv, &kAuv2};
    const DWORD w = 34, h = 5;
    for (const Layout* from : packed) {
        for (const Layout* to : packed) {
            SCOPED_TRACE(std::string(from->fourcc) + " -> " + to->fourcc);
            const DWORD in_size = FrameBytes(*from, w, h), out_size = FrameBytes(*to, w, h);
            const std::vector<BYTE> frame = Noise(in_size, in_size + out_size);
            for (DWORD offset = 0; offset <= 64; ++offset) {
                std::vector<BYTE> src(offset + in_size), dst(offset + out_size + 16, kCanary);
                std::memcpy(src.data() + offset, frame.data(), in_size);
                BITMAPINFOHEADER in = Header(*from, w, h, in_size), out = Header(*to, w, h, out_size);
                ASSERT_EQ(ICDecompressQuery(hic_.get(), &in, &out), ICERR_OK);
                ASSERT_EQ(ICDecompress(hic_.get(), 0, &in, src.data() + offset, &out, dst.data() + offset),
                          DWORD(ICERR_OK))
                    << "offset " << offset;
                EXPECT_EQ(out.biSizeImage, out_size);
                const std::vector<BYTE> expected = Expected(*from, *to, frame.data(), w, h);
                ASSERT_EQ(0, std::memcmp(dst.data() + offset, expected.data(), out_size)) << "offset " << offset;
                for (DWORD i = 0; i < offset; ++i) ASSERT_EQ(dst[i], kCanary);
                for (DWORD i = offset + out_size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary);
            }
        }
    }
}

TEST_F(Decompressor, TenBitLayoutsCopyTheirColourLinesAndAlpha) {
    const Layout* ten[] = {&kV210, &kA12v};
    const DWORD w = 64, h = 6;
    for (const Layout* from : ten) {
        for (const Layout* to : ten) {
            SCOPED_TRACE(std::string(from->fourcc) + " -> " + to->fourcc);
            const DWORD in_size = FrameBytes(*from, w, h), out_size = FrameBytes(*to, w, h);
            const std::vector<BYTE> frame = Noise(in_size, 99);
            for (DWORD offset = 0; offset <= 64; offset += 7) {
                std::vector<BYTE> src(offset + in_size), dst(offset + out_size + 16, kCanary);
                std::memcpy(src.data() + offset, frame.data(), in_size);
                BITMAPINFOHEADER in = Header(*from, w, h, in_size), out = Header(*to, w, h, out_size);
                ASSERT_EQ(ICDecompress(hic_.get(), 0, &in, src.data() + offset, &out, dst.data() + offset),
                          DWORD(ICERR_OK));
                EXPECT_EQ(out.biSizeImage, out_size);
                const std::vector<BYTE> expected = Expected(*from, *to, frame.data(), w, h);
                ASSERT_EQ(0, std::memcmp(dst.data() + offset, expected.data(), out_size));
                for (DWORD i = offset + out_size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary);
            }
        }
    }
}

TEST_F(Decompressor, NegotiatesRgb24OfTheFramesTrueSize) {
    BITMAPINFOHEADER in = Header(kUyvy, 854, 480, 854 * 480 * 2);
    EXPECT_EQ(ICDecompressQuery(hic_.get(), &in, nullptr), ICERR_OK);
    BITMAPINFOHEADER out{};
    ASSERT_EQ(ICDecompressGetFormat(hic_.get(), &in, &out), ICERR_OK);
    EXPECT_EQ(out.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(out.biBitCount, 24);
    EXPECT_EQ(out.biHeight, 480);
    EXPECT_EQ(out.biSizeImage, 2564u * 480u);
    EXPECT_EQ(ICDecompressGetFormatSize(hic_.get(), &in), 40);

    in = Header(kV210, 1920, 1080, 5529600);
    ASSERT_EQ(ICDecompressGetFormat(hic_.get(), &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSizeImage, 6220800u);
    BITMAPINFOHEADER scaled = out;
    scaled.biWidth = 960;
    EXPECT_EQ(ICDecompressQuery(hic_.get(), &in, &scaled), ICERR_BADFORMAT);
}

}  // namespace

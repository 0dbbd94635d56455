// Frames through Wine's VCM as hosts pass them: negotiated, converted into
// buffers of the stated size, and refused when a stated size is short.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tests/unit/dispatch/layout_model.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// UYVY of an RGB32 DIB (bottom line first) under the default matrix, BT.601
// video range; each pair takes the chroma of its left pixel.
std::vector<BYTE> UyvyOf(const std::vector<BYTE>& rgb, int w, int h) {
    std::vector<BYTE> out(size_t(2 * w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const BYTE* p = &rgb[size_t((h - 1 - y) * w + x) * 4];
            const int r = p[2], g = p[1], b = p[0];
            BYTE* q = &out[size_t(y * w + x) * 2];
            q[1] = BYTE(Clamp((2570 * r + 5040 * g + 980 * b) / 10000 + 16));
            if (x % 2 == 0) q[0] = BYTE(Clamp((-1480 * r - 2910 * g + 4390 * b) / 10000 + 128));
            if (x % 2 == 0) q[2] = BYTE(Clamp((4390 * r - 3680 * g - 709 * b) / 10000 + 128));
        }
    return out;
}

// RGB32 to UYVY and back to RGB24 and RGB32, the way an editor renders and
// plays a clip: the compressor is asked for its format and size first.
TEST(VcmFrames, RgbCompressesToUyvyAndDecompressesBack) {
    const int w = 20, h = 7;
    std::vector<BYTE> rgb(size_t(w * h * 4));
    std::mt19937 rng(7);
    for (size_t i = 0; i < rgb.size(); i += 8)  // pairs share a colour, so 4:2:2 loses none of it
        for (int c = 0; c < 4; ++c) rgb[i + c] = rgb[i + 4 + c] = BYTE(rng() % 3 == 0 ? (rng() & 1) * 255 : rng());

    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane Technologies\\Lumacore");  // the default matrices apply
    const Compressor comp = Open(Fcc("UYVY"), ICMODE_COMPRESS);
    ASSERT_TRUE(comp);
    BITMAPINFOHEADER in = Header(w, h, 32, BI_RGB, DWORD(rgb.size())), out{};
    ASSERT_EQ(ICCompressGetFormat(comp.get(), &in, &out), ICERR_OK);
    EXPECT_EQ(FccText(out.biCompression), "UYVY");
    EXPECT_EQ(out.biBitCount, 16);
    ASSERT_EQ(ICCompressQuery(comp.get(), &in, &out), ICERR_OK);
    const DWORD size = ICCompressGetSize(comp.get(), &in, &out);
    ASSERT_GE(size, DWORD(2 * w * h));
    out.biSizeImage = size;
    std::vector<BYTE> uyvy(size + 32, kCanary);
    DWORD ckid = Fcc("00db"), flags = 0;
    ASSERT_EQ(ICCompress(comp.get(), 0, &out, uyvy.data(), &in, rgb.data(), &ckid, &flags, 0, 0, 0, nullptr, nullptr),
              DWORD(ICERR_OK));
    EXPECT_EQ(out.biSizeImage, DWORD(2 * w * h));
    EXPECT_EQ(flags, DWORD(AVIIF_KEYFRAME));
    EXPECT_EQ(ckid, Fcc("00dc"));
    EXPECT_EQ(0, std::memcmp(uyvy.data(), UyvyOf(rgb, w, h).data(), size_t(2 * w * h)));
    EXPECT_TRUE(Untouched(uyvy, size_t(2 * w * h)));

    const Compressor dec = Open(Fcc("UYVY"), ICMODE_DECOMPRESS);
    ASSERT_TRUE(dec);
    for (WORD bits : {24, 32}) {
        SCOPED_TRACE(bits);
        BITMAPINFOHEADER back = Header(w, h, bits, BI_RGB, DibSize(w, h, bits));
        ASSERT_EQ(ICDecompressQuery(dec.get(), &out, &back), ICERR_OK);
        std::vector<BYTE> dst(back.biSizeImage + 32, kCanary);
        ASSERT_EQ(ICDecompress(dec.get(), 0, &out, uyvy.data(), &back, dst.data()), DWORD(ICERR_OK));
        EXPECT_EQ(back.biSizeImage, DibSize(w, h, bits));
        EXPECT_TRUE(Untouched(dst, back.biSizeImage));
        const size_t stride = DibSize(w, 1, bits);
        int worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, std::abs(dst[y * stride + x * bits / 8 + c] - rgb[(y * w + x) * 4 + c]));
        EXPECT_LE(worst, 5) << "integer matrices both ways lose a few levels, not more";
    }
}

// Between Y'CbCr layouts with the host's buffers at an odd address, and the
// RGB proposal a player asks for when it has no format of its own.
TEST(VcmFrames, DecompressesBetweenLayoutsAndProposesRgb24) {
    const Compressor hic = Open(Fcc("UYVY"), ICMODE_DECOMPRESS);
    ASSERT_TRUE(hic);
    const int w = 34, h = 5, n = 2 * w * h, at = 3;
    const lumacore_test::Bytes src = lumacore_test::Random(size_t(n + at), 11);
    std::vector<BYTE> dst(size_t(n + at + 16), kCanary);
    BITMAPINFOHEADER in = Header(w, h, 16, Fcc("UYVY"), n), out = Header(w, h, 16, Fcc("YUY2"), n);
    ASSERT_EQ(ICDecompressQuery(hic.get(), &in, &out), ICERR_OK);
    ASSERT_EQ(ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(src.data()) + at, &out, dst.data() + at),
              DWORD(ICERR_OK));
    for (int i = 0; i < n; ++i) ASSERT_EQ(dst[size_t(at + i)], src[size_t(at + (i ^ 1))]) << "byte " << i;
    EXPECT_TRUE(Untouched(dst, 0, at));
    EXPECT_TRUE(Untouched(dst, size_t(at + n)));

    in = Header(854, 480, 16, Fcc("UYVY"), 854 * 480 * 2);
    EXPECT_EQ(ICDecompressQuery(hic.get(), &in, nullptr), ICERR_OK);
    EXPECT_EQ(ICDecompressGetFormatSize(hic.get(), &in), 40);
    ASSERT_EQ(ICDecompressGetFormat(hic.get(), &in, &out), ICERR_OK);
    EXPECT_EQ(out.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(out.biBitCount, 24);
    EXPECT_EQ(out.biSizeImage, 2564u * 480u);
    out.biWidth = 427;
    EXPECT_EQ(ICDecompressQuery(hic.get(), &in, &out), ICERR_BADFORMAT) << "the codec does not scale";
}

// Planar and v210 frames of odd size each way through the VCM, against the
// layout model; the driver is opened as the Y'CbCr side's FourCC.
TEST(VcmFrames, PlanarAndV210FramesOfOddSize) {
    using namespace lumacore_test;
    struct Side {
        const char* fcc;
        int code;
        WORD bits;
    };
    const Side i420{"I420", FMT_I420, 12}, yv12{"YV12", FMT_YV12, 12}, v210{"v210", FMT_V210, 20};
    struct Case {
        Side from, to;
        bool compress;
    };
    const DWORD w = 719, h = 485;
    auto pitch = [&](int code) { return IsPlanar(code) ? w : (w + 47) / 48 * 128; };
    auto bytes = [&](int code) { return IsPlanar(code) ? DWORD(PlanarBytes(code, w, h)) : pitch(code) * h; };
    for (const Case& c : {Case{i420, v210, false}, Case{v210, yv12, true}}) {
        SCOPED_TRACE(std::string(c.from.fcc) + " -> " + c.to.fcc);
        const DWORD in_size = bytes(c.from.code), out_size = bytes(c.to.code);
        const Bytes frame = Random(in_size, in_size);
        std::vector<BYTE> dst(out_size + 64, kCanary);
        BITMAPINFOHEADER in = Header(LONG(w), LONG(h), c.from.bits, Fcc(c.from.fcc), in_size);
        BITMAPINFOHEADER out = Header(LONG(w), LONG(h), c.to.bits, Fcc(c.to.fcc), out_size);
        const Compressor hic = Open(Fcc(c.compress ? c.to.fcc : c.from.fcc), c.compress ? ICMODE_COMPRESS : ICMODE_DECOMPRESS);
        ASSERT_TRUE(hic);
        DWORD flags = 0;
        const DWORD result =
            c.compress ? ICCompress(hic.get(), ICCOMPRESS_KEYFRAME, &out, dst.data(), &in,
                                    const_cast<BYTE*>(frame.data()), nullptr, &flags, 0, 0, 0, nullptr, nullptr)
                       : ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(frame.data()), &out, dst.data());
        ASSERT_EQ(result, DWORD(ICERR_OK));
        EXPECT_EQ(out.biSizeImage, out_size);
        Bytes want(out_size, kCanary);
        CellModel(want, frame, c.from.code, c.to.code, w, h, pitch(c.to.code), pitch(c.from.code));
        EXPECT_EQ(0, std::memcmp(dst.data(), want.data(), out_size));
        EXPECT_TRUE(Untouched(dst, out_size));
    }
}

// A stated size one step short of the frame, on either side: YVYU 8x3 states
// 44 of its 48 bytes, or an output one byte short. Refused with nothing
// written and the key-frame flag and chunk id as the host left them.
TEST(VcmFrames, ShortStatedSizesAreRefusedByBothFrameMessages) {
    const int w = 8, h = 3;
    const DWORD rgb_size = DibSize(w, h, 24);
    struct Case {
        const char* fcc;
        DWORD in_size, rgb_size;
    };
    for (const Case& c : {Case{"YVYU", 44, rgb_size}, Case{"UYVY", 44, rgb_size}, Case{"YUY2", 48, rgb_size - 1}}) {
        SCOPED_TRACE(testing::Message() << c.fcc << " stating " << c.in_size << " and " << c.rgb_size);
        std::vector<BYTE> src(48, 0x80), dst(rgb_size, kCanary);
        BITMAPINFOHEADER yuv = Header(w, h, 16, Fcc(c.fcc), c.in_size), rgb = Header(w, h, 24, BI_RGB, c.rgb_size);
        const Compressor dec = Open(Fcc(c.fcc), ICMODE_DECOMPRESS);
        ASSERT_TRUE(dec);
        EXPECT_EQ(ICDecompress(dec.get(), 0, &yuv, src.data(), &rgb, dst.data()), DWORD(ICERR_ERROR));
        EXPECT_EQ(rgb.biSizeImage, 0u);
        EXPECT_TRUE(Untouched(dst));

        // Compressed the other way, the short side is again the one stated.
        const Compressor comp = Open(Fcc(c.fcc), ICMODE_COMPRESS);
        BITMAPINFOHEADER from = c.in_size < 48 ? yuv : Header(w, h, 24, BI_RGB, rgb_size);
        BITMAPINFOHEADER to = c.in_size < 48 ? Header(w, h, 24, BI_RGB, rgb_size) : Header(w, h, 16, Fcc(c.fcc), 47);
        DWORD ckid = Fcc("00db"), flags = 0x77;
        src.resize(rgb_size, 0x80);
        EXPECT_EQ(ICCompress(comp.get(), 0, &to, dst.data(), &from, src.data(), &ckid, &flags, 0, 0, 0, nullptr,
                             nullptr),
                  DWORD(ICERR_ERROR));
        EXPECT_EQ(to.biSizeImage, 0u);
        EXPECT_EQ(flags, 0x77u);
        EXPECT_EQ(ckid, Fcc("00db"));
        EXPECT_TRUE(Untouched(dst));

        // Stated whole, the same frame converts.
        yuv.biSizeImage = 48, rgb.biSizeImage = rgb_size;
        EXPECT_EQ(ICDecompress(dec.get(), 0, &yuv, src.data(), &rgb, dst.data()), DWORD(ICERR_OK));
    }
}

// A large frame in bands on the system's thread pool is the frame an
// instance gives when the "threads" value asks for no bands.
TEST(VcmFrames, FramesInBandsAreTheFramesOfOneBand) {
    const char* const key = "Software\\Orvane Technologies\\Lumacore";
    const int w = 1920, h = 1088;
    const lumacore_test::Bytes uyvy = lumacore_test::Random(size_t(2 * w * h), 3);
    std::vector<BYTE> frames[2];
    for (DWORD threads : {1u, 0u}) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key, "threads", REG_DWORD, &threads, sizeof threads);
        const Compressor hic = Open(Fcc("UYVY"), ICMODE_DECOMPRESS);
        ASSERT_TRUE(hic);
        BITMAPINFOHEADER in = Header(w, h, 16, Fcc("UYVY"), DWORD(uyvy.size())), out = Header(w, h, 32, BI_RGB);
        std::vector<BYTE>& rgb = frames[threads];
        rgb.assign(DibSize(w, h, 32), 0);
        ASSERT_EQ(ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(uyvy.data()), &out, rgb.data()), DWORD(ICERR_OK));
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "threads");
    EXPECT_TRUE(frames[0] == frames[1]);
}

// A 2160p frame is written with streaming stores, a frame of its first 1080
// lines (below the size that streams) with ordinary ones: the same lines come
// out the same, at the bottom of the bottom-up RGB frame.
TEST(VcmFrames, StreamedFramesAreTheFramesOfTheCache) {
    const int w = 3840, h = 2160;
    for (const char* fcc : {"UYVY", "YUY2", "v210"}) {
        SCOPED_TRACE(fcc);
        const bool v210 = fcc[0] == 'v';
        const size_t line = v210 ? 16 * ((w + 47) / 48) * 8 : 2 * w;
        const lumacore_test::Bytes src = lumacore_test::Random(line * h, 5);
        std::vector<BYTE> rgb[2];
        for (int part : {0, 1}) {
            const int lines = part ? h / 2 : h;
            const Compressor hic = Open(Fcc(fcc), ICMODE_DECOMPRESS);
            ASSERT_TRUE(hic);
            BITMAPINFOHEADER in = Header(w, lines, v210 ? 20 : 16, Fcc(fcc), DWORD(line * lines));
            BITMAPINFOHEADER out = Header(w, lines, 32, BI_RGB);
            rgb[part].assign(DibSize(w, lines, 32), 0);
            ASSERT_EQ(ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(src.data()), &out, rgb[part].data()),
                      DWORD(ICERR_OK));
        }
        EXPECT_TRUE(std::equal(rgb[1].begin(), rgb[1].end(), rgb[0].begin() + rgb[0].size() / 2));
    }
}

}  // namespace

// The decompression messages as a host sends them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "formats/matrix_numbers.h"
#include "driver/driver_proc.h"
#include "driver/decompress_path.h"
#include "formats/fourcc.h"

namespace lumacore {
namespace {

BITMAPINFOHEADER Yuv(const char (&fcc)[5], std::int32_t w, std::int32_t h, WORD bits = 16) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = bits;
    b.biCompression = Fourcc(fcc);
    return b;
}

BITMAPINFOHEADER Rgb(std::int32_t w, std::int32_t h, WORD bits) {
    BITMAPINFOHEADER b = Yuv("UYVY", w, h, bits);
    b.biCompression = BI_RGB;
    return b;
}

CodecInstance Instance() { return CodecInstance{DefaultSettings(), 0, 0, 0}; }

TEST(DecompressQuery, AcceptsWhatItCanNameAndRefusesScaling) {
    const CodecInstance inst = Instance();
    const BITMAPINFOHEADER uyvy = Yuv("UYVY", 720, 486);
    EXPECT_EQ(DecompressQuery(inst, &uyvy, nullptr), ICERR_OK);
    BITMAPINFOHEADER rgb = Rgb(720, 486, 24);
    EXPECT_EQ(DecompressQuery(inst, &uyvy, &rgb), ICERR_OK);
    rgb.biHeight = -486;
    EXPECT_EQ(DecompressQuery(inst, &uyvy, &rgb), ICERR_BADFORMAT);
    rgb = Rgb(704, 486, 24);
    EXPECT_EQ(DecompressQuery(inst, &uyvy, &rgb), ICERR_BADFORMAT);

    // Inputs: any bit count of a known FourCC (and P422), RGB of 15 to 32 bits.
    const BITMAPINFOHEADER uyvy12 = Yuv("UYVY", 720, 486, 12), p422 = Yuv("P422", 64, 64, 8);
    EXPECT_EQ(DecompressQuery(inst, &uyvy12, nullptr), ICERR_OK);
    EXPECT_EQ(DecompressQuery(inst, &p422, nullptr), ICERR_OK);
    const BITMAPINFOHEADER rgb15 = Rgb(64, 64, 15), rgb8 = Rgb(64, 64, 8), hfyu = Yuv("HFYU", 64, 64);
    EXPECT_EQ(DecompressQuery(inst, &rgb15, nullptr), ICERR_OK);
    EXPECT_EQ(DecompressQuery(inst, &rgb8, nullptr), ICERR_BADFORMAT);
    EXPECT_EQ(DecompressQuery(inst, &hfyu, nullptr), ICERR_BADFORMAT);
    const BITMAPINFOHEADER topdown = Yuv("UYVY", 64, -64);
    EXPECT_EQ(DecompressQuery(inst, &topdown, nullptr), ICERR_BADFORMAT);
    EXPECT_EQ(DecompressQuery(inst, nullptr, nullptr), ICERR_BADFORMAT);

    // Outputs: exactly the headers with a layout.
    const BITMAPINFOHEADER in = Yuv("UYVY", 64, 64);
    const BITMAPINFOHEADER yv12 = Yuv("YV12", 64, 64, 12), uyvy_12 = Yuv("UYVY", 64, 64, 12),
                           v210_20 = Yuv("v210", 64, 64, 20), rgb16 = Rgb(64, 64, 16);
    EXPECT_EQ(DecompressQuery(inst, &in, &yv12), ICERR_OK);
    EXPECT_EQ(DecompressQuery(inst, &in, &uyvy_12), ICERR_BADFORMAT);
    EXPECT_EQ(DecompressQuery(inst, &in, &v210_20), ICERR_OK);
    EXPECT_EQ(DecompressQuery(inst, &in, &rgb16), ICERR_BADFORMAT);
}

TEST(DecompressGetFormat, ProposesBottomUpRgb24OfTheBytesTheFrameWillTake) {
    CodecInstance inst = Instance();
    EXPECT_EQ(DecompressGetFormat(inst, nullptr, nullptr), 40);
    BITMAPINFOHEADER in = Yuv("v210", 1920, 1080);
    in.biXPelsPerMeter = 99;
    in.biClrUsed = 7;
    BITMAPINFOHEADER out;
    std::memset(&out, 0xEE, sizeof out);
    ASSERT_EQ(DecompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSize, 40u);
    EXPECT_EQ(out.biWidth, 1920);
    EXPECT_EQ(out.biHeight, 1080);
    EXPECT_EQ(out.biPlanes, 1);
    EXPECT_EQ(out.biBitCount, 24);
    EXPECT_EQ(out.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(out.biSizeImage, 6220800u);
    EXPECT_EQ(out.biXPelsPerMeter, 0);
    EXPECT_EQ(out.biClrUsed, 0u);

    // DIB lines, and the board alignment the frame will use.
    in = Yuv("UYVY", 854, 480);
    ASSERT_EQ(DecompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSizeImage, 2564u * 480u);
    in = Yuv("UYVY", 800, 600);
    inst.settings.board_align_VESA = 1;
    ASSERT_EQ(DecompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSizeImage, 2432u * 600u);

    const BITMAPINFOHEADER unknown = Yuv("XVID", 64, 64);
    std::memset(&out, 0xEE, sizeof out);
    EXPECT_EQ(DecompressGetFormat(inst, &unknown, &out), ICERR_BADFORMAT);
    EXPECT_EQ(out.biSize, 0xEEEEEEEEu);
    const BITMAPINFOHEADER huge = Yuv("UYVY", 1 << 20, 1 << 20);
    EXPECT_EQ(DecompressGetFormat(inst, &huge, &out), ICERR_BADFORMAT);
}

}  // namespace
}  // namespace lumacore

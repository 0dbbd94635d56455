// Bitmap header -> format code, and the default line pitch of each code.
#include <gtest/gtest.h>

#include <string>

#include "formats/format_code.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::DefaultLinePitch;
using lumacore::FormatCode;
using lumacore::FormatCodeOfHeader;

BITMAPINFOHEADER Header(DWORD compression, WORD bit_count, LONG height = 486) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = 720;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bit_count;
    h.biCompression = compression;
    return h;
}

FormatCode Map(DWORD compression, WORD bit_count, LONG height = 486) {
    const BITMAPINFOHEADER h = Header(compression, bit_count, height);
    return FormatCodeOfHeader(&h);
}

std::string Name(DWORD fcc) {
    if (fcc == BI_RGB) return "BI_RGB";
    return std::string{char(fcc), char(fcc >> 8), char(fcc >> 16), char(fcc >> 24)};
}

TEST(FormatCodeOfHeader, EachFourccMapsWithItsBitCounts) {
    constexpr FormatCode NONE = -1;
    struct Row {
        DWORD fcc;
        FormatCode code;
        bool planar;  // accepts 12 as well as 16
        bool v210;    // accepts 20 as well as 16
    };
    const Row rows[] = {
        {Fcc("UYVY"), 2, false, false}, {Fcc("UYNV"), 2, false, false}, {Fcc("UYNY"), 2, false, false},
        {Fcc("2vuy"), 2, false, false}, {Fcc("2Vuy"), 2, false, false}, {Fcc("yuv2"), 2, false, false},
        {Fcc("yuV2"), 2, false, false}, {Fcc("cyuv"), 3, false, false}, {Fcc("YUY2"), 1, false, false},
        {Fcc("YUYV"), 1, false, false}, {Fcc("YUNV"), 1, false, false}, {Fcc("V422"), 1, false, false},
        {Fcc("YVYU"), 6, false, false}, {Fcc("YV12"), 0, true, false},  {Fcc("I420"), 4, true, false},
        {Fcc("IYUV"), 4, true, false},  {Fcc("v210"), 10, false, true}, {Fcc("012v"), 10, false, true},
        {Fcc("auv2"), 12, false, false}, {Fcc("a12v"), 13, false, false},
        {Fcc("P422"), 11, true, false},  // not a known FourCC, but it has a layout
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Name(r.fcc));
        EXPECT_EQ(Map(r.fcc, 16), r.code);
        EXPECT_EQ(Map(r.fcc, 16, 0), r.code);
        EXPECT_EQ(Map(r.fcc, 12), r.planar ? r.code : NONE);
        EXPECT_EQ(Map(r.fcc, 20), r.v210 ? r.code : NONE);
        for (WORD bits : {0, 1, 8, 10, 15, 17, 24, 31, 32, 33, 48, 64, 65535}) EXPECT_EQ(Map(r.fcc, bits), NONE) << bits;
        // A negative height is refused whatever the FourCC.
        EXPECT_EQ(Map(r.fcc, 16, -486), NONE);
        EXPECT_EQ(Map(r.fcc, 16, -1), NONE);
    }
}

TEST(FormatCodeOfHeader, RgbAndUnknownHeaders) {
    EXPECT_EQ(Map(BI_RGB, 24), FormatCode(0x80000005u));
    EXPECT_EQ(Map(BI_RGB, 32), FormatCode(0x80000007u));
    EXPECT_EQ(Map(BI_RGB, 24) & 0xFF, lumacore::FMT_RGB24);
    EXPECT_EQ(Map(BI_RGB, 32) & 0xFF, lumacore::FMT_RGB32);
    for (WORD bits : {0, 1, 4, 8, 12, 15, 16, 20, 48})
        EXPECT_EQ(Map(BI_RGB, bits), -1) << bits;
    EXPECT_EQ(Map(BI_RGB, 24, -486), -1);
    EXPECT_EQ(Map(BI_RGB, 32, -1), -1);

    // The mapping is exact: the normaliser is not applied here.
    for (DWORD fcc : {Fcc("uyvy"), Fcc("yv12"), Fcc("V210"), Fcc("YUV2"), Fcc("AUV2"), Fcc("p422"), Fcc("Y422"),
                      Fcc("NV12"), Fcc("HDYC"), DWORD(3) /* BI_BITFIELDS */, DWORD(1) /* BI_RLE8 */}) {
        EXPECT_EQ(Map(fcc, 16), -1) << Name(fcc);
        EXPECT_EQ(Map(fcc, 12), -1) << Name(fcc);
    }
}

TEST(DefaultLinePitch, PitchOfEachCode) {
    struct Row {
        int code;
        DWORD width;
        DWORD pitch;
    };
    const Row rows[] = {
        // Planar: the luma line.
        {0, 720, 720}, {4, 721, 721}, {11, 1920, 1920},
        // Packed 4:2:2 and the 16-bit RGB destinations: two bytes a pixel.
        {1, 720, 1440}, {2, 721, 1442}, {3, 1920, 3840}, {6, 640, 1280}, {8, 800, 1600}, {9, 2, 4}, {12, 720, 1440},
        // RGB.
        {5, 720, 2160}, {5, 1, 3}, {7, 720, 2880}, {7, 1, 4},
        // v210: 16 bytes per 6 pixels, truncated, except the two rounded-up widths.
        {10, 720, 1920}, {10, 1280, 3456}, {10, 1920, 5120}, {10, 2048, 5504}, {10, 704, 1877}, {10, 1279, 3410},
        {10, 1281, 3416}, {10, 2047, 5458}, {10, 1, 2}, {10, 6, 16},
        // a12v: 15 bytes per 6 pixels, no special widths.
        {13, 1920, 4800}, {13, 1280, 3200}, {13, 2048, 5120}, {13, 721, 1802},
        // Outside 0..13: two bytes a pixel.
        {14, 720, 1440}, {-1, 720, 1440}, {255, 100, 200},
        // Zero width.
        {10, 0, 0}, {7, 0, 0}, {0, 0, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(DefaultLinePitch(r.code, r.width), r.pitch) << r.code << " at " << r.width;
}

}  // namespace
}  // namespace lumacore_test

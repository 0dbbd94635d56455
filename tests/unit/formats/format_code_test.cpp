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

}  // namespace
}  // namespace lumacore_test

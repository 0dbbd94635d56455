// The FourCC normaliser.
#include <gtest/gtest.h>

#include "formats/fourcc_catalogue.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::NormaliseFourcc;

constexpr const char* kKnown[] = {"UYVY", "UYNV", "UYNY", "2vuy", "2Vuy", "yuv2", "yuV2", "cyuv", "YUY2", "YUYV",
                                  "YUNV", "V422", "YVYU", "YV12", "I420", "IYUV", "v210", "012v", "auv2", "a12v"};

DWORD FccOf(const char* s) {
    return DWORD(std::uint8_t(s[0])) | (DWORD(std::uint8_t(s[1])) << 8) | (DWORD(std::uint8_t(s[2])) << 16) |
           (DWORD(std::uint8_t(s[3])) << 24);
}

TEST(FourccNormaliser, OtherValuesHaveTheirLowerCaseLettersRaised) {
    struct Case {
        DWORD in, out;
    };
    const Case cases[] = {
        {Fcc("uyvy"), Fcc("UYVY")}, {Fcc("yv12"), Fcc("YV12")}, {Fcc("Yuy2"), Fcc("YUY2")},
        {Fcc("i420"), Fcc("I420")}, {Fcc("p422"), Fcc("P422")}, {Fcc("v21o"), Fcc("V21O")},
        {Fcc("abyz"), Fcc("ABYZ")},
        {Fcc("cyUV"), Fcc("CYUV")},  // not a known spelling, so it stays upper case
        // Never lowered, even when the lower-case form is known.
        {Fcc("V210"), Fcc("V210")}, {Fcc("YUV2"), Fcc("YUV2")}, {Fcc("AUV2"), Fcc("AUV2")},
        {Fcc("012V"), Fcc("012V")}, {Fcc("P422"), Fcc("P422")},
        // Only 'a' to 'z' move: the neighbours, digits and high bytes do not.
        {Fcc("`{@["), Fcc("`{@[")}, {Fcc("a1`z"), Fcc("A1`Z")},
        {0xE1F0617Au /* 'z' 'a' 0xF0 0xE1 */, 0xE1F0415Au}, {0, 0}, {0xFFFFFFFFu, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) EXPECT_EQ(NormaliseFourcc(c.in), c.out) << std::hex << c.in;
    for (const char* known : kKnown) EXPECT_EQ(NormaliseFourcc(FccOf(known)), FccOf(known)) << known;
}

}  // namespace
}  // namespace lumacore_test

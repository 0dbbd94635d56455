// The installed driver as a host sees it: listed, opened, asked and closed
// through Wine's own VCM, never by calling its entry point.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

const char* const kFourccs[] = {"UYVY", "UYNV", "UYNY", "2vuy", "2Vuy", "yuv2", "yuV2", "cyuv", "YUY2", "YUYV",
                                "YUNV", "V422", "YVYU", "YV12", "I420", "IYUV", "v210", "012v", "auv2", "a12v"};

std::string Lower(std::string s) { return CharLowerA(s.data()); }

TEST(VcmDriver, ListedOpenedAndNamedUnderEveryFourcc) {
    // Registry value names ignore case, so 2vuy/2Vuy and yuv2/yuV2 share an
    // entry: eighteen listed names cover all twenty codes.
    std::set<std::string> listed, expected;
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i)
        if (Lower(Narrow(info.szDriver)) == "lumacore.dll") listed.insert(Lower(FccText(info.fccHandler)));
    for (const char* fcc : kFourccs) expected.insert(Lower(fcc));
    EXPECT_EQ(listed, expected);

    for (const char* fcc : kFourccs) {
        SCOPED_TRACE(fcc);
        const Compressor hic = Open(Fcc(fcc));
        ASSERT_TRUE(hic);
        std::memset(&info, 0xCC, sizeof info);
        EXPECT_EQ(ICGetInfo(hic.get(), &info, sizeof info), LRESULT(sizeof info));
        EXPECT_EQ(info.fccType, ICTYPE_VIDEO);
        EXPECT_EQ(FccText(info.fccHandler), fcc);
        EXPECT_EQ(info.dwVersionICM, 0x0104u);
        EXPECT_NE(Narrow(info.szName), "");
        EXPECT_TRUE(ICQueryAbout(hic.get()));
        EXPECT_TRUE(ICQueryConfigure(hic.get()));
    }

    // A lower-case spelling of an upper-case code finds the driver, which
    // answers as the code it stands for.
    const Compressor hic = Open(Fcc("uyvy"));
    ASSERT_TRUE(hic);
    ASSERT_GT(ICGetInfo(hic.get(), &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), "UYVY");
    EXPECT_EQ(Narrow(info.szName), "YCbCr8 [UYVY]");
    EXPECT_EQ(Narrow(info.szDescription), "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]");
}

TEST(VcmDriver, StateRoundTripsWithinTheHostsBuffer) {
    const Compressor hic = Open(Fcc("UYVY"));
    ASSERT_TRUE(hic);
    ASSERT_EQ(ICGetStateSize(hic.get()), 72u);

    std::int32_t state[18], back[19];
    ASSERT_EQ(ICGetState(hic.get(), state, sizeof state), DWORD(ICERR_OK));
    for (int i = 0; i < 18; ++i) state[i] = 1000 + i;  // out of range on purpose: state is not clamped
    EXPECT_EQ(ICSetState(hic.get(), state, sizeof state), 0u);
    std::memset(back, 0xCC, sizeof back);
    ASSERT_EQ(ICGetState(hic.get(), back, 72), DWORD(ICERR_OK));
    EXPECT_EQ(std::memcmp(back, state, 72), 0);
    EXPECT_EQ(back[18], std::int32_t(0xCCCCCCCC)) << "wrote past the 72 bytes";

    // A buffer one byte short is refused both ways and left alone.
    std::memset(back, 0xCC, sizeof back);
    EXPECT_EQ(LRESULT(ICGetState(hic.get(), back, 71)), ICERR_BADSIZE);
    EXPECT_EQ(back[0], std::int32_t(0xCCCCCCCC));
    EXPECT_EQ(LRESULT(ICSetState(hic.get(), back, 71)), ICERR_BADSIZE);
    ASSERT_EQ(ICGetState(hic.get(), back, 72), DWORD(ICERR_OK));
    EXPECT_EQ(back[0], 1000);

    // No buffer: back to the stored settings.
    EXPECT_EQ(ICSetState(hic.get(), nullptr, 0), 0u);
    ASSERT_EQ(ICGetState(hic.get(), back, 72), DWORD(ICERR_OK));
    EXPECT_LE(back[0], 5);
}

}  // namespace

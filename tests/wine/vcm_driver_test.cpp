// The installed driver as a host sees it: opened, asked and closed through
// Wine's own VCM, never by calling its entry point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

struct InfoRow {
    const char fourcc[5];
    const char* name;
    const char* description;
};

const InfoRow kRows[] = {
    {"UYVY", "YCbCr8 [UYVY]", "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]"},
    {"UYNV", "YCbCr8 [UYNV]*", "OV 8 Bit Y'CbCr 4:2:2 [UYNV]"},
    {"UYNY", "YCbCr8 [UYNY]*", "OV 8 Bit Y'CbCr 4:2:2 [UYNY]"},
    {"2vuy", "YCbCrQ [2vuy]*", "OV 8 Bit Y'CbCr 4:2:2 [2vuy]"},
    {"2Vuy", "YCbCrQ [2Vuy]*", "OV 8 Bit Y'CbCr 4:2:2 [2Vuy]"},
    {"yuv2", "YCbCr8Q [yuv2]*", "OV 8 Bit Y'CbCr 4:2:2 QT [yuv2]"},
    {"yuV2", "YCbCrQ [yuV2]*", "OV 8 Bit Y'CbCr 4:2:2 QT CineWave [yuV2]"},
    {"cyuv", "YCbCr8 [cyuv]", "OV 8 Bit Y'CbCr 4:2:2 [cyuv]"},
    {"YUY2", "YCbCr8 [YUY2]", "OV 8 Bit Y'CbCr 4:2:2 [YUY2]"},
    {"YUYV", "YCbCr8 [YUYV]*", "OV 8 Bit Y'CbCr 4:2:2 [YUYV]"},
    {"YUNV", "YCbCr8 [YUNV]*", "OV 8 Bit Y'CbCr 4:2:2 [YUNV]"},
    {"V422", "YCbCr8 [V422]*", "OV 8 Bit Y'CbCr 4:2:2 [V422]"},
    {"YVYU", "YCbCr8 [YVYU]*", "OV 8 Bit Y'CbCr 4:2:2 [YVYU]"},
    {"YV12", "YCbCr420 [YV12]", "OV 8 Bit Y'CbCr 4:2:0 [YV12]"},
    {"I420", "YCbCr420 [I420]", "OV 8 Bit Y'CbCr 4:2:0 [I420]"},
    {"IYUV", "YCbCr420 [IYUV]", "OV 8 Bit Y'CbCr 4:2:0 [IYUV]"},
    {"v210", "YCbCr10 [v210]", "OV 10 Bit Y'CbCr 4:2:2 [v210]"},
    {"012v", "YCbCr10 [v210]", "OV 10 Bit Y'CbCr 4:2:2 [v210]"},
    {"auv2", "YCbCrA8 422:4", "OV 8 Bit Y'CbCr 4:2:2:4"},
    {"a12v", "YCbCrA10 422:4", "OV 10 Bit Y'CbCr 4:2:2:4"},
};

const char kSettingsKey[] = "Software\\Orvane Technologies\\Lumacore";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

ICINFO GetInfo(HIC hic, LRESULT* result) {
    ICINFO info;
    std::memset(&info, 0xCC, sizeof info);
    *result = ICGetInfo(hic, &info, sizeof info);
    return info;
}

}  // namespace

TEST(VcmInstall, EnumeratesEveryFourccOfTheCodec) {
    // Registry value names ignore case, so 2vuy/2Vuy and yuv2/yuV2 share an
    // entry: the VCM lists eighteen names that between them cover all twenty.
    std::set<std::string> listed;
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        if (Lower(Narrow(info.szDriver)) == "lumacore.dll") listed.insert(Lower(FccText(info.fccHandler)));
    }
    std::set<std::string> expected;
    for (const InfoRow& row : kRows) expected.insert(Lower(row.fourcc));
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(listed.size(), 18u);
}

TEST(VcmInfo, EveryFourccOpensAndReportsItsNameAndDescription) {
    for (const InfoRow& row : kRows) {
        SCOPED_TRACE(row.fourcc);
        Compressor hic(ICTYPE_VIDEO, Fcc(row.fourcc));
        ASSERT_TRUE(hic);
        LRESULT result;
        ICINFO info = GetInfo(hic.get(), &result);
        EXPECT_EQ(result, LRESULT(sizeof(ICINFO)));
        EXPECT_EQ(info.dwSize, sizeof(ICINFO));
        EXPECT_EQ(info.fccType, ICTYPE_VIDEO);
        EXPECT_EQ(FccText(info.fccHandler), row.fourcc);
        EXPECT_EQ(info.dwFlags, 0u);
        EXPECT_EQ(info.dwVersion, 0x00010001u);
        EXPECT_EQ(info.dwVersionICM, 0x0104u);
        EXPECT_EQ(Narrow(info.szName), row.name);
        EXPECT_EQ(Narrow(info.szDescription), row.description);
    }
}

TEST(VcmInfo, HandlerCodesAreNormalisedAtOpen) {
    {
        // Lower-case forms of upper-case codes find the driver and come back upper-cased.
        Compressor hic(ICTYPE_VIDEO, Fcc("uyvy"));
        ASSERT_TRUE(hic);
        LRESULT result;
        ICINFO info = GetInfo(hic.get(), &result);
        EXPECT_EQ(FccText(info.fccHandler), "UYVY");
        EXPECT_EQ(Narrow(info.szName), "YCbCr8 [UYVY]");
    }
    {
        Compressor hic(ICTYPE_VIDEO, Fcc("yv12"));
        ASSERT_TRUE(hic);
        LRESULT result;
        ICINFO info = GetInfo(hic.get(), &result);
        EXPECT_EQ(FccText(info.fccHandler), "YV12");
    }
    {
        // The upper-case form of v210 is not one of ours: the generic row answers.
        Compressor hic(ICTYPE_VIDEO, Fcc("V210"));
        ASSERT_TRUE(hic);
        LRESULT result;
        ICINFO info = GetInfo(hic.get(), &result);
        EXPECT_EQ(FccText(info.fccHandler), "V210");
        EXPECT_EQ(Narrow(info.szName), "Lumacore");
        EXPECT_EQ(Narrow(info.szDescription), "OV 8/10 Bit Y'CbCr 422/420");
    }
}

TEST(VcmState, RoundTripsSeventyTwoBytes) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    EXPECT_EQ(ICGetStateSize(hic.get()), 72u);

    std::int32_t state[18];
    ASSERT_EQ(ICGetState(hic.get(), state, sizeof state), DWORD(ICERR_OK));
    for (int i = 0; i < 18; ++i) state[i] = 1000 + i;  // out of range on purpose: state is not clamped
    EXPECT_EQ(ICSetState(hic.get(), state, sizeof state), 0u);

    std::int32_t back[19];
    std::memset(back, 0xCC, sizeof back);
    ASSERT_EQ(ICGetState(hic.get(), back, 72), DWORD(ICERR_OK));
    EXPECT_EQ(std::memcmp(back, state, 72), 0);
    EXPECT_EQ(back[18], std::int32_t(0xCCCCCCCC)) << "wrote past the 72 bytes";

    // A buffer smaller than the record is refused, untouched.
    std::memset(back, 0xCC, sizeof back);
    EXPECT_EQ(LRESULT(ICGetState(hic.get(), back, 71)), ICERR_BADSIZE);
    EXPECT_EQ(back[0], std::int32_t(0xCCCCCCCC));
    EXPECT_EQ(LRESULT(ICSetState(hic.get(), back, 71)), ICERR_BADSIZE);
    ASSERT_EQ(ICGetState(hic.get(), state, 72), DWORD(ICERR_OK));
    EXPECT_EQ(state[0], 1000);

    // No buffer: back to the stored settings.
    EXPECT_EQ(ICSetState(hic.get(), nullptr, 0), 0u);
    ASSERT_EQ(ICGetState(hic.get(), state, 72), DWORD(ICERR_OK));
    EXPECT_LE(state[0], 5);
}

TEST(VcmRegistry, FirstOpenWritesSixteenDwordValues) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    { Compressor hic(ICTYPE_VIDEO, Fcc("UYVY")); ASSERT_TRUE(hic); }

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char key_class[32] = {};
    DWORD class_len = sizeof key_class, values = 0;
    RegQueryInfoKeyA(key, key_class, &class_len, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    EXPECT_EQ(values, 16u);
    EXPECT_STREQ(key_class, "config");
    struct Expected {
        const char* name;
        DWORD value;
    };
    const Expected expected[] = {
        {"enc_matrix", 1}, {"dec_matrix", 1}, {"enc_matrix_hd", 5}, {"dec_matrix_hd", 5},
        {"fourcc_used", Fcc("UYVY")}, {"fourcc_bitcount", 16}, {"top_field_first", 0}, {"invert_input", 0},
        {"invert_output", 0}, {"board_align_720", 0}, {"board_align_VESA", 0}, {"disable_transcode", 0},
        {"disable_transcode_color", 0}, {"disable_transcode_8_10", 0}, {"disable_transcode_direct", 0},
        {"use_system_codec", 0},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        DWORD type = 0, value = 0xFFFFFFFF, size = sizeof value;
        ASSERT_EQ(RegQueryValueExA(key, e.name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, DWORD(REG_DWORD));
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(value, e.value);
    }
    RegCloseKey(key);
}

TEST(VcmRegistry, StoredValuesAreClampedInTheInstanceOnly) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD nine = 9, forty = 40;
    RegSetValueExA(key, "enc_matrix", 0, REG_DWORD, reinterpret_cast<BYTE*>(&nine), 4);
    RegSetValueExA(key, "fourcc_bitcount", 0, REG_DWORD, reinterpret_cast<BYTE*>(&forty), 4);
    RegSetValueExA(key, "enc_matrix_hd", 0, REG_SZ, reinterpret_cast<const BYTE*>("three"), 6);
    RegCloseKey(key);

    {
        // "V210" reaches the driver (registry names ignore case) but is none
        // of its twenty FourCCs, so the stored bit count is not replaced.
        Compressor hic(ICTYPE_VIDEO, Fcc("V210"));
        ASSERT_TRUE(hic);
        std::int32_t state[18];
        ASSERT_EQ(ICGetState(hic.get(), state, sizeof state), DWORD(ICERR_OK));
        EXPECT_EQ(state[0], 5);   // 9 clamped
        EXPECT_EQ(state[2], 5);   // a string is no value: default
        EXPECT_EQ(state[5], 32);  // 40 clamped
    }
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD value = 0, size = sizeof value;
    RegQueryValueExA(key, "enc_matrix", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    EXPECT_EQ(value, 9u);  // the registry keeps what was stored
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
}


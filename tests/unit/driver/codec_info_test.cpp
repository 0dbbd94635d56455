// ICM_GETINFO: names and descriptions, the process-wide last opened FourCC,
// buffer sizes, and the instance's fourcc_used.
#include <cstring>
#include <string>

#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;

using CodecInfoTest = DriverTest;

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// A wide-character field as text, failing the test when it has no terminator.
std::u16string FieldText(const WCHAR* field, size_t capacity) {
    for (size_t n = 0; n < capacity; ++n)
        if (field[n] == 0) return std::u16string(field, n);
    ADD_FAILURE() << "no terminator";
    return std::u16string(field, capacity);
}

// An ICINFO filled with a pattern, so that untouched parts can be seen.
ICINFO Prefilled() {
    ICINFO info;
    std::memset(&info, 0xCD, sizeof info);
    return info;
}

bool Untouched(const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i] != 0xCD) return false;
    return true;
}

void ExpectInfo(const ICINFO& info, DWORD fcc, const std::string& name, const std::string& description) {
    EXPECT_EQ(info.dwSize, 568u);
    EXPECT_EQ(info.fccType, Fcc("vidc"));
    EXPECT_EQ(info.fccHandler, fcc);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.dwVersion, 0x00010001u);
    EXPECT_EQ(info.dwVersionICM, 0x0104u);
    EXPECT_EQ(FieldText(info.szName, 16), Wide(name));
    EXPECT_EQ(FieldText(info.szDescription, 128), Wide(description));
    EXPECT_TRUE(Untouched(info.szDriver, sizeof info.szDriver)) << "szDriver is not written";
}

// An instance opened for one of the twenty keeps that FourCC, whatever was
// opened after it (a codec chooser opens every installed codec to list it);
// others report the last FourCC opened in the process.
TEST_F(CodecInfoTest, InstancesOpenedForAKnownFourccKeepTheirOwn) {
    Instance yv12 = OpenFor(Fcc("YV12"));
    Instance uyvy = OpenFor(Fcc("uyvy"));  // normalised to a known one
    Instance second = OpenFor(Fcc("v210"));
    ASSERT_TRUE(yv12 && uyvy && second);
    // Proposed from the open on, with the layout's own bit count.
    EXPECT_EQ(yv12.State().fourcc_used, std::int32_t(Fcc("YV12")));
    EXPECT_EQ(yv12.State().fourcc_bitcount, 12);
    EXPECT_EQ(second.State().fourcc_bitcount, 16);

    ICINFO info = Prefilled();
    EXPECT_EQ(yv12.Send(ICM_GETINFO, LPARAM(&info), sizeof info), 568);
    ExpectInfo(info, Fcc("YV12"), "YCbCr420 [YV12]", "OV 8 Bit Y'CbCr 4:2:0 [YV12]");
    EXPECT_EQ(yv12.State().fourcc_used, std::int32_t(Fcc("YV12")));
    info = Prefilled();
    EXPECT_EQ(uyvy.Send(ICM_GETINFO, LPARAM(&info), sizeof info), 568);
    EXPECT_EQ(info.fccHandler, Fcc("UYVY"));

    // A restored state still replaces the whole record, until the next
    // ICM_GETINFO names the instance's own FourCC again.
    CodecSettings state = yv12.State();
    state.fourcc_used = std::int32_t(Fcc("YUY2"));
    yv12.Send(ICM_SETSTATE, LPARAM(&state), sizeof state);
    EXPECT_EQ(yv12.State().fourcc_used, std::int32_t(Fcc("YUY2")));

    // Instances opened for another handler, or without parameters, report
    // the last FourCC opened in the process. A refused open does not move it.
    Instance other = OpenFor(Fcc("HFYU"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other.State().fourcc_used, std::int32_t(Fcc("UYVY")));  // the stored setting
    Instance late = OpenFor(Fcc("v210"));
    info = Prefilled();
    EXPECT_EQ(other.Send(ICM_GETINFO, LPARAM(&info), sizeof info), 568);
    ExpectInfo(info, Fcc("v210"), "YCbCr10 [v210]", "OV 10 Bit Y'CbCr 4:2:2 [v210]");
    EXPECT_EQ(other.State().fourcc_used, std::int32_t(Fcc("v210")));

    Instance plain = OpenWithoutParams();
    ICOPEN refused = OpenParams(Fcc("YV12"), Fcc("VIDC"));
    EXPECT_EQ(DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&refused)), 0);
    info = Prefilled();
    EXPECT_EQ(plain.Send(ICM_GETINFO, LPARAM(&info), sizeof info), 568);
    EXPECT_EQ(info.fccHandler, Fcc("v210"));
    EXPECT_EQ(plain.State().fourcc_used, std::int32_t(Fcc("v210")));

    // A larger buffer is fine, and only the ICINFO is written.
    unsigned char big[600];
    std::memset(big, 0xCD, sizeof big);
    EXPECT_EQ(second.Send(ICM_GETINFO, LPARAM(big), sizeof big), 568);
    EXPECT_TRUE(Untouched(big + 568, sizeof big - 568));
}

}  // namespace
}  // namespace lumacore_test

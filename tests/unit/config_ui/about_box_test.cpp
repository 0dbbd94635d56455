// The About box: which messages show it, which template, and its version text.
#include <string>
#include <utility>
#include <vector>

#include "config_ui/about_box.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using AboutBoxTest = DriverTest;

HINSTANCE FakeModule() { return reinterpret_cast<HINSTANCE>(std::uintptr_t(0x10000000)); }
HWND FakeWindow(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

// The texts a run set on one control.
std::vector<std::string> TextsOf(const platform_test::DialogRun& run, int control) {
    std::vector<std::string> out;
    for (const auto& [id, text] : run.texts)
        if (id == control) out.push_back(text);
    return out;
}

void ExpectAboutRun(const platform_test::DialogRun& run, HWND parent) {
    EXPECT_EQ(run.template_id, 1001u);
    EXPECT_EQ(run.instance, FakeModule());
    EXPECT_EQ(run.parent, parent);
    EXPECT_EQ(run.init_param, 0);
    EXPECT_EQ(run.init_result, TRUE);
    EXPECT_EQ(TextsOf(run, 1012), std::vector<std::string>{"Lumacore Version 2.9.18"});
}

TEST_F(AboutBoxTest, AboutAndDriverConfigureShowTheAboutTemplate) {
    lumacore::SetModuleHandle(FakeModule());
    Instance instance = OpenFor(Fcc("UYVY"));
    ASSERT_TRUE(instance);

    EXPECT_EQ(instance.Send(ICM_ABOUT, LPARAM(FakeWindow(0x4321)), 0), ICERR_OK);
    auto runs = platform_test::DialogRuns();
    ASSERT_EQ(runs.size(), 1u);
    ExpectAboutRun(runs[0], FakeWindow(0x4321));

    // DRV_CONFIGURE shows the About box too, never the property sheet.
    platform_test::ResetDialogs();
    EXPECT_EQ(DriverProc(instance.id(), nullptr, DRV_CONFIGURE, LPARAM(FakeWindow(0x5678)), 0), 1);
    runs = platform_test::DialogRuns();
    ASSERT_EQ(runs.size(), 1u);
    ExpectAboutRun(runs[0], FakeWindow(0x5678));

    // Both work before any instance exists, and with no parent window.
    platform_test::ResetDialogs();
    EXPECT_EQ(DriverProc(0, nullptr, ICM_ABOUT, 0, 0), ICERR_OK);
    EXPECT_EQ(DriverProc(0, nullptr, DRV_CONFIGURE, 0, 0), 1);
    runs = platform_test::DialogRuns();
    ASSERT_EQ(runs.size(), 2u);
    ExpectAboutRun(runs[0], nullptr);
    ExpectAboutRun(runs[1], nullptr);

    // -1 only asks whether the box exists: nothing is shown.
    platform_test::ResetDialogs();
    EXPECT_EQ(instance.Send(ICM_ABOUT, -1, 0), ICERR_OK);
    EXPECT_EQ(DriverProc(instance.id(), nullptr, DRV_CONFIGURE, -1, 0), 1);
    EXPECT_EQ(instance.Send(ICM_CONFIGURE, -1, 0), ICERR_OK);
    EXPECT_TRUE(platform_test::DialogRuns().empty());
}

}  // namespace
}  // namespace lumacore_test

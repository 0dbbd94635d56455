// ICM_CONFIGURE with a window: the sheet edits a copy of the instance's
// settings, and only OK reaches the instance, the shared image and the registry.
#include <map>
#include <string>
#include <vector>

#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;
using platform_test::SheetAction;

using ConfigureExchangeTest = DriverTest;

HWND HostWindow() { return reinterpret_cast<HWND>(std::uintptr_t(0xC0F1)); }

std::map<std::string, std::vector<BYTE>> RegistrySnapshot() {
    std::map<std::string, std::vector<BYTE>> out;
    for (const std::string& name : platform_test::RegistryValueNames(HKEY_CURRENT_USER, kKeyPath)) {
        platform_test::RegistryValueData v;
        if (platform_test::ReadRegistryValue(HKEY_CURRENT_USER, kKeyPath, name, &v)) out[name] = v.data;
    }
    return out;
}

std::int32_t Stored(const std::string& name) {
    platform_test::RegistryValueData v;
    std::int32_t out = -12345;
    if (platform_test::ReadRegistryValue(HKEY_CURRENT_USER, kKeyPath, name, &v) && v.data.size() == 4)
        std::memcpy(&out, v.data.data(), 4);
    return out;
}

TEST_F(ConfigureExchangeTest, OkCommitsTheCopyAndSavesIt) {
    Instance instance = OpenFor(Fcc("UYVY"));
    ASSERT_TRUE(instance);
    // The host restored a state proposing v210, with hardware settings.
    CodecSettings state = instance.State();
    state.fourcc_used = std::int32_t(Fcc("v210"));
    state.fourcc_bitcount = 20;
    state.board_align_720 = 2;
    state.use_system_codec = 1;
    instance.SetState(state);

    platform_test::SetSheetActions({{SheetAction::kSelect, 1237, 0},
                                    {SheetAction::kSelect, 1247, 1},  // "YV12"
                                    {SheetAction::kCheck, 1241, BST_CHECKED},
                                    {SheetAction::kCheck, 1242, BST_CHECKED},
                                    {SheetAction::kCheck, 1243, BST_CHECKED},
                                    {SheetAction::kOk}});
    EXPECT_EQ(instance.Send(ICM_CONFIGURE, LPARAM(HostWindow()), 0), ICERR_OK);
    const auto runs = platform_test::SheetRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].parent, HostWindow());

    CodecSettings expected = state;
    expected.enc_matrix = 0;
    expected.fourcc_used = std::int32_t(Fcc("UYVY"));
    expected.fourcc_bitcount = 16;
    expected.cpu_disable_mask = 7;
    expected.settings_accepted = 1;
    EXPECT_EQ(Fields(instance.State()), Fields(expected));

    // Saved, the advanced page's fields included although it was never shown.
    EXPECT_EQ(Stored("enc_matrix"), 0);
    EXPECT_EQ(Stored("fourcc_used"), std::int32_t(Fcc("UYVY")));
    EXPECT_EQ(Stored("fourcc_bitcount"), 16);
    EXPECT_EQ(Stored("board_align_720"), 2);
    EXPECT_EQ(Stored("use_system_codec"), 1);
    // The processor mask is no registry value, yet later opens in this
    // process start with it.
    EXPECT_EQ(RegistrySnapshot().count("cpu_disable_mask"), 0u);
    Instance later = OpenWithoutParams();
    EXPECT_EQ(later.State().cpu_disable_mask, 7);
    EXPECT_EQ(later.State().enc_matrix, 0);

    // Only "Disable SSE" checked: 2.
    platform_test::SetSheetActions({{SheetAction::kCheck, 1241, BST_UNCHECKED},
                                    {SheetAction::kCheck, 1243, BST_UNCHECKED},
                                    {SheetAction::kOk}});
    EXPECT_EQ(later.Send(ICM_CONFIGURE, LPARAM(HostWindow()), 0), ICERR_OK);
    EXPECT_EQ(later.State().cpu_disable_mask, 2);
    EXPECT_EQ(instance.State().cpu_disable_mask, 7);  // each instance keeps its own
}

TEST_F(ConfigureExchangeTest, CancelLeavesTheInstanceAndTheRegistryAlone) {
    Instance instance = OpenFor(Fcc("UYVY"));
    ASSERT_TRUE(instance);
    SettingsFields f = {3, 4, 0, 2, std::int32_t(Fcc("YUY2")), 16, 1, 1, 0, 6, 1, 1, 0, 1, 0, 1, 0, 1};
    CodecSettings state{};
    std::memcpy(&state, f.data(), sizeof state);
    instance.SetState(state);
    const auto registry_before = RegistrySnapshot();
    ASSERT_EQ(registry_before.size(), 16u);

    platform_test::SetSheetActions({{SheetAction::kSelect, 1237, 5},
                                    {SheetAction::kSelect, 1240, 0},
                                    {SheetAction::kCheck, 1241, BST_CHECKED},
                                    {SheetAction::kCheck, 1246, BST_UNCHECKED},
                                    {SheetAction::kShowPage, 1},
                                    {SheetAction::kSelect, 1300, 2},
                                    {SheetAction::kCheck, 1302, BST_UNCHECKED},
                                    {SheetAction::kCheck, 1306, BST_CHECKED},
                                    {SheetAction::kCancel}});
    EXPECT_EQ(instance.Send(ICM_CONFIGURE, LPARAM(HostWindow()), 0), ICERR_OK);
    EXPECT_EQ(platform_test::SheetRuns().size(), 1u);

    // Untouched, but for the flag that tells the host how the sheet ended.
    CodecSettings expected = state;
    expected.settings_accepted = 0;
    EXPECT_EQ(Fields(instance.State()), Fields(expected));
    EXPECT_EQ(RegistrySnapshot(), registry_before);
    Instance later = OpenWithoutParams();
    EXPECT_EQ(Fields(later.State()), kDefaultFields);
}

}  // namespace
}  // namespace lumacore_test

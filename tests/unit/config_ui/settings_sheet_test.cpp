// The settings sheet against the stand-in's in-memory controls: what a page
// shows, what it stores, how the notifications accept, and how the sheet
// hands the record back. Real windows are driven in tests/ui.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "config_ui/settings_sheet.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;
using lumacore::PageContext;
using platform_test::SheetAction;

using SettingsSheetTest = DriverTest;

const std::vector<std::string> kSdItems = {"CCIR 601 Extended (Y=0..1023)", "CCIR 601 Standard (Default)",
                                           "SMPTE 240M Extended (Y=0..1023)", "SMPTE 240M Standard",
                                           "SMPTE 274M Extended (Y=0..1023)", "SMPTE 274M Standard"};
const std::vector<std::string> kHdItems = {"CCIR 601 Extended (Y=0..1023)", "CCIR 601 Standard",
                                           "SMPTE 240M Extended (Y=0..1023)", "SMPTE 240M Standard",
                                           "SMPTE 274M Extended (Y=0..1023)", "SMPTE 274M Standard (Default)"};
const std::vector<std::string> kFourccItems = {"UYVY", "YV12", "YUY2", "cyuv", "I420", "YVYU",
                                               "YUYV", "YUNV", "V422", "UYNY", "UYNV", "2vuy",
                                               "yuv2", "IYUV", "v210", "012v", "auv2", "a12v"};

HWND FakePage(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

// WM_INITDIALOG as the sheet sends it: the page record carries the context.
INT_PTR InitPage(HWND page, PageContext* context) {
    PROPSHEETPAGEA record{};
    record.lParam = LPARAM(context);
    return lumacore::SettingsPageProc(page, WM_INITDIALOG, 0, LPARAM(&record));
}

// A record with something unusual in every field.
CodecSettings OddRecord() {
    SettingsFields f = {5, 0, 1, 9, std::int32_t(Fcc("v210")), 20, 1, 3, 0, 0x10A, 2, 1, 1, 0, 1, 0, 1, 0};
    CodecSettings s{};
    std::memcpy(&s, f.data(), sizeof s);
    return s;
}

TEST_F(SettingsSheetTest, ReadPageControlsStoresOnePageAndClampsTheWholeRecord) {
    CodecSettings shown = lumacore::DefaultSettings();
    PageContext general{lumacore::kGeneralPage, &shown, nullptr};
    PageContext advanced{lumacore::kAdvancedPage, &shown, nullptr};
    HWND page = FakePage(0x7001), page2 = FakePage(0x7002);
    InitPage(page, &general);
    InitPage(page2, &advanced);

    SendDlgItemMessageA(page, 1237, CB_SETCURSEL, 4, 0);
    SendDlgItemMessageA(page, 1238, CB_SETCURSEL, WPARAM(-1), 0);  // nothing selected
    SendDlgItemMessageA(page, 1239, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(page, 1240, CB_SETCURSEL, 3, 0);
    SendDlgItemMessageA(page, 1247, CB_SETCURSEL, 14, 0);  // "v210": never stored
    CheckDlgButton(page, 1241, BST_CHECKED);
    CheckDlgButton(page, 1242, BST_INDETERMINATE);  // only exactly checked counts
    CheckDlgButton(page, 1243, BST_CHECKED);
    CheckDlgButton(page, 1244, BST_INDETERMINATE);
    CheckDlgButton(page, 1245, BST_CHECKED);
    CheckDlgButton(page, 1246, BST_UNCHECKED);

    // Out-of-range values elsewhere in the record, as a host's state may hold.
    SettingsFields f = {0, 0, 0, 0, 0, -7, 0, 0, 0, 0x70, 9, -2, 3, 3, 3, 3, -3, 5};
    CodecSettings record{};
    std::memcpy(&record, f.data(), sizeof record);
    lumacore::ReadPageControls(page, lumacore::kGeneralPage, &record);
    // Page 0: matrices 4, -1 -> 0, 0, 3; mask rebuilt as MMX | SSE2; invert_input
    // 0, invert_output 1, top_field_first 0; UYVY/16. The rest is clamped as a
    // load does, except settings_accepted.
    EXPECT_EQ(Fields(record), (SettingsFields{4, 0, 0, 3, std::int32_t(Fcc("UYVY")), 16, 0, 0, 1, 5, 2, 0, 1, 1,
                                              1, 1, 0, 5}));

    SendDlgItemMessageA(page2, 1300, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageA(page2, 1301, CB_SETCURSEL, WPARAM(-1), 0);
    CheckDlgButton(page2, 1302, BST_CHECKED);
    CheckDlgButton(page2, 1303, BST_UNCHECKED);
    CheckDlgButton(page2, 1304, BST_CHECKED);
    CheckDlgButton(page2, 1305, BST_INDETERMINATE);
    CheckDlgButton(page2, 1306, BST_CHECKED);
    std::memcpy(&record, f.data(), sizeof record);
    lumacore::ReadPageControls(page2, lumacore::kAdvancedPage, &record);
    // Page 1 leaves the general fields alone (apart from the clamp: bit count
    // -7 becomes 32) and never touches the processor mask.
    EXPECT_EQ(Fields(record), (SettingsFields{0, 0, 0, 0, 0, 32, 0, 0, 0, 0x70, 1, 0, 0, 1, 1, 0, 1, 5}));

    lumacore::ReadPageControls(page, lumacore::kGeneralPage, nullptr);  // no record: nothing to do
}

// A sheet run over a record: what it was told, and what came back.
struct SheetResult {
    platform_test::SheetRun run;
    CodecSettings record;
};

SheetResult RunSheet(const CodecSettings& start, std::vector<SheetAction> actions) {
    platform_test::SetSheetActions(std::move(actions));
    SheetResult r{{}, start};
    lumacore::ShowSettingsSheet(FakePage(0x4321), &r.record);
    const auto runs = platform_test::SheetRuns();
    EXPECT_FALSE(runs.empty());
    if (!runs.empty()) r.run = runs.back();
    return r;
}

TEST_F(SettingsSheetTest, OnlyAnAcceptedSheetWritesTheRecordBack) {
    CodecSettings start = OddRecord();
    start.enc_matrix_hd = 4;
    start.dec_matrix_hd = 2;  // in range, so the clamp keeps every advanced value
    start.settings_accepted = 1;
    CodecSettings cancelled = start;
    cancelled.settings_accepted = 0;

    // Every control changed on both pages, then Cancel (or the page's own
    // cancel command): the record comes back as it was, flag cleared.
    const std::vector<SheetAction> change_all = {
        {SheetAction::kSelect, 1237, 0},   {SheetAction::kSelect, 1238, 3},   {SheetAction::kSelect, 1239, 2},
        {SheetAction::kSelect, 1240, 4},   {SheetAction::kSelect, 1247, 1},   {SheetAction::kCheck, 1241, 1},
        {SheetAction::kCheck, 1242, 0},    {SheetAction::kCheck, 1243, 1},    {SheetAction::kCheck, 1244, 0},
        {SheetAction::kCheck, 1245, 1},    {SheetAction::kCheck, 1246, 0},    {SheetAction::kShowPage, 1},
        {SheetAction::kSelect, 1300, 0},   {SheetAction::kSelect, 1301, 0},   {SheetAction::kCheck, 1302, 1},
        {SheetAction::kCheck, 1303, 0},    {SheetAction::kCheck, 1304, 0},    {SheetAction::kCheck, 1305, 1},
        {SheetAction::kCheck, 1306, 0},    {SheetAction::kShowPage, 0},
    };
    for (SheetAction last : {SheetAction{SheetAction::kCancel}, SheetAction{SheetAction::kCommand, IDCANCEL, 0}}) {
        std::vector<SheetAction> actions = change_all;
        actions.push_back(last);
        actions.push_back({SheetAction::kOk});  // never reached: the sheet is closed
        const SheetResult r = RunSheet(start, actions);
        EXPECT_FALSE(r.run.accepted);
        EXPECT_EQ(Fields(r.record), Fields(cancelled));
    }

    // The same changes accepted with OK from the general page.
    std::vector<SheetAction> actions = change_all;
    actions.push_back({SheetAction::kOk});
    SheetResult r = RunSheet(start, actions);
    EXPECT_TRUE(r.run.accepted);
    EXPECT_EQ(Fields(r.record), (SettingsFields{0, 3, 2, 4, std::int32_t(Fcc("UYVY")), 16, 0, 0, 1, 5, 0, 0, 0, 1,
                                                0, 1, 0, 1}));

    // OK without ever showing the advanced page keeps its fields.
    r = RunSheet(start, {{SheetAction::kSelect, 1237, 2}, {SheetAction::kOk}});
    EXPECT_EQ(r.run.pages[1].window, nullptr);
    CodecSettings expected = start;
    expected.enc_matrix = 2;
    expected.fourcc_used = std::int32_t(Fcc("UYVY"));
    expected.fourcc_bitcount = 16;
    expected.invert_input = 1;      // shown checked, stored as 1
    expected.cpu_disable_mask = 2;  // rebuilt from the boxes: bit 8 is gone
    EXPECT_EQ(Fields(r.record), Fields(expected));

    // The hidden "Done" button goes through the sheet's OK; another
    // notification from it does nothing.
    r = RunSheet(start, {{SheetAction::kSelect, 1237, 3},
                         {SheetAction::kCommand, IDOK, 1 /* not BN_CLICKED */},
                         {SheetAction::kCommand, IDOK, BN_CLICKED},
                         {SheetAction::kCancel}});
    EXPECT_TRUE(r.run.accepted);
    EXPECT_EQ(r.record.enc_matrix, 3);
    EXPECT_EQ(r.record.settings_accepted, 1);

    const std::size_t runs = platform_test::SheetRuns().size();
    lumacore::ShowSettingsSheet(nullptr, nullptr);  // no record: no sheet
    EXPECT_EQ(platform_test::SheetRuns().size(), runs);
}

}  // namespace
}  // namespace lumacore_test

// The About box and the settings sheet in real windows: opened through the
// VCM on the test's own window while a second thread finds the dialog and
// works it with window messages, as a person would. What the sheet left
// behind is read through ICGetState and the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "tests/ui/window_capture.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr char kAboutCaption[] = "Orvane YCbCr Codec";
constexpr char kSheetCaption[] = "Orvane Y'CbCr Video Codec";
constexpr char kSettingsKey[] = "Software\\Orvane Technologies\\Lumacore";

// The state record, field by field.
enum Field { kEnc, kDec, kEncHd, kDecHd, kFourcc, kBitCount, kTopField, kInvertIn, kInvertOut, kCpuMask,
             kAlign720, kAlignVesa, kNoTranscode, kNoColour, kNo8To10, kNoDirect, kSystemCodec, kAccepted };
using State = std::array<std::int32_t, 18>;
const State kDefaults = {1, 1, 5, 5, std::int32_t(Fcc("UYVY")), 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The stored fields, read back from the registry.
State Stored() {
    const char* const names[18] = {
        "enc_matrix", "dec_matrix", "enc_matrix_hd", "dec_matrix_hd", "fourcc_used", "fourcc_bitcount",
        "top_field_first", "invert_input", "invert_output", nullptr, "board_align_720", "board_align_VESA",
        "disable_transcode", "disable_transcode_color", "disable_transcode_8_10", "disable_transcode_direct",
        "use_system_codec", nullptr};
    State s{};
    for (DWORD i = 0, size = 4; i < s.size(); ++i, size = 4)
        if (names[i]) RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, names[i], RRF_RT_DWORD, nullptr, &s[i], &size);
    return s;
}

// Runs `open` on this thread while a second one waits for the window
// captioned `caption` and hands it to `user`, who should close it. False
// when no window came.
bool WhileShown(const char* caption, const std::function<void()>& open, const std::function<void(HWND)>& user) {
    bool found = false;
    std::thread person([&] {
        HWND window = ui_test::WaitForWindow(GetCurrentProcessId(), caption);
        if (!(found = window != nullptr)) return;
        user(window);
        if (!ui_test::WaitUntil([&] { return !IsWindow(window); }, 5000)) {
            ADD_FAILURE() << caption << " stayed open";
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    });
    open();
    person.join();
    return found;
}

class Dialogs : public testing::Test {
protected:
    void SetUp() override {
        host_ = CreateWindowExA(0, "STATIC", "Lumacore test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480, 320,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }
    // Without the key, the next open stores the defaults again.
    void TearDown() override {
        DestroyWindow(host_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    }
    HWND host_ = nullptr;
};

}  // namespace

TEST_F(Dialogs, AboutBoxShowsTheVersionAndClosesWithOk) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    HDRVR driver = OpenDriver(L"vidc.UYVY", L"Drivers32", 0);
    ASSERT_TRUE(hic && driver);
    const struct { const char* what; std::function<LRESULT(LPARAM window)> send; LRESULT answer; } cases[] = {
        {"ICM_ABOUT", [&](LPARAM w) { return ICSendMessage(hic.get(), ICM_ABOUT, w, 0); }, ICERR_OK},
        {"DRV_CONFIGURE", [&](LPARAM w) { return SendDriverMessage(driver, DRV_CONFIGURE, w, 0); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Asked whether there is one: yes, and nothing shows.
        EXPECT_EQ(c.send(-1), c.answer);
        EXPECT_EQ(ui_test::WaitForWindow(GetCurrentProcessId(), kAboutCaption, 500), nullptr);

        std::string version;
        LRESULT answer = -1;
        ASSERT_TRUE(WhileShown(kAboutCaption, [&] { answer = c.send(LPARAM(host_)); }, [&](HWND box) {
            version = ui_test::WindowText(GetDlgItem(box, 1012));
            SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
        }));
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(version, "Lumacore Version 2.9.18");
    }
    CloseDriver(driver, 0, 0);
}

TEST_F(Dialogs, SheetShowsTheStateAndWritesWhatWasAcceptedClampedAndCancelWritesNothing) {
    // A host's state where each control's value differs from its neighbours',
    // with values outside their bounds: a matrix no list item stands for, a
    // flag of 5, an unknown processor bit, an alignment of 7.
    State before = kDefaults;
    before[kEnc] = 9, before[kDec] = 2, before[kEncHd] = 1, before[kDecHd] = 3, before[kBitCount] = 20;
    before[kFourcc] = std::int32_t(Fcc("v210")), before[kCpuMask] = 0x12, before[kInvertOut] = 1, before[kTopField] = 5;
    before[kAlign720] = 1, before[kAlignVesa] = 7, before[kNoTranscode] = 1, before[kNo8To10] = 1, before[kAccepted] = 1;
    // Page, control, the selection or check it shows: nothing for the
    // matrix, always UYVY in the FourCC list, the alignment as clamped on
    // leaving the first page.
    const std::array<int, 3> shown[] = {
        {0, 1237, -1}, {0, 1238, 2}, {0, 1239, 1}, {0, 1240, 3}, {0, 1241, 0}, {0, 1242, 1},
        {0, 1243, 0},  {0, 1244, 0}, {0, 1245, 1}, {0, 1246, 1}, {0, 1247, 0}, {1, 1300, 1},
        {1, 1301, 1},  {1, 1302, 0}, {1, 1303, 1}, {1, 1304, 1}, {1, 1305, 0}, {1, 1306, 0}};

    // What the person changes on each page: selections and clicks.
    const std::vector<std::array<int, 3>> changes[2] = {
        {{1240, CB_SETCURSEL, 0}, {1247, CB_SETCURSEL, 14}, {1241, BM_CLICK, 0}, {1244, BM_CLICK, 0}},
        {{1300, CB_SETCURSEL, 2}, {1306, BM_CLICK, 0}}};
    // Accepted, the first page's changes are kept, the unselected matrix
    // becomes 0, the flag 1, the mask its three boxes, the FourCC UYVY at 16
    // bits whatever was chosen, and the advanced fields are clamped whether
    // or not their page was shown.
    State general_only = before;
    general_only[kEnc] = 0, general_only[kDecHd] = 0, general_only[kFourcc] = std::int32_t(Fcc("UYVY"));
    general_only[kBitCount] = 16, general_only[kTopField] = 1, general_only[kInvertIn] = 1;
    general_only[kCpuMask] = 3, general_only[kAlignVesa] = 1, general_only[kAccepted] = 1;
    State both = general_only;
    both[kAlign720] = 2, both[kSystemCodec] = 1;
    State cancelled = before;
    cancelled[kAccepted] = 0;

    enum Close { kOk, kDone, kCancel, kPageCancel };
    // How the sheet is closed, whether the advanced page is changed too, and the state after.
    const struct { Close how; bool advanced; const State& after; } cases[] = {
        {kOk, true, both}, {kDone, false, general_only}, {kCancel, true, cancelled}, {kPageCancel, true, cancelled}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.how));
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
        Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
        ASSERT_TRUE(hic && ICQueryConfigure(hic.get()));
        ICSetState(hic.get(), const_cast<std::int32_t*>(before.data()), sizeof before);
        const auto user = [&](HWND sheet) {
            // OK and Cancel without Apply, two tabs, and each page's "Done" hidden.
            HWND apply = GetDlgItem(sheet, 0x3021), tabs = HWND(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, IDCANCEL)) && !(apply && IsWindowVisible(apply)));
            EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
            for (int index = 0; index <= int(c.advanced); ++index) {
                SendMessageA(sheet, PSM_SETCURSEL, WPARAM(index), 0);
                HWND page = HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDOK)));
                for (const auto& [on, id, value] : shown) {
                    const bool combo = id < 1241 || id == 1247 || id == 1300 || id == 1301;
                    const LRESULT now = combo ? SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0)
                                              : IsDlgButtonChecked(page, id);
                    EXPECT_TRUE(on != index || now == value) << id << " shows " << now;
                }
                for (const auto& [id, message, value] : changes[index]) SendDlgItemMessageA(page, id, message, value, 0);
                if (c.how == kDone) SendMessageA(page, WM_COMMAND, IDOK, LPARAM(GetDlgItem(page, IDOK)));
                if (c.how == kPageCancel && index == 1) SendMessageA(page, WM_COMMAND, IDCANCEL, 0);
            }
            if (c.how == kOk || c.how == kCancel)
                PostMessageA(sheet, PSM_PRESSBUTTON, c.how == kOk ? PSBTN_OK : PSBTN_CANCEL, 0);
        };
        ASSERT_TRUE(WhileShown(kSheetCaption, [&] { EXPECT_EQ(ICConfigure(hic.get(), host_), ICERR_OK); }, user));
        State now{};
        EXPECT_EQ(LRESULT(ICGetState(hic.get(), now.data(), sizeof now)), ICERR_OK);
        EXPECT_EQ(now, c.after);
        // The registry holds what was accepted, the processor mask and the flag excepted.
        State stored = c.after[kAccepted] ? c.after : kDefaults;
        stored[kCpuMask] = stored[kAccepted] = 0;
        EXPECT_EQ(Stored(), stored);
    }
}

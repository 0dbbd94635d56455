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
#include <map>
#include <thread>

#include "tests/ui/window_capture.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr char kAboutCaption[] = "Orvane YCbCr Codec";
constexpr char kSheetCaption[] = "Orvane Y'CbCr Video Codec";
constexpr char kSettingsKey[] = "Software\\Orvane Technologies\\Lumacore";

// The state record field by field, and the registry value of each stored field.
enum Field { kEnc, kDec, kEncHd, kDecHd, kFourcc, kBitCount, kTopField, kInvertIn, kInvertOut, kCpuMask,
             kAlign720, kAlignVesa, kNoTranscode, kNoColour, kNo8To10, kNoDirect, kSystemCodec, kAccepted };
using State = std::array<std::int32_t, 18>;
const char* const kValueNames[18] = {
    "enc_matrix", "dec_matrix", "enc_matrix_hd", "dec_matrix_hd", "fourcc_used", "fourcc_bitcount",
    "top_field_first", "invert_input", "invert_output", nullptr, "board_align_720", "board_align_VESA",
    "disable_transcode", "disable_transcode_color", "disable_transcode_8_10", "disable_transcode_direct",
    "use_system_codec", nullptr};
const State kDefaults = {1, 1, 5, 5, std::int32_t(Fcc("UYVY")), 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

using Registry = std::map<std::string, std::int32_t>;

Registry Persisted(const State& s) {
    Registry out;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (kValueNames[i]) out[kValueNames[i]] = s[i];
    return out;
}

Registry ReadRegistry() {
    Registry out;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    char name[256];
    std::int32_t value = 0;
    for (DWORD i = 0, n = sizeof name, size = 4;
         RegEnumValueA(key, i, name, &n, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
         ++i, n = sizeof name, size = 4)
        out[name] = value;
    RegCloseKey(key);
    return out;
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

HWND ShowPage(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, WPARAM(index), 0);
    return HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
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
    const struct {
        const char* what;
        std::function<LRESULT(LPARAM window)> send;
        LRESULT answer;
    } cases[] = {
        {"ICM_ABOUT", [&](LPARAM w) { return ICSendMessage(hic.get(), ICM_ABOUT, w, 0); }, ICERR_OK},
        {"DRV_CONFIGURE", [&](LPARAM w) { return SendDriverMessage(driver, DRV_CONFIGURE, w, 0); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Asked whether there is one: yes, and nothing shows.
        EXPECT_EQ(c.send(-1), c.answer);
        EXPECT_EQ(ui_test::WaitForWindow(GetCurrentProcessId(), kAboutCaption, 500), nullptr);

        std::string version, title;
        LRESULT answer = -1;
        ASSERT_TRUE(WhileShown(kAboutCaption, [&] { answer = c.send(LPARAM(host_)); }, [&](HWND box) {
            version = ui_test::WindowText(GetDlgItem(box, 1012));
            title = ui_test::WindowText(GetWindow(box, GW_CHILD));
            EXPECT_TRUE(ui_test::SaveWindowBitmap(box, "about-box.bmp"));
            SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
        }));
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(version, "Lumacore Version 2.9.18");
        EXPECT_EQ(title, "Orvane YCbCr VFW Codec");
    }
    CloseDriver(driver, 0, 0);
}

TEST_F(Dialogs, SheetShowsTheStoredSettingsOnTwoPages) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    EXPECT_TRUE(ICQueryConfigure(hic.get()));
    // Each control's value differs from its neighbours' and from its default.
    State state = kDefaults;
    state[kEnc] = 5, state[kDec] = 0, state[kEncHd] = 1, state[kDecHd] = 3;
    state[kFourcc] = std::int32_t(Fcc("v210")), state[kBitCount] = 20, state[kCpuMask] = 2, state[kInvertOut] = 1;
    state[kAlign720] = 2, state[kAlignVesa] = 1, state[kNoTranscode] = 1, state[kNo8To10] = 1, state[kSystemCodec] = 1;
    ICSetState(hic.get(), state.data(), sizeof state);
    // Page, control, the selection or check it shows; the FourCC list always shows UYVY.
    const std::array<int, 3> expected[] = {
        {0, 1237, 5}, {0, 1238, 0}, {0, 1239, 1}, {0, 1240, 3}, {0, 1241, 0}, {0, 1242, 1},
        {0, 1243, 0}, {0, 1244, 0}, {0, 1245, 1}, {0, 1246, 0}, {0, 1247, 0}, {1, 1300, 2},
        {1, 1301, 1}, {1, 1302, 0}, {1, 1303, 1}, {1, 1304, 1}, {1, 1305, 0}, {1, 1306, 1}};

    LRESULT result = -1;
    ASSERT_TRUE(WhileShown(kSheetCaption, [&] { result = ICConfigure(hic.get(), host_); }, [&](HWND sheet) {
        // OK and Cancel without Apply, two tabs, and each page's "Done" hidden.
        HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, IDCANCEL)) && !(apply && IsWindowVisible(apply)));
        EXPECT_EQ(SendMessageA(HWND(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0)), TCM_GETITEMCOUNT, 0, 0), 2);
        EXPECT_TRUE(ui_test::SaveWindowBitmap(sheet, "settings-general.bmp"));
        for (const auto& [index, id, shown] : expected) {
            HWND page = ShowPage(sheet, index);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDOK)));
            const bool combo = id < 1241 || id == 1247 || id == 1300 || id == 1301;
            EXPECT_EQ(combo ? SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0) : IsDlgButtonChecked(page, id), shown)
                << id;
        }
        EXPECT_TRUE(ui_test::SaveWindowBitmap(sheet, "settings-advanced.bmp"));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }));
    EXPECT_EQ(result, ICERR_OK);
}

TEST_F(Dialogs, SheetWritesWhatWasAcceptedClampedAndCancelWritesNothing) {
    // A host's state with values outside their bounds: a matrix no list
    // item stands for, a flag of 5, an unknown processor bit, an alignment of 7.
    State before = kDefaults;
    before[kEnc] = 9, before[kDec] = 2, before[kFourcc] = std::int32_t(Fcc("v210")), before[kBitCount] = 20;
    before[kTopField] = 5, before[kInvertOut] = 1, before[kCpuMask] = 0x11, before[kAlign720] = 1;
    before[kAlignVesa] = 7, before[kNoTranscode] = 1, before[kAccepted] = 1;

    // Accepted, the general page's changes are kept, the unselected matrix
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
    const struct {
        Close how;
        bool advanced;  // whether the advanced page is changed too
        const State& after;
    } cases[] = {{kOk, true, both}, {kDone, false, general_only}, {kCancel, true, cancelled},
                 {kPageCancel, true, cancelled}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.how));
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
        Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
        ASSERT_TRUE(hic);
        ICSetState(hic.get(), const_cast<std::int32_t*>(before.data()), sizeof before);
        const auto user = [&](HWND sheet) {
            HWND page = ShowPage(sheet, 0);
            SendDlgItemMessageA(page, 1240, CB_SETCURSEL, 0, 0);
            SendDlgItemMessageA(page, 1247, CB_SETCURSEL, 14, 0);
            SendDlgItemMessageA(page, 1242, BM_CLICK, 0, 0);
            SendDlgItemMessageA(page, 1244, BM_CLICK, 0, 0);
            if (c.how == kDone) SendMessageA(page, WM_COMMAND, IDOK, LPARAM(GetDlgItem(page, IDOK)));
            if (!c.advanced) return;
            page = ShowPage(sheet, 1);
            SendDlgItemMessageA(page, 1300, CB_SETCURSEL, 2, 0);
            SendDlgItemMessageA(page, 1306, BM_CLICK, 0, 0);
            if (c.how == kPageCancel) SendMessageA(page, WM_COMMAND, IDCANCEL, 0);
            if (c.how != kPageCancel) PostMessageA(sheet, PSM_PRESSBUTTON, c.how == kOk ? PSBTN_OK : PSBTN_CANCEL, 0);
        };
        ASSERT_TRUE(WhileShown(kSheetCaption, [&] { EXPECT_EQ(ICConfigure(hic.get(), host_), ICERR_OK); }, user));
        State now{};
        EXPECT_EQ(LRESULT(ICGetState(hic.get(), now.data(), sizeof now)), ICERR_OK);
        EXPECT_EQ(now, c.after);
        EXPECT_EQ(ReadRegistry(), Persisted(c.after[kAccepted] ? c.after : kDefaults));
    }
}

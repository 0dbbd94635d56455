// The settings sheet in real windows: ICConfigure through the VCM with the
// test's own window, while a second thread finds the sheet and works it with
// window messages as a person would. What it left behind is read through
// ICGetState and the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/window_capture.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr char kSheetCaption[] = "Orvane Y'CbCr Video Codec";
constexpr char kSettingsKey[] = "Software\\Orvane Technologies\\Lumacore";

// The state blob, field by field.
enum Field {
    kEncMatrix, kDecMatrix, kEncMatrixHd, kDecMatrixHd, kFourccUsed, kFourccBitcount, kTopFieldFirst,
    kInvertInput, kInvertOutput, kCpuDisableMask, kBoardAlign720, kBoardAlignVesa, kDisableTranscode,
    kDisableTranscodeColor, kDisableTranscode8To10, kDisableTranscodeDirect, kUseSystemCodec, kSettingsAccepted,
};
using State = std::array<std::int32_t, 18>;

const State kDefaults = {1, 1, 5, 5, std::int32_t(Fcc("UYVY")), 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Registry value names of the persisted fields (all but the processor mask
// and the accepted flag), by field.
const std::map<Field, const char*> kValueNames = {
    {kEncMatrix, "enc_matrix"},
    {kDecMatrix, "dec_matrix"},
    {kEncMatrixHd, "enc_matrix_hd"},
    {kDecMatrixHd, "dec_matrix_hd"},
    {kFourccUsed, "fourcc_used"},
    {kFourccBitcount, "fourcc_bitcount"},
    {kTopFieldFirst, "top_field_first"},
    {kInvertInput, "invert_input"},
    {kInvertOutput, "invert_output"},
    {kBoardAlign720, "board_align_720"},
    {kBoardAlignVesa, "board_align_VESA"},
    {kDisableTranscode, "disable_transcode"},
    {kDisableTranscodeColor, "disable_transcode_color"},
    {kDisableTranscode8To10, "disable_transcode_8_10"},
    {kDisableTranscodeDirect, "disable_transcode_direct"},
    {kUseSystemCodec, "use_system_codec"},
};

void WriteRegistry(const State& s) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [field, name] : kValueNames)
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&s[field]), 4);
    RegCloseKey(key);
}

// Every value under the key, by name.
std::map<std::string, std::int32_t> ReadRegistry() {
    std::map<std::string, std::int32_t> out;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD name_len = sizeof name, type = 0, size = 4;
        std::int32_t value = 0;
        if (RegEnumValueA(key, i, name, &name_len, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS)
            break;
        out[name] = value;
    }
    RegCloseKey(key);
    return out;
}

std::map<std::string, std::int32_t> Persisted(const State& s) {
    std::map<std::string, std::int32_t> out;
    for (const auto& [field, name] : kValueNames) out[name] = s[field];
    return out;
}

State GetState(HIC hic) {
    State s{};
    EXPECT_EQ(LRESULT(ICGetState(hic, s.data(), sizeof s)), ICERR_OK);
    return s;
}

void SetState(HIC hic, const State& s) { ICSetState(hic, const_cast<std::int32_t*>(s.data()), sizeof s); }

HWND MakeHostWindow() {
    HWND window = CreateWindowExA(0, "STATIC", "Lumacore test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480,
                                  320, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

// ---- the sheet, as the driving thread works it ----------------------------

HWND CurrentPage(HWND sheet) { return HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

HWND ShowPage(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, WPARAM(index), 0);
    return CurrentPage(sheet);
}

void Select(HWND page, int id, int index) { SendDlgItemMessageA(page, id, CB_SETCURSEL, WPARAM(index), 0); }

std::vector<std::string> Items(HWND page, int id) {
    std::vector<std::string> out;
    const LRESULT n = SendDlgItemMessageA(page, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        char text[256] = {};
        SendDlgItemMessageA(page, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        out.push_back(text);
    }
    return out;
}

std::string SelectedText(HWND page, int id) {
    const LRESULT i = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
    if (i == CB_ERR) return "(none)";
    char text[256] = {};
    SendDlgItemMessageA(page, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
    return text;
}

bool Checked(HWND page, int id) { return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A mouse click on a check box.
void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }

enum class Close { kOk, kCancel, kEscape, kCloseBox };

void CloseSheet(HWND sheet, Close how) {
    switch (how) {
        case Close::kOk:
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            break;
        case Close::kCancel:
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            break;
        case Close::kEscape: {
            // The key goes to whatever has the focus in the sheet's thread.
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(GetWindowThreadProcessId(sheet, nullptr), &gui);
            HWND target = gui.hwndFocus ? gui.hwndFocus : GetDlgItem(sheet, IDOK);
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        }
        case Close::kCloseBox:
            PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
    }
}

bool WaitUntilClosed(HWND sheet) {
    for (int i = 0; i < 200 && IsWindow(sheet); ++i) Sleep(25);
    return !IsWindow(sheet);
}

// Runs ICConfigure with `host` as parent while `user` works the sheet from
// another thread. A sheet the script leaves open is cancelled, so that the
// call returns. False if no sheet appeared.
bool Configure(HIC hic, HWND host, const std::function<void(HWND sheet)>& user) {
    std::atomic<bool> found{false};
    std::thread person([&] {
        HWND sheet = ui_test::WaitForWindow(kSheetCaption, 20000);
        if (!sheet) return;
        found = true;
        user(sheet);
        if (!WaitUntilClosed(sheet)) {
            ADD_FAILURE() << "the sheet stayed open";
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        }
    });
    const LRESULT result = ICConfigure(hic, host);
    person.join();
    EXPECT_EQ(result, ICERR_OK);
    return found;
}

// The tools of every tooltip control of the sheet's thread that point into
// `page`: control id -> tip text, and the tooltip windows that hold them.
struct PageTips {
    std::map<int, std::string> texts;
    std::vector<HWND> tooltips;
    bool all_subclassed_windows = true;
};

struct TipSearch {
    HWND page;
    PageTips* tips;
};

BOOL CALLBACK CollectTips(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TipSearch*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "tooltips_class32") return TRUE;
    bool holds_page_tools = false;
    const LRESULT count = SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        if (!SendMessageW(window, TTM_ENUMTOOLSW, WPARAM(i), LPARAM(&tool)) || tool.hwnd != search->page) continue;
        holds_page_tools = true;
        if ((tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS)) != (TTF_IDISHWND | TTF_SUBCLASS))
            search->tips->all_subclassed_windows = false;
        search->tips->texts[GetDlgCtrlID(HWND(tool.uId))] = Narrow(text);
    }
    if (holds_page_tools) search->tips->tooltips.push_back(window);
    return TRUE;
}

PageTips TipsOf(HWND page) {
    PageTips tips;
    TipSearch search{page, &tips};
    EnumThreadWindows(GetWindowThreadProcessId(page, nullptr), &CollectTips, LPARAM(&search));
    return tips;
}

class SettingsSheet : public ::testing::Test {
   protected:
    void SetUp() override {
        host_ = MakeHostWindow();
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(host_);
        WriteRegistry(kDefaults);
    }
    HWND host_ = nullptr;
};

// ---- the tests -------------------------------------------------------------

const std::vector<std::string> kSdItems = {"CCIR 601 Extended (Y=0..1023)", "CCIR 601 Standard (Default)",
                                           "SMPTE 240M Extended (Y=0..1023)", "SMPTE 240M Standard",
                                           "SMPTE 274M Extended (Y=0..1023)", "SMPTE 274M Standard"};
const std::vector<std::string> kHdItems = {"CCIR 601 Extended (Y=0..1023)", "CCIR 601 Standard",
                                           "SMPTE 240M Extended (Y=0..1023)", "SMPTE 240M Standard",
                                           "SMPTE 274M Extended (Y=0..1023)", "SMPTE 274M Standard (Default)"};

TEST_F(SettingsSheet, ShowsTheStoredSettingsOnTwoPages) {
    WriteRegistry(kDefaults);
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    EXPECT_TRUE(ICQueryConfigure(hic.get()));
    State state = kDefaults;
    state[kEncMatrix] = 5;
    state[kDecMatrix] = 0;
    state[kEncMatrixHd] = 1;
    state[kFourccUsed] = std::int32_t(Fcc("v210"));
    state[kFourccBitcount] = 20;
    state[kCpuDisableMask] = 2;
    state[kInvertOutput] = 1;
    state[kBoardAlign720] = 2;
    state[kBoardAlignVesa] = 1;
    state[kDisableTranscode] = 1;
    state[kDisableTranscode8To10] = 1;
    state[kUseSystemCodec] = 1;
    SetState(hic.get(), state);

    const bool found = Configure(hic.get(), host_, [](HWND sheet) {
        // OK and Cancel, no Apply; the tabs carry the page captions.
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, IDOK)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, IDCANCEL)));
        HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(!apply || !IsWindowVisible(apply));
        HWND tabs = HWND(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
        const char* const labels[2] = {"General Encoding Parameters", "Advanced Encoding Parameters"};
        for (int i = 0; i < 2; ++i) {
            char text[128] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tabs, TCM_GETITEMA, WPARAM(i), LPARAM(&item));
            EXPECT_STREQ(text, labels[i]);
        }

        HWND page = CurrentPage(sheet);
        EXPECT_EQ(Items(page, 1237), kSdItems);
        EXPECT_EQ(Items(page, 1238), kSdItems);
        EXPECT_EQ(Items(page, 1239), kHdItems);
        EXPECT_EQ(Items(page, 1240), kHdItems);
        EXPECT_EQ(Items(page, 1247),
                  (std::vector<std::string>{"UYVY", "YV12", "YUY2", "cyuv", "I420", "YVYU", "YUYV", "YUNV", "V422",
                                            "UYNY", "UYNV", "2vuy", "yuv2", "IYUV", "v210", "012v", "auv2",
                                            "a12v"}));
        EXPECT_EQ(SelectedText(page, 1237), "SMPTE 274M Standard");  // no "(Default)" in this list
        EXPECT_EQ(SelectedText(page, 1238), "CCIR 601 Extended (Y=0..1023)");
        EXPECT_EQ(SelectedText(page, 1239), "CCIR 601 Standard");
        EXPECT_EQ(SelectedText(page, 1240), "SMPTE 274M Standard (Default)");
        EXPECT_EQ(SelectedText(page, 1247), "UYVY");  // whatever the record proposes
        EXPECT_FALSE(Checked(page, 1241));
        EXPECT_TRUE(Checked(page, 1242));
        EXPECT_FALSE(Checked(page, 1243));
        EXPECT_FALSE(Checked(page, 1244));
        EXPECT_TRUE(Checked(page, 1245));
        EXPECT_FALSE(Checked(page, 1246));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDOK)));  // the hidden "Done"
        EXPECT_TRUE(ui_test::SaveWindowBitmap(sheet, ui_test::OutputPath("settings-general.bmp")));

        page = ShowPage(sheet, 1);
        EXPECT_EQ(Items(page, 1300),
                  (std::vector<std::string>{"Aja HD (Kona/22)", "DVS HDStationOEM", "Flowcard (F1/F2)"}));
        EXPECT_EQ(Items(page, 1301), (std::vector<std::string>{"VGA Playback", "DVS HDStationOEM"}));
        EXPECT_EQ(SelectedText(page, 1300), "Flowcard (F1/F2)");
        EXPECT_EQ(SelectedText(page, 1301), "DVS HDStationOEM");
        EXPECT_TRUE(Checked(page, 1303));
        EXPECT_FALSE(Checked(page, 1302));
        EXPECT_TRUE(Checked(page, 1304));
        EXPECT_FALSE(Checked(page, 1305));
        EXPECT_TRUE(Checked(page, 1306));
        Sleep(200);
        EXPECT_TRUE(ui_test::SaveWindowBitmap(sheet, ui_test::OutputPath("settings-advanced.bmp")));
        CloseSheet(sheet, Close::kCancel);
    });
    ASSERT_TRUE(found) << "ICConfigure showed no sheet";
}

// Changes every control of both pages to something else, then leaves.
void ChangeEverything(HWND sheet, Close how) {
    HWND page = CurrentPage(sheet);
    const int combos[] = {1237, 1238, 1239, 1240};
    for (int id : combos) Select(page, id, (int(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0)) + 1) % 6);
    Select(page, 1247, 14);
    for (int id = 1241; id <= 1246; ++id) Click(page, id);
    page = ShowPage(sheet, 1);
    Select(page, 1300, (int(SendDlgItemMessageA(page, 1300, CB_GETCURSEL, 0, 0)) + 1) % 3);
    Select(page, 1301, (int(SendDlgItemMessageA(page, 1301, CB_GETCURSEL, 0, 0)) + 1) % 2);
    for (int id = 1302; id <= 1306; ++id) Click(page, id);
    ShowPage(sheet, 0);  // the advanced page is stored into the copy on the way
    CloseSheet(sheet, how);
}

TEST_F(SettingsSheet, CancelAfterChangingEveryControlLeavesNoTrace) {
    State stored = kDefaults;
    stored[kEncMatrix] = 3;
    stored[kDecMatrixHd] = 2;
    stored[kFourccUsed] = std::int32_t(Fcc("YUY2"));
    stored[kTopFieldFirst] = 1;
    stored[kBoardAlignVesa] = 1;
    stored[kDisableTranscodeColor] = 1;
    for (Close how : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
        SCOPED_TRACE(int(how));
        WriteRegistry(stored);
        Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
        ASSERT_TRUE(hic);
        State before = GetState(hic.get());
        before[kSettingsAccepted] = 1;  // as after an earlier OK
        SetState(hic.get(), before);

        ASSERT_TRUE(Configure(hic.get(), host_, [how](HWND sheet) { ChangeEverything(sheet, how); }));

        // Nothing changed but the flag that tells how the sheet ended.
        State expected = before;
        expected[kSettingsAccepted] = 0;
        EXPECT_EQ(GetState(hic.get()), expected);
        EXPECT_EQ(ReadRegistry(), Persisted(stored));
    }
}

TEST_F(SettingsSheet, OkCommitsAndSavesAndKeepsTheAdvancedFieldsWhenThatPageWasNeverShown) {
    WriteRegistry(kDefaults);
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    State state = kDefaults;
    state[kBoardAlign720] = 1;
    state[kBoardAlignVesa] = 1;
    state[kDisableTranscode] = 1;
    state[kDisableTranscodeColor] = 1;
    state[kDisableTranscodeDirect] = 1;
    state[kUseSystemCodec] = 1;
    SetState(hic.get(), state);

    ASSERT_TRUE(Configure(hic.get(), host_, [](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Select(page, 1237, 3);
        Select(page, 1240, 0);
        Click(page, 1244);
        EXPECT_EQ(SendMessageA(sheet, PSM_INDEXTOHWND, 1, 0), 0) << "the advanced page was created";
        CloseSheet(sheet, Close::kOk);
    }));

    State expected = state;
    expected[kEncMatrix] = 3;
    expected[kDecMatrixHd] = 0;
    expected[kInvertInput] = 1;
    expected[kSettingsAccepted] = 1;
    EXPECT_EQ(GetState(hic.get()), expected);
    EXPECT_EQ(ReadRegistry(), Persisted(expected));
}

TEST_F(SettingsSheet, DefaultFourccAlwaysComesBackAsUyvyAt16Bits) {
    State stored = kDefaults;
    stored[kFourccUsed] = std::int32_t(Fcc("v210"));
    stored[kFourccBitcount] = 20;
    WriteRegistry(stored);
    // Opened as "V210": it reaches the driver but is none of its twenty
    // FourCCs, so the stored FourCC stands until the sheet replaces it.
    Compressor hic(ICTYPE_VIDEO, Fcc("V210"));
    ASSERT_TRUE(hic);
    State state = GetState(hic.get());
    ASSERT_EQ(state[kFourccUsed], std::int32_t(Fcc("v210")));

    // "YV12" chosen.
    ASSERT_TRUE(Configure(hic.get(), host_, [](HWND sheet) {
        Select(CurrentPage(sheet), 1247, 1);
        CloseSheet(sheet, Close::kOk);
    }));
    state = GetState(hic.get());
    EXPECT_EQ(FccText(DWORD(state[kFourccUsed])), "UYVY");
    EXPECT_EQ(state[kFourccBitcount], 16);
    EXPECT_EQ(ReadRegistry()["fourcc_used"], std::int32_t(Fcc("UYVY")));
    EXPECT_EQ(ReadRegistry()["fourcc_bitcount"], 16);

    // Another proposal restored by the host, and the sheet accepted from the
    // advanced page without touching anything.
    state[kFourccUsed] = std::int32_t(Fcc("auv2"));
    state[kFourccBitcount] = 32;
    SetState(hic.get(), state);
    std::string shown;
    ASSERT_TRUE(Configure(hic.get(), host_, [&shown](HWND sheet) {
        shown = SelectedText(CurrentPage(sheet), 1247);
        ShowPage(sheet, 1);
        CloseSheet(sheet, Close::kOk);
    }));
    EXPECT_EQ(shown, "UYVY");
    state = GetState(hic.get());
    EXPECT_EQ(FccText(DWORD(state[kFourccUsed])), "UYVY");
    EXPECT_EQ(state[kFourccBitcount], 16);
}

TEST_F(SettingsSheet, ProcessorBoxesMakeTheMaskOfLaterOpensInTheProcess) {
    WriteRegistry(kDefaults);
    // Kept open so that the driver stays loaded between the opens below.
    Compressor keeper(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(keeper);

    Compressor first(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(first);
    ASSERT_EQ(GetState(first.get())[kCpuDisableMask], 0);
    ASSERT_TRUE(Configure(first.get(), host_, [](HWND sheet) {
        Click(CurrentPage(sheet), 1242);  // "Disable SSE" alone
        CloseSheet(sheet, Close::kOk);
    }));
    EXPECT_EQ(GetState(first.get())[kCpuDisableMask], 2);

    Compressor second(ICTYPE_VIDEO, Fcc("YUY2"));
    ASSERT_TRUE(second);
    EXPECT_EQ(GetState(second.get())[kCpuDisableMask], 2);
    bool shown_checked = false;
    ASSERT_TRUE(Configure(second.get(), host_, [&shown_checked](HWND sheet) {
        HWND page = CurrentPage(sheet);
        shown_checked = Checked(page, 1242) && !Checked(page, 1241) && !Checked(page, 1243);
        Click(page, 1241);
        Click(page, 1243);
        CloseSheet(sheet, Close::kOk);
    }));
    EXPECT_TRUE(shown_checked);
    EXPECT_EQ(GetState(second.get())[kCpuDisableMask], 7);

    Compressor third(ICTYPE_VIDEO, Fcc("v210"));
    ASSERT_TRUE(third);
    EXPECT_EQ(GetState(third.get())[kCpuDisableMask], 7);
    EXPECT_EQ(GetState(first.get())[kCpuDisableMask], 2);  // instances keep their own
    EXPECT_EQ(ReadRegistry().count("cpu_disable_mask"), 0u);  // a setting of the process only
}

const std::map<int, std::string> kGeneralTips = {
    {1237, "Compression matrix for NTSC and PAL size frames"},
    {1238, "Decompression matrix for NTSC and PAL size frames"},
    {1239, "Compression matrix for HDTV, Film and Vesa size frames"},
    {1240, "Decompression matrix for HDTV, Film and Vesa size frames"},
    {1241, "Disable MMX based processing (slower)"},
    {1242, "Disable SSE (PIII) based processing (slower)"},
    {1243, "Disable SSE2 (P4) based processing (slower)"},
    {1244, "Vertically invert the incoming frame"},
    {1245, "Vertically invert the outgoing frame"},
    {1246, "Use the inverted field to start (interlaced only)"},
    {1247, "Default compression code if none specified"},
};
const std::map<int, std::string> kAdvancedTips = {
    {1300, "Special line alignment requirements for 1280x720"},
    {1301, "Special line alignment requirements for VESA raster"},
    {1302, "Disable all color space transcodes (e.g. CCIR601->SMPTE240M)"},
    {1303, "Disable all YCbCr to YCbCr transcodes"},
    {1304, "Disable 8 to 10 and 10 to 8 bit YCbCr transcodes"},
    {1305, "Disable direct transcodes (e.g. UYVY->YUY2)"},
    {1306, "If another codec is available for a fourcc, use it instead of Lumacore"},
};

TEST_F(SettingsSheet, EveryControlWithAStringHasItsTooltipAndNoOtherDoes) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    PageTips general, advanced;
    ASSERT_TRUE(Configure(hic.get(), host_, [&](HWND sheet) {
        general = TipsOf(CurrentPage(sheet));
        advanced = TipsOf(ShowPage(sheet, 1));
        CloseSheet(sheet, Close::kCancel);
    }));
    // Exactly the controls of the string table: no static, group box or
    // hidden button is among them.
    EXPECT_EQ(general.texts, kGeneralTips);
    EXPECT_EQ(advanced.texts, kAdvancedTips);
    EXPECT_TRUE(general.all_subclassed_windows);
    EXPECT_TRUE(advanced.all_subclassed_windows);
    // One tooltip control per page, gone with the sheet.
    ASSERT_EQ(general.tooltips.size(), 1u);
    ASSERT_EQ(advanced.tooltips.size(), 1u);
    EXPECT_NE(general.tooltips[0], advanced.tooltips[0]);
    EXPECT_FALSE(IsWindow(general.tooltips[0]));
    EXPECT_FALSE(IsWindow(advanced.tooltips[0]));
}

TEST_F(SettingsSheet, HiddenDoneButtonActsAsOkAndAPageCancelAsCancel) {
    WriteRegistry(kDefaults);
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);

    ASSERT_TRUE(Configure(hic.get(), host_, [](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Select(page, 1237, 2);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(page, IDOK)));
        EXPECT_TRUE(WaitUntilClosed(sheet)) << "Done did not close the sheet";
    }));
    State state = GetState(hic.get());
    EXPECT_EQ(state[kEncMatrix], 2);
    EXPECT_EQ(state[kSettingsAccepted], 1);
    EXPECT_EQ(ReadRegistry()["enc_matrix"], 2);

    ASSERT_TRUE(Configure(hic.get(), host_, [](HWND sheet) {
        HWND page = ShowPage(sheet, 1);
        Select(page, 1300, 1);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_TRUE(WaitUntilClosed(sheet)) << "a page's cancel did not close the sheet";
    }));
    State expected = state;
    expected[kSettingsAccepted] = 0;
    EXPECT_EQ(GetState(hic.get()), expected);
    EXPECT_EQ(ReadRegistry()["board_align_720"], 0);
}

}  // namespace

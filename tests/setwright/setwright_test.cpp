// setwright.exe under Wine, with the codec installed by its INF and a test
// codec beside it, worked from this process through its window. Every
// expectation about the codec list is worked out here from the VCM itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/setwright/setwright_driver.h"
#include "tests/setwright/test_support.h"
#include "tests/ui/window_capture.h"

using namespace setwright_test;

namespace {

constexpr char kDrivers32[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr char kTestCodecFile[] = "setwright-test-codec.dll";
constexpr const char* kTestCodes[] = {"Znam", "Znon", "Zful", "Zref"};
constexpr char kSheetCaption[] = "Orvane Y'CbCr Video Codec";
const std::string kRoot = "C:\\setwright-test";

std::string FccText(DWORD fcc) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[i] = char((fcc >> (8 * i)) & 0xFF);
    return s;
}

DWORD Fcc(const char* s) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

std::string Narrow(const WCHAR* w, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count && w[i]; ++i) s.push_back(char(w[i]));
    return s;
}

void SetDriver(const char* code, const char* file) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDrivers32, 0, KEY_SET_VALUE, &key) != 0) return;
    const std::string name = std::string("vidc.") + code;
    if (file) {
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(file), DWORD(strlen(file) + 1));
    } else {
        RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
}

// The test codec, installed for the whole program under its four codes.
class TestCodecInstall : public testing::Environment {
public:
    void SetUp() override {
        const std::string installed = SystemDirectory() + "\\" + kTestCodecFile;
        CopyFileA(EnvPath("LUMACORE_TEST_CODEC").c_str(), installed.c_str(), FALSE);
        for (const char* code : kTestCodes) SetDriver(code, kTestCodecFile);
    }
    void TearDown() override {
        for (const char* code : kTestCodes) SetDriver(code, nullptr);
        DeleteFileA((SystemDirectory() + "\\" + kTestCodecFile).c_str());
    }
};
[[maybe_unused]] const auto* const kInstall = testing::AddGlobalTestEnvironment(new TestCodecInstall);

// What the list must hold: every compressor the VCM enumerates that opens for
// compression, as its driver reports itself, with the code it is installed under.
struct Expected {
    std::vector<Item> items;
    std::vector<std::string> refused;
};

Expected ExpectedList() {
    Expected expected;
    ICINFO info{};
    info.dwSize = sizeof info;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        HIC hic = ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_COMPRESS);
        if (!hic) {
            expected.refused.push_back(FccText(info.fccHandler));
            continue;
        }
        ICINFO reported = info;
        ICGetInfo(hic, &reported, sizeof reported);
        expected.items.push_back(
            {FccText(reported.fccHandler) + " - " + Narrow(reported.szDescription, 128), info.fccHandler});
        ICClose(hic);
    }
    return expected;
}

int IndexOf(const std::vector<Item>& items, const char* code) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].data == Fcc(code)) return int(i);
    }
    return -1;
}

std::string Screenshot(const char* name) { return ui_test::OutputPath(name); }

class SetwrightWindow : public testing::Test {
protected:
    void SetUp() override {
        FreshFolder(kRoot);
        qt_log_ = kRoot + "\\quicktime.log";
        codec_log_ = kRoot + "\\codec.log";
        SetEnvironmentVariableA("LUMACORE_QT_LOG", qt_log_.c_str());
        SetEnvironmentVariableA("LUMACORE_TEST_CODEC_LOG", codec_log_.c_str());
        ResetQtKey();  // no QuickTime unless a test stages the stand-in
    }
    void TearDown() override {
        ResetQtKey();
        for (const char* code : kTestCodes) SetDriver(code, kTestCodecFile);
        SetEnvironmentVariableA("LUMACORE_QT_LOG", nullptr);
        SetEnvironmentVariableA("LUMACORE_TEST_CODEC_LOG", nullptr);
        RemoveTree(kRoot);
    }

    void StageQuickTime() {
        StageStandIn("full", kRoot + "\\QuickTime");
        SetQtValue("QTSysDir", kRoot + "\\QuickTime");
    }

    std::vector<std::string> QtCalls() const { return CallNames(ReadLines(qt_log_)); }

    std::string qt_log_;
    std::string codec_log_;
};

}  // namespace

TEST_F(SetwrightWindow, ListsWhatTheVcmOpensForCompressionInItsOrder) {
    const Expected expected = ExpectedList();
    Setwright app;
    ASSERT_TRUE(app.Start()) << "no Setwright window";

    EXPECT_EQ(ComboItems(app.type()), (std::vector<Item>{{"AVI - Audio Video Interleave", 3},
                                                         {"MOV - QuickTime Movie", 2}}));
    EXPECT_EQ(SendMessageA(app.type(), CB_GETCURSEL, 0, 0), 0);

    const std::vector<Item> items = ListItems(app.list());
    EXPECT_EQ(items, expected.items);
    EXPECT_EQ(SendMessageA(app.list(), LB_GETCURSEL, 0, 0), 0);

    // The codec under every code it is installed for, as it describes each.
    EXPECT_NE(std::find(items.begin(), items.end(), Item{"UYVY - OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]", Fcc("UYVY")}),
              items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), Item{"yuv2 - OV 8 Bit Y'CbCr 4:2:2 QT [yuv2]", Fcc("yuv2")}),
              items.end());
    for (const char* code : {"UYNV", "2vuy", "cyuv", "YUY2", "V422", "YVYU", "YV12", "I420", "v210", "auv2", "a12v"}) {
        EXPECT_GE(IndexOf(items, code), 0) << code;
    }
    // A compressor that will not open for compression is enumerated but left out.
    EXPECT_NE(std::find(expected.refused.begin(), expected.refused.end(), "Zref"), expected.refused.end());
    EXPECT_EQ(IndexOf(items, "Zref"), -1);
    // A description that fills its whole array is read within it.
    const int full = IndexOf(items, "Zful");
    ASSERT_GE(full, 0);
    EXPECT_EQ(items[full].text.size(), 7u + 128u);

    EXPECT_TRUE(ui_test::SaveWindowBitmap(app.window(), Screenshot("setwright.bmp")));
}

TEST_F(SetwrightWindow, SelectingAnEntryShowsItsDescription) {
    Setwright app;
    ASSERT_TRUE(app.Start());
    const std::vector<Item> items = ListItems(app.list());
    struct Case {
        const char* code;
        std::string shown;
    };
    std::string letters;
    for (int i = 0; i < 128; ++i) letters.push_back(char('A' + i % 26));
    const Case cases[] = {
        {"UYVY", "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]"},
        {"Znam", "Name only codec"},  // no description: the short name
        {"Znon", ""},                 // neither
        {"Zful", letters},
        {"v210", "OV 10 Bit Y'CbCr 4:2:2 [v210]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const int index = IndexOf(items, c.code);
        ASSERT_GE(index, 0);
        app.Click(index);
        WaitUntil([&] { return app.Description() == c.shown; });
        EXPECT_EQ(app.Description(), c.shown);
        EXPECT_EQ(SendMessageA(app.list(), LB_GETCURSEL, 0, 0), index);
    }

    // A codec that is gone since the list was filled.
    const int gone = IndexOf(items, "Znam");
    SetDriver("Znam", nullptr);
    app.Click(gone);
    WaitUntil([&] { return app.Description() == "Codec description not available."; });
    EXPECT_EQ(app.Description(), "Codec description not available.");
    app.DoubleClick(gone);
    const char* no_dialog = "Video compression driver does not support a configuration dialog box.";
    WaitUntil([&] { return app.Description() == no_dialog; });
    EXPECT_EQ(app.Description(), no_dialog);
    EXPECT_TRUE(ReadLines(codec_log_).empty());
}

TEST_F(SetwrightWindow, DoubleClickAsksTheCodecToConfigureOnSetwrightsWindow) {
    Setwright app;
    ASSERT_TRUE(app.Start());
    const int index = IndexOf(ListItems(app.list()), "Znon");
    ASSERT_GE(index, 0);
    app.DoubleClick(index);
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(codec_log_).empty(); })) << "the codec was not asked to configure";
    ASSERT_TRUE(app.Responsive());
    char expected[96];
    std::snprintf(expected, sizeof expected, "configure Znon window=%llx second=0",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(app.window())));
    // One request, for the dialog itself: the codec is not asked first
    // whether it has one.
    EXPECT_EQ(ReadLines(codec_log_), std::vector<std::string>{expected});
}

TEST_F(SetwrightWindow, DoubleClickOnTheCodecOpensItsPropertySheetOwnedBySetwright) {
    Setwright app;
    ASSERT_TRUE(app.Start());
    const int index = IndexOf(ListItems(app.list()), "UYVY");
    ASSERT_GE(index, 0);
    app.DoubleClick(index);
    HWND sheet = WaitForProcessWindow(app.pid(), kSheetCaption, 20000);
    ASSERT_NE(sheet, nullptr) << "no property sheet";
    EXPECT_EQ(GetWindow(sheet, GW_OWNER), app.window());
    EXPECT_FALSE(IsWindowEnabled(app.window())) << "the sheet is modal to Setwright's window";
    EXPECT_TRUE(ui_test::SaveWindowBitmap(sheet, Screenshot("setwright-property-sheet.bmp")));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.window()) != FALSE; }));
    EXPECT_TRUE(app.Responsive());
}

TEST_F(SetwrightWindow, MovTypeListsAllQuickTimeTypesAsOneEntry) {
    Setwright app;  // no QuickTime here
    ASSERT_TRUE(app.Start());
    const std::vector<Item> vfw = ListItems(app.list());

    app.NextType();
    ASSERT_TRUE(WaitUntil([&] { return ListItems(app.list()) == std::vector<Item>{{"All Types", 0}}; }))
        << ListItems(app.list()).size() << " entries";
    EXPECT_EQ(SendMessageA(app.type(), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(app.list(), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(app.Description(), "Double click to modify all QuickTime codecs.");

    // Without QuickTime a double click does nothing visible.
    const std::size_t windows = ProcessWindows(app.pid()).size();
    app.DoubleClick(0);
    Sleep(500);
    EXPECT_TRUE(app.Responsive());
    EXPECT_EQ(ProcessWindows(app.pid()).size(), windows);
    EXPECT_EQ(app.Description(), "Double click to modify all QuickTime codecs.");

    app.PreviousType();
    ASSERT_TRUE(WaitUntil([&] { return ListItems(app.list()).size() == vfw.size(); }));
    EXPECT_EQ(ListItems(app.list()), vfw);
    EXPECT_EQ(app.Description(), vfw.front().text.substr(7));  // "XXXX - " and the description
}

TEST_F(SetwrightWindow, QuickTimeIsInitialisedUsedAndShutDown) {
    StageQuickTime();
    Setwright app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitUntil([&] { return QtCalls().size() >= 2; }));
    const std::vector<std::string> start = ReadLines(qt_log_);
    EXPECT_EQ(CallNames(start), (std::vector<std::string>{"InitializeQTML", "EnterMovies"}));
    EXPECT_NE(start[0].find("flags=0 mutex=held"), std::string::npos) << start[0];

    app.NextType();
    ASSERT_TRUE(WaitUntil([&] { return ListItems(app.list()).size() == 1; }));
    app.DoubleClick(0);
    ASSERT_TRUE(WaitUntil([&] { return QtCalls().size() >= 4; })) << "the double click reached no QuickTime routine";
    const std::vector<std::string> used = ReadLines(qt_log_);
    ASSERT_EQ(used.size(), 4u);
    EXPECT_EQ(used[2], "00010021 OpenDefaultComponent type=scdi subtype=imag");
    EXPECT_EQ(used[3], "00010000 CallComponent instance=scdi flags=0 paramSize=0 what=10");

    // The close box: QuickTime is shut down and the program ends.
    PostMessageA(app.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(app.WaitForExit(15000), 0);
    const std::vector<std::string> lines = ReadLines(qt_log_);
    EXPECT_EQ(CallNames(lines), (std::vector<std::string>{"InitializeQTML", "EnterMovies", "OpenDefaultComponent",
                                                           "CallComponent", "ExitMovies", "TerminateQTML"}));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[5].find("mutex=held"), std::string::npos) << lines[5];
}

TEST_F(SetwrightWindow, SystemMenuOpensTheAboutBox) {
    Setwright app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.ChooseLastSystemMenuItem()) << "no system menu";
    HWND about = WaitForProcessWindow(app.pid(), "About Setwright", 15000);
    ASSERT_NE(about, nullptr) << "no About box from the system menu";
    EXPECT_EQ(GetWindow(about, GW_OWNER), app.window());

    std::vector<std::string> texts;
    bool icon = false;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(WindowText(child));
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
        }
    }
    EXPECT_TRUE(icon) << "no application icon";
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Setwright Version 1.0"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "(C) Orvane Technologies Ltd"), texts.end());
    EXPECT_TRUE(ui_test::SaveWindowBitmap(about, Screenshot("setwright-about.bmp")));

    PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(app.Responsive());
}

TEST_F(SetwrightWindow, EscapeEndsSetwrightWithoutTheCloseHandler) {
    StageQuickTime();
    Setwright app;
    ASSERT_TRUE(app.Start());
    PostMessageA(app.list(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(app.WaitForExit(15000), 0);
    // Esc is the dialog's Cancel, which does not pass through the close handler.
    EXPECT_EQ(QtCalls(), (std::vector<std::string>{"InitializeQTML", "EnterMovies"}));
}

// Setwright under Wine: its QuickTime access in this process against the
// stand-in library, and setwright.exe itself, worked through its window,
// with the codec installed by its INF and a test codec beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/ui/window_capture.h"
#include "tests/wine/vcm_fixture.h"
#include "utility/quicktime/qt_binding.h"
#include "utility/quicktime/qt_paths.h"
#include "utility/quicktime/quicktime.h"

using namespace quicktime;
using namespace ui_test;
using vcm_test::FccOf;

namespace {

namespace fs = std::filesystem;
const std::string kRoot = "C:\\setwright-test";
constexpr char kQtKey[] = "Software\\Apple Computer, Inc.\\QuickTime";
constexpr char kDrivers32[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr char kCodecFile[] = "setwright-test-codec.dll";

std::string Lower(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A path the build passed in the environment, or the system directory.
std::string Path(const char* variable = nullptr) {
    char value[MAX_PATH] = {};
    variable ? GetEnvironmentVariableA(variable, value, MAX_PATH) : GetSystemDirectoryA(value, MAX_PATH);
    std::string path = value;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Copies a build of the stand-in ("full", or lacking an entry point) into `folder`.
std::string StageStandIn(const std::string& folder, const char* variant = "full") {
    fs::create_directories(folder);
    const std::string from = Path("LUMACORE_QT_STANDIN_DIR") + "\\qt-" + variant + "\\QuickTime.qts";
    CopyFileA(from.c_str(), (folder + "\\QuickTime.qts").c_str(), FALSE);
    return folder + "\\QuickTime.qts";
}

void SetRegistryText(const char* key_name, const std::string& name, const char* value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_name, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) return;
    if (value) RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    else RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}
void SetQtValue(const char* name, const std::string& value) { SetRegistryText(kQtKey, name, value.c_str()); }
void SetDriver(const char* code, const char* file) { SetRegistryText(kDrivers32, std::string("vidc.") + code, file); }

// The QuickTime key: the test prefix has no QuickTime of its own.
void ResetQtKey() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kQtKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Apple Computer, Inc.");
}

// Each test with a fresh folder and log, no QuickTime, and the test codec installed.
class Setwright : public testing::Test {
protected:
    void SetUp() override {
        TearDown();
        fs::create_directories(kRoot);
        SetEnvironmentVariableA("LUMACORE_QT_LOG", log_.c_str());
        CopyFileA(Path("LUMACORE_TEST_CODEC").c_str(), (Path() + "\\" + kCodecFile).c_str(), FALSE);
        for (const char* code : {"Znam", "Zful", "Zref"}) SetDriver(code, kCodecFile);
    }
    void TearDown() override {
        for (int i = 0; i < 8 && QtIsBound(); ++i) QtTerm();  // what a failed test left initialised
        for (const char* code : {"Znam", "Zful", "Zref"}) SetDriver(code, nullptr);
        DeleteFileA((Path() + "\\" + kCodecFile).c_str());
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", nullptr);
        ResetQtKey();
        fs::remove_all(kRoot);
    }

    // The stand-in's calls, without the file it was loaded from; that goes to `module`.
    std::vector<std::string> Calls(std::string* module = nullptr) const {
        std::vector<std::string> calls;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) {
            const std::size_t at = line.find(" module=");
            if (module && at != std::string::npos) *module = Lower(line.substr(at + 8));
            calls.push_back(line.substr(0, at));
        }
        return calls;
    }

    const std::string log_ = kRoot + "\\quicktime.log";
};

void ExpectUnbound() {
    EXPECT_EQ(EnterMovies(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(TerminateQTML(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(OpenDefaultComponent(kStandardCompressionType, kStandardCompressionSubTypeImage), nullptr);
    EXPECT_EQ(GetModuleHandleA("QuickTime.qts"), nullptr);
}

}  // namespace

TEST_F(Setwright, QuickTimeLibraryIsLoadedFromWhereTheLookupLeads) {
    const std::string sys = Path(), a = kRoot + "\\a", b = kRoot + "\\b";
    // With its separator and QuickTime.qts after it, the longest folder that fits.
    const std::string longest = kRoot + "\\" + std::string(245 - kRoot.size() - 1, 'd');
    const std::vector<std::pair<const char*, std::string>> in_a = {{"QTSysDir", a}};
    const struct {
        std::vector<std::string> staged;
        std::vector<std::pair<const char*, std::string>> values;
        OSErr result;
        std::string from;  // the library's folder when it loads
        const char* variant = "full";
        const char* init_result = nullptr;
    } cases[] = {
        {{a, b}, {{"QTSysDir", a}, {"QuickTime.qts folder", b}}, 0, a},
        {{b}, {{"QTSysDir", a}, {"QuickTime.qts folder", b + "\\"}}, 0, b},  // no folder a
        {{sys}, {{"QTSysDir", a}, {"QuickTime.qts folder", b}}, 0, sys},
        {{sys + "\\QuickTime"}, {}, 0, sys + "\\QuickTime"},
        {{b}, {{"QTSysDir", kRoot}, {"QTExtDir", b}}, 0, b},            // a folder without the library
        {{a}, {{"QTSysDir", "C:/setwright-test/a/"}}, 0, a},
        {{kRoot + "\\QuickTime"}, {{"QTSysDir", kRoot}}, QT_ERR_LOAD_FAILED, ""},  // that subfolder is the system's
        {{longest}, {{"QTSysDir", longest}}, 0, longest},
        {{longest + "d", b}, {{"QTSysDir", longest + "d"}, {"QuickTime.qts folder", b}}, 0, b},
        {{a}, in_a, QT_ERR_ENTRY_MISSING, "", "no-dispatcher"},
        {{a}, in_a, QT_ERR_ENTRY_MISSING, "", "no-call-component"},
        {{a}, in_a, QT_ERR_ENTRY_MISSING, "", "no-call-with-storage"},
        {{a}, in_a, -50, a, "full", "-50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.staged.back() + " " + c.variant);
        ResetQtKey();
        fs::remove_all(kRoot);
        fs::create_directories(kRoot);
        for (const std::string& folder : c.staged) StageStandIn(folder, c.variant);
        for (const auto& [name, value] : c.values) SetQtValue(name, value);
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", c.init_result);
        EXPECT_EQ(QtInit(0), c.result);
        QtTerm();  // terminates only what was initialised
        ExpectUnbound();
        std::string module;
        const std::vector<std::string> calls = Calls(&module);
        EXPECT_EQ(module, c.from.empty() ? "" : Lower(c.from + "\\QuickTime.qts"));
        EXPECT_EQ(calls.size(), c.result == 0 ? 2u : c.init_result ? 1u : 0u);
        DeleteFileA((sys + "\\QuickTime.qts").c_str());
        fs::remove_all(sys + "\\QuickTime");
    }

    // Read directly, a folder either fits with its separator or is not
    // found; nothing is written past the size given.
    SetQtValue("QTSysDir", "C:\\abcdef");
    for (const auto& [size, expected] : std::vector<std::pair<std::size_t, std::string>>{
             {11, "C:\\abcdef\\"}, {10, ""}, {9, ""}}) {
        char buffer[16];
        std::fill(buffer, buffer + 16, 'x');
        EXPECT_EQ(std::string(buffer, ReadQtRegistryPath("QTSysDir", buffer, size)), expected);
        EXPECT_EQ(std::string(buffer + size, buffer + 16), std::string(16 - size, 'x'));
    }
}

TEST_F(Setwright, QuickTimeInitialisationIsCountedAndTheLibraryAlreadyLoadedIsUsed) {
    QtTerm();  // without a QtInit: counts nothing down
    const std::string mine = StageStandIn(kRoot + "\\mine");
    StageStandIn(kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");
    HMODULE own = LoadLibraryA(mine.c_str());
    ASSERT_EQ(QtInit(5), 0);
    ASSERT_EQ(QtInit(0), 0);
    EXPECT_EQ(EnterMovies(), 0);
    QtTerm();  // one user left
    EXPECT_EQ(ExitMovies(), 0);
    QtTerm();
    // Only QuickTime access's own reference is given back.
    EXPECT_EQ(EnterMovies(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(GetModuleHandleA("QuickTime.qts"), own);
    FreeLibrary(own);
    ExpectUnbound();
    std::string module;
    EXPECT_EQ(Calls(&module), (std::vector<std::string>{"InitializeQTML flags=5 mutex=held", "EnterMovies",
                                                         "ExitMovies", "TerminateQTML mutex=held"}));
    EXPECT_EQ(module, Lower(mine));
}

// One run of setwright.exe, worked with messages to its controls and closed
// at the end if it is still running.
class App {
public:
    App() {
        std::string program = Path("LUMACORE_SETWRIGHT"), command = '"' + program + '"';
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info_))
            window = WaitForWindow(info_.dwProcessId, "Double click list to configure", 30000);
    }
    ~App() {
        for (HWND w : Windows(pid())) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        if (WaitForExit(10000) == -1) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    DWORD pid() const { return info_.dwProcessId; }
    HWND list() const { return GetDlgItem(window, 1000); }
    std::string Description() const { return WindowText(GetDlgItem(window, 1002)); }

    // The list entries: text and the code each stands for. Wine hands texts
    // across processes in UTF-16.
    std::vector<std::pair<std::string, DWORD>> Entries() const {
        std::vector<std::pair<std::string, DWORD>> entries;
        for (WPARAM i = 0, n = SendMessageW(list(), LB_GETCOUNT, 0, 0); i < n; ++i) {
            // An entry gone while it is read (the list is being refilled) reads as "".
            std::wstring text(std::max<LRESULT>(SendMessageW(list(), LB_GETTEXTLEN, i, 0), 0) + 1, L'\0');
            text.resize(std::clamp<LRESULT>(SendMessageW(list(), LB_GETTEXT, i, LPARAM(text.data())), 0, text.size()));
            entries.push_back({std::string(text.begin(), text.end()), DWORD(SendMessageW(list(), LB_GETITEMDATA, i, 0))});
        }
        return entries;
    }
    // Selects (or double-clicks) an entry of the list, or a type of the other.
    void Pick(int index, WORD what = LBN_SELCHANGE, int id = 1000) const {
        SendDlgItemMessageA(window, id, id == 1000 ? LB_SETCURSEL : CB_SETCURSEL, WPARAM(index), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, what), LPARAM(GetDlgItem(window, id)));
    }
    long WaitForExit(DWORD timeout_ms) const {
        DWORD code = 0;
        if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(info_.hProcess, &code);
        return long(code);
    }

    HWND window = nullptr;

private:
    PROCESS_INFORMATION info_{};
};

TEST_F(Setwright, ListsWhatTheVcmOpensForCompressionAndDescribesTheSelectedEntry) {
    // Every compressor the VCM enumerates that opens for compression, as its
    // driver reports itself, read within its array, under its installed code.
    std::vector<std::pair<std::string, DWORD>> expected;
    ICINFO info{};
    info.dwSize = sizeof info;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        if (vcm_test::Compressor hic(ICTYPE_VIDEO, info.fccHandler, ICMODE_COMPRESS); hic) {
            ICINFO reported = info;
            ICGetInfo(hic.get(), &reported, sizeof reported);
            const WCHAR* d = reported.szDescription;
            expected.push_back({vcm_test::FccText(reported.fccHandler) + " - " +
                                    std::string(d, std::find(d, d + 128, L'\0')), info.fccHandler});
        }
    }
    EXPECT_TRUE(ICInfo(ICTYPE_VIDEO, FccOf("Zref"), &info)) << "the refusing codec is installed, yet left out";
    App app;
    ASSERT_NE(app.window, nullptr);
    const auto entries = app.Entries();
    EXPECT_EQ(entries, expected);
    EXPECT_NE(std::find(entries.begin(), entries.end(),
                        std::pair<std::string, DWORD>{"UYVY - OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]", FccOf("UYVY")}),
              entries.end());
    EXPECT_TRUE(SaveWindowBitmap(app.window, "setwright.bmp"));

    std::string letters;
    for (int i = 0; i < 128; ++i) letters.push_back(char('A' + i % 26));
    const struct {
        const char* code;
        bool removed;  // uninstalled since the list was filled
        WORD what;
        std::string shown;
    } cases[] = {
        {"UYVY", false, LBN_SELCHANGE, "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]"},
        {"Znam", false, LBN_SELCHANGE, "Name only codec"},
        {"Zful", false, LBN_SELCHANGE, letters},
        {"Znam", true, LBN_SELCHANGE, "Codec description not available."},
        {"Znam", true, LBN_DBLCLK, "Video compression driver does not support a configuration dialog box."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const auto at = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e.second == FccOf(c.code); });
        ASSERT_NE(at, entries.end());
        if (c.removed) SetDriver(c.code, nullptr);
        app.Pick(int(at - entries.begin()), c.what);
        WaitUntil([&] { return app.Description() == c.shown; }, 5000);
        EXPECT_EQ(app.Description(), c.shown);
    }
}

TEST_F(Setwright, OpensTheCodecsSheetAndItsAboutBoxOwnedByItsWindow) {
    App app;
    ASSERT_NE(app.window, nullptr);
    const auto entries = app.Entries();
    const auto uyvy = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.second == FccOf("UYVY"); });
    const struct {
        const char* caption;
        std::function<void()> open;
    } cases[] = {
        {"Orvane Y'CbCr Video Codec", [&] { app.Pick(int(uyvy - entries.begin()), LBN_DBLCLK); }},
        // Alt+Space, then Up round to the last item of the system menu, and Enter.
        {"About Setwright", [&] {
             PostMessageA(app.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
             WaitUntil([&] { return Windows(app.pid()).size() > 1; });  // keys before the menu is up are lost
             Sleep(300);
             PostMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
             Sleep(300);
             PostMessageA(app.window, WM_KEYDOWN, VK_RETURN, 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        c.open();
        HWND dialog = WaitForWindow(app.pid(), c.caption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), app.window);
        EXPECT_FALSE(IsWindowEnabled(app.window)) << "not modal";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(app.window); }));
    }
}

TEST_F(Setwright, MovTypeConfiguresQuickTimeThroughOneEntry) {
    const std::vector<std::string> kStarted = {"InitializeQTML flags=0 mutex=held", "EnterMovies"};
    std::vector<std::string> used = kStarted;
    used.insert(used.end(), {"OpenDefaultComponent type=scdi subtype=imag", "CallComponent instance=scdi what=10",
                             "ExitMovies", "TerminateQTML mutex=held"});
    const struct {
        const char* what;
        bool quicktime;
        // Else the entry is double-clicked and the program closed through its
        // close handler; Escape is the dialog's Cancel, which does not pass it.
        bool escape;
        std::vector<std::string> calls;
    } cases[] = {{"with QuickTime", true, false, used},
                 {"closed with Escape", true, true, kStarted},
                 {"without QuickTime", false, false, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(log_.c_str());
        ResetQtKey();
        if (c.quicktime) SetQtValue("QTSysDir", StageStandIn(kRoot).substr(0, kRoot.size()));
        App app;
        ASSERT_NE(app.window, nullptr);
        app.Pick(1, CBN_SELCHANGE, 1001);
        using Entries = std::vector<std::pair<std::string, DWORD>>;
        EXPECT_TRUE(WaitUntil([&] { return app.Entries() == Entries{{"All Types", 0}}; }));
        EXPECT_EQ(app.Description(), "Double click to modify all QuickTime codecs.");
        if (!c.escape) app.Pick(0, LBN_DBLCLK);
        Sleep(500);
        EXPECT_EQ(Windows(app.pid()).size(), 1u);  // nothing shown, nothing left hanging
        if (c.escape) PostMessageA(app.list(), WM_KEYDOWN, VK_ESCAPE, 0);
        else PostMessageA(app.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(app.WaitForExit(15000), 0);
        EXPECT_EQ(Calls(), c.calls);
    }
}

// Setwright under Wine: its QuickTime access in this process against the
// stand-in library, and setwright.exe itself worked through its window, with
// the codec installed by its INF and a test codec beside it.
#include <gtest/gtest.h>

#include <algorithm>
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
using vcm_test::Fcc;
using Lines = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, DWORD>>;

namespace {

namespace fs = std::filesystem;
const std::string kRoot = "C:\\setwright-test", kLog = kRoot + "\\quicktime.log";
constexpr char kQtKey[] = "Software\\Apple Computer, Inc.\\QuickTime";
constexpr char kCodecFile[] = "setwright-test-codec.dll";

// A path with backslashes only; in lower case too, as paths are compared.
std::string Native(std::string path, bool lower = false) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return lower ? CharLowerA(path.data()), path : path;
}

// A path the build passed in the environment, or the system directory.
std::string Path(const char* variable = nullptr) {
    char value[MAX_PATH] = {};
    variable ? GetEnvironmentVariableA(variable, value, MAX_PATH) : GetSystemDirectoryA(value, MAX_PATH);
    return Native(value);
}

// Copies a build of the stand-in ("full", or lacking an entry point) into `folder`.
std::string StageStandIn(const std::string& folder, const char* variant = "full") {
    fs::create_directories(folder);
    const std::string from = Path("LUMACORE_QT_STANDIN_DIR") + "\\qt-" + variant + "\\QuickTime.qts";
    CopyFileA(from.c_str(), (folder + "\\QuickTime.qts").c_str(), FALSE);
    return folder;
}

// A text value under HKEY_LOCAL_MACHINE, removed when `value` is null.
void SetText(const char* key, const std::string& name, const char* value) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr)) return;
    value ? RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1)
          : RegDeleteValueA(k, name.c_str());
    RegCloseKey(k);
}
void SetDriver(const char* code, const char* file) {
    SetText("Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32", std::string("vidc.") + code, file);
}

// The stand-in's calls, without the file it was loaded from; that goes to `module`.
Lines Calls(std::string* module = nullptr) {
    Lines calls;
    std::ifstream in(kLog);
    for (std::string line; std::getline(in, line);) {
        const std::size_t at = line.find(" module=");
        if (module && at != std::string::npos) *module = Native(line.substr(at + 8), true);
        calls.push_back(line.substr(0, at));
    }
    return calls;
}

// Each test with a fresh folder and log, no QuickTime (the test prefix has
// none of its own), and the test codec installed.
class Setwright : public testing::Test {
protected:
    void SetUp() override {
        TearDown();
        fs::create_directories(kRoot);
        SetEnvironmentVariableA("LUMACORE_QT_LOG", kLog.c_str());
        CopyFileA(Path("LUMACORE_TEST_CODEC").c_str(), (Path() + "\\" + kCodecFile).c_str(), FALSE);
        for (const char* code : {"Znam", "Zful", "Zref"}) SetDriver(code, kCodecFile);
    }
    void TearDown() override {
        for (int i = 0; i < 8 && QtIsBound(); ++i) QtTerm();  // what a failed test left initialised
        for (const char* code : {"Znam", "Zful", "Zref"}) SetDriver(code, nullptr);
        DeleteFileA((Path() + "\\" + kCodecFile).c_str());
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Apple Computer, Inc.");
        fs::remove_all(kRoot);
        DeleteFileA((Path() + "\\QuickTime.qts").c_str());
        fs::remove_all(Path() + "\\QuickTime");
    }
};

}  // namespace

// Where the library is looked for, the counted initialisation and
// termination, and what is left when either fails.
TEST_F(Setwright, QuickTimeIsLoadedFromWhereTheLookupLeadsAndCounted) {
    const std::string sys = Path(), a = kRoot + "\\a", b = kRoot + "\\b";
    // With its separator and QuickTime.qts after it, the longest folder that fits.
    const std::string longest = kRoot + "\\" + std::string(245 - kRoot.size() - 1, 'd');
    const struct {
        std::vector<std::string> staged;
        std::string sys_dir, qts_folder, ext_dir;  // the registry values, when set
        OSErr result;
        std::string from;  // the library's folder when it was loaded
        const char* variant = "full";
        const char* init_result = nullptr;
        bool preloaded = false;  // the first folder's library loaded beforehand
    } cases[] = {
        {{a, b}, a, b, "", 0, a},
        {{b}, a, b + "\\", "", 0, b},  // no folder a
        {{sys}, a, b, "", 0, sys},
        {{sys + "\\QuickTime"}, "", "", "", 0, sys + "\\QuickTime"},
        {{b}, kRoot, "", b, 0, b},  // a folder without the library
        {{a}, "C:/setwright-test/a/", "", "", 0, a},
        {{kRoot + "\\QuickTime"}, kRoot, "", "", QT_ERR_LOAD_FAILED, ""},  // only the system's subfolder
        {{longest}, longest, "", "", 0, longest},
        {{longest + "d", b}, longest + "d", b, "", 0, b},
        {{a}, a, "", "", QT_ERR_ENTRY_MISSING, "", "no-dispatcher"},
        {{a}, a, "", "", QT_ERR_ENTRY_MISSING, "", "no-call-component"},
        {{a}, a, "", "", QT_ERR_ENTRY_MISSING, "", "no-call-with-storage"},
        {{a}, a, "", "", -50, a, "full", "-50"},
        {{a, b}, b, "", "", 0, a, "full", nullptr, true},  // and the registry is not read
    };
    const Lines all = {"InitializeQTML flags=5 mutex=held", "EnterMovies", "TerminateQTML mutex=held"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.staged.back() + " " + c.variant);
        SetUp();
        for (const std::string& folder : c.staged) StageStandIn(folder, c.variant);
        for (const auto& [name, value] :
             {std::pair{"QTSysDir", c.sys_dir}, {"QuickTime.qts folder", c.qts_folder}, {"QTExtDir", c.ext_dir}})
            if (!value.empty()) SetText(kQtKey, name, value.c_str());
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", c.init_result);
        HMODULE own = c.preloaded ? LoadLibraryA((a + "\\QuickTime.qts").c_str()) : nullptr;
        QtTerm();  // without a QtInit: counts nothing down
        EXPECT_EQ(QtInit(5), c.result);
        if (c.result == 0) {  // counted: bound until the last QtTerm
            EXPECT_EQ(QtInit(0), 0);
            QtTerm();
            EXPECT_EQ(EnterMovies(), 0);
        }
        QtTerm();  // terminates only what was initialised
        EXPECT_EQ(GetModuleHandleA("QuickTime.qts"), own);  // only QuickTime access's own reference is given back
        if (own) FreeLibrary(own);
        EXPECT_EQ(EnterMovies(), QT_ERR_NOT_BOUND);
        EXPECT_EQ(OpenDefaultComponent(kStandardCompressionType, kStandardCompressionSubTypeImage), nullptr);
        std::string module;
        EXPECT_EQ(Calls(&module), c.result == 0 ? all : c.init_result ? Lines{all[0]} : Lines{});
        EXPECT_EQ(module, c.from.empty() ? "" : Native(c.from + "\\QuickTime.qts", true));
    }

    // Read directly, a folder either fits with its separator or is not
    // found; nothing is written past the size given.
    SetText(kQtKey, "QTSysDir", "C:\\abcdef");
    for (const auto& [size, expected] : {std::pair<std::size_t, std::string>{11, "C:\\abcdef\\"}, {10, ""}, {9, ""}}) {
        char buffer[16] = "xxxxxxxxxxxxxxx";
        EXPECT_EQ(std::string(buffer, ReadQtRegistryPath("QTSysDir", buffer, size)), expected);
        EXPECT_EQ(std::string(buffer + size, buffer + 15), std::string(15 - size, 'x'));
    }
}

// One run of setwright.exe, worked with messages to its controls; closed at
// the end if it is still running.
struct App {
    App() {
        std::string program = Path("LUMACORE_SETWRIGHT"), command = '"' + program + '"';
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, 0, 0, nullptr, nullptr, &startup, &info))
            window = WaitForWindow(info.dwProcessId, "Double click list to configure", 30000);
    }
    ~App() {
        for (HWND w : Windows(info.dwProcessId)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        if (WaitForSingleObject(info.hProcess, 10000)) TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    HWND list() const { return GetDlgItem(window, 1000); }
    std::string Description() const { return WindowText(GetDlgItem(window, 1002)); }

    // The list: each entry's text, read in UTF-16 as Wine hands it across
    // processes ("" for one that went while it was read), and its code.
    Entries Read() const {
        Entries entries;
        for (WPARAM i = 0, n = SendMessageW(list(), LB_GETCOUNT, 0, 0); i < n; ++i) {
            wchar_t text[1024] = {};  // far more than an entry of a code and a description
            const LRESULT length = std::max<LRESULT>(SendMessageW(list(), LB_GETTEXT, i, LPARAM(text)), 0);
            entries.push_back({std::string(text, text + length), DWORD(SendMessageW(list(), LB_GETITEMDATA, i, 0))});
        }
        return entries;
    }
    int IndexOf(const char* code) const {
        const Entries e = Read();
        return int(std::find_if(e.begin(), e.end(), [&](auto& x) { return x.second == Fcc(code); }) - e.begin());
    }
    // Selects (or double-clicks) an entry of the list, or a type of the other.
    void Pick(int index, WORD what = LBN_SELCHANGE, int id = 1000) const {
        SendDlgItemMessageA(window, id, id == 1000 ? LB_SETCURSEL : CB_SETCURSEL, WPARAM(index), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, what), LPARAM(GetDlgItem(window, id)));
    }

    PROCESS_INFORMATION info{};
    HWND window = nullptr;
};

TEST_F(Setwright, ListsWhatTheVcmOpensForCompressionAndDescribesTheSelectedEntry) {
    // Every compressor the VCM enumerates that opens for compression, as its
    // driver reports itself, read within its array, under its installed code.
    Entries expected;
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
    EXPECT_TRUE(ICInfo(ICTYPE_VIDEO, Fcc("Zref"), &info)) << "the codec that will not compress is left out";
    App app;
    ASSERT_NE(app.window, nullptr);
    EXPECT_EQ(app.Read(), expected);

    std::string letters;
    for (int i = 0; i < 128; ++i) letters.push_back(char('A' + i % 26));
    // An entry selected or double-clicked, its codec perhaps uninstalled since the list was filled.
    const struct { const char* code; bool removed; WORD what; std::string shown; } cases[] = {
        {"UYVY", false, LBN_SELCHANGE, "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]"},
        {"Znam", false, LBN_SELCHANGE, "Name only codec"},
        {"Zful", false, LBN_SELCHANGE, letters},
        {"Znam", true, LBN_SELCHANGE, "Codec description not available."},
        {"Znam", true, LBN_DBLCLK, "Video compression driver does not support a configuration dialog box."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        if (c.removed) SetDriver(c.code, nullptr);
        app.Pick(app.IndexOf(c.code), c.what);
        WaitUntil([&] { return app.Description() == c.shown; }, 5000);
        EXPECT_EQ(app.Description(), c.shown);
    }
}

TEST_F(Setwright, OpensTheCodecsSheetAndItsAboutBoxOwnedByItsWindow) {
    App app;
    ASSERT_NE(app.window, nullptr);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Orvane Y'CbCr Video Codec", [&] { app.Pick(app.IndexOf("UYVY"), LBN_DBLCLK); }},
        // Alt+Space, then Up round to the last item of the system menu, and Enter.
        {"About Setwright", [&] {
             PostMessageA(app.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
             WaitUntil([&] { return Windows(app.info.dwProcessId).size() > 1; });  // keys sent earlier are lost
             for (WPARAM key : {VK_UP, VK_RETURN}) {
                 Sleep(300);
                 PostMessageA(app.window, WM_KEYDOWN, key, 0);
             }
         }},
    };
    for (const auto& [caption, open] : cases) {
        SCOPED_TRACE(caption);
        open();
        HWND dialog = WaitForWindow(app.info.dwProcessId, caption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), app.window);
        EXPECT_FALSE(IsWindowEnabled(app.window)) << "not modal";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(app.window); }));
    }
}

TEST_F(Setwright, MovTypeConfiguresQuickTimeThroughOneEntry) {
    const Lines used = {"InitializeQTML flags=0 mutex=held", "EnterMovies", "OpenDefaultComponent type=scdi subtype=imag",
                        "CallComponent instance=scdi what=10", "ExitMovies", "TerminateQTML mutex=held"};
    for (const bool quicktime : {true, false}) {
        SCOPED_TRACE(quicktime);
        SetUp();
        if (quicktime) SetText(kQtKey, "QTSysDir", StageStandIn(kRoot).c_str());
        App app;
        ASSERT_NE(app.window, nullptr);
        app.Pick(1, CBN_SELCHANGE, 1001);
        EXPECT_TRUE(WaitUntil([&] { return app.Read() == Entries{{"All Types", 0}}; }));
        EXPECT_EQ(app.Description(), "Double click to modify all QuickTime codecs.");
        app.Pick(0, LBN_DBLCLK);
        Sleep(500);
        EXPECT_EQ(Windows(app.info.dwProcessId).size(), 1u);  // nothing shown, nothing left hanging
        PostMessageA(app.window, WM_SYSCOMMAND, SC_CLOSE, 0);  // through the close handler
        DWORD code = 1;
        EXPECT_TRUE(!WaitForSingleObject(app.info.hProcess, 15000) && GetExitCodeProcess(app.info.hProcess, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(Calls(), quicktime ? used : Lines{});
    }
}

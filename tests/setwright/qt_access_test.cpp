// Setwright's QuickTime access in this process, against the stand-in library:
// where the library is looked for, the counted initialisation and
// termination, the results while nothing is bound, the process mutex.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/setwright/test_support.h"
#include "utility/quicktime/qt_binding.h"
#include "utility/quicktime/qt_paths.h"
#include "utility/quicktime/quicktime.h"

using namespace setwright_test;
using namespace quicktime;

namespace {

const std::string kRoot = "C:\\lumacore-qt-test";

std::string MutexName() {
    char name[64];
    std::snprintf(name, sizeof name, "QTMLInitTermMutex%lx", static_cast<unsigned long>(GetCurrentProcessId()));
    return name;
}

bool MutexExists() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, MutexName().c_str());
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
}

bool LibraryLoaded() { return GetModuleHandleA("QuickTime.qts") != nullptr; }

std::string Normalised(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return Lower(path);
}

class QtAccess : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LibraryLoaded()) << "an earlier test left QuickTime.qts loaded";
        FreshFolder(kRoot);
        log_ = kRoot + "\\calls.log";
        SetEnvironmentVariableA("LUMACORE_QT_LOG", log_.c_str());
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", nullptr);
        ResetQtKey();
        RemoveSystemCopies();
    }

    void TearDown() override {
        // A failed test may leave QuickTime initialised: undo it for the next.
        for (int i = 0; i < 8 && QtIsBound(); ++i) QtTerm();
        EXPECT_FALSE(LibraryLoaded());
        ResetQtKey();
        RemoveSystemCopies();
        SetEnvironmentVariableA("LUMACORE_QT_LOG", nullptr);
        SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", nullptr);
        RemoveTree(kRoot);
    }

    static void RemoveSystemCopies() {
        DeleteFileA((SystemDirectory() + "\\QuickTime.qts").c_str());
        RemoveTree(SystemDirectory() + "\\QuickTime");
    }

    std::vector<std::string> Calls() const { return CallNames(ReadLines(log_)); }
    void ClearLog() const { DeleteFileA(log_.c_str()); }

    // The file the stand-in was loaded from, as its InitializeQTML call logged it.
    std::string LoadedFrom() const {
        std::string module;
        for (const std::string& line : ReadLines(log_)) {
            const std::size_t at = line.find(" module=");
            if (line.find("InitializeQTML") == std::string::npos || at == std::string::npos) continue;
            module = line.substr(at + 8);
        }
        return Normalised(module);
    }

    std::string log_;
};

void ExpectUnbound() {
    EXPECT_EQ(InitializeQTML(0), QT_ERR_NOT_BOUND);
    EXPECT_EQ(EnterMovies(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(ExitMovies(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(TerminateQTML(), QT_ERR_NOT_BOUND);
    EXPECT_EQ(OpenDefaultComponent(kStandardCompressionType, kStandardCompressionSubTypeImage), nullptr);
    ComponentParameters params{};
    EXPECT_EQ(CallComponent(nullptr, &params), QT_ERR_NOT_BOUND);
    EXPECT_FALSE(LibraryLoaded());
}

}  // namespace

TEST_F(QtAccess, RoutinesFailUntilQuickTimeIsBound) {
    ExpectUnbound();

    // Nowhere to be found: QtInit fails and nothing changes.
    EXPECT_EQ(QtInit(0), QT_ERR_LOAD_FAILED);
    ExpectUnbound();

    // A QtTerm without a QtInit counts nothing down: after it, one QtInit and
    // one QtTerm still initialise and terminate.
    QtTerm();
    StageStandIn("full", kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");
    ASSERT_EQ(QtInit(0), 0);
    EXPECT_EQ(EnterMovies(), 0);
    QtTerm();
    ExpectUnbound();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"InitializeQTML", "EnterMovies", "TerminateQTML"}));
}

TEST_F(QtAccess, InitialisationIsCountedAndTheLastTermFreesTheLibrary) {
    StageStandIn("full", kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");

    ASSERT_EQ(QtInit(0x5), 0);
    ASSERT_EQ(QtInit(0), 0);
    EXPECT_TRUE(LibraryLoaded());
    EXPECT_EQ(EnterMovies(), 0);

    QtTerm();  // one user left: still bound
    EXPECT_TRUE(LibraryLoaded());
    EXPECT_EQ(ExitMovies(), 0);

    QtTerm();
    ExpectUnbound();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"InitializeQTML", "EnterMovies", "ExitMovies", "TerminateQTML"}));
    const std::vector<std::string> lines = ReadLines(log_);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("flags=5 "), std::string::npos) << lines[0];
}

TEST_F(QtAccess, InitialisationAndTerminationHoldTheProcessMutex) {
    StageStandIn("full", kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");

    ASSERT_EQ(QtInit(0), 0);
    EXPECT_FALSE(MutexExists()) << MutexName() << " left open after QtInit";
    QtTerm();
    EXPECT_FALSE(MutexExists()) << MutexName() << " left open after QtTerm";

    const std::vector<std::string> lines = ReadLines(log_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("InitializeQTML flags=0 mutex=held "), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("TerminateQTML mutex=held"), std::string::npos) << lines[1];
}

TEST_F(QtAccess, FailedInitialisationLeavesNothingBoundOrCounted) {
    StageStandIn("full", kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");

    SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", "-50");
    EXPECT_EQ(QtInit(0), -50);
    ExpectUnbound();
    QtTerm();  // nothing was counted, so nothing is terminated

    SetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", nullptr);
    ASSERT_EQ(QtInit(0), 0);
    QtTerm();
    ExpectUnbound();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"InitializeQTML", "InitializeQTML", "TerminateQTML"}));
}

TEST_F(QtAccess, LibraryLackingAnEntryPointIsFreed) {
    for (const char* variant : {"no-call-with-storage", "no-call-component", "no-dispatcher"}) {
        SCOPED_TRACE(variant);
        const std::string folder = kRoot + "\\" + variant;
        StageStandIn(variant, folder);
        SetQtValue("QTSysDir", folder);
        EXPECT_EQ(QtInit(0), QT_ERR_ENTRY_MISSING);
        ExpectUnbound();
        QtTerm();
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(QtAccess, LibraryIsLoadedFromWhereTheLookupLeads) {
    const std::string system = SystemDirectory();
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string expected;  // empty: nothing loads
    };
    const std::vector<Case> cases = {
        {"QTSysDir comes first",
         [] {
             StageStandIn("full", kRoot + "\\sys");
             StageStandIn("full", kRoot + "\\folder");
             SetQtValue("QTSysDir", kRoot + "\\sys");
             SetQtValue("QuickTime.qts folder", kRoot + "\\folder");
         },
         kRoot + "\\sys\\QuickTime.qts"},
        {"a QTSysDir that does not exist falls through to QuickTime.qts folder",
         [] {
             StageStandIn("full", kRoot + "\\folder");
             SetQtValue("QTSysDir", kRoot + "\\absent");
             SetQtValue("QuickTime.qts folder", kRoot + "\\folder\\");
         },
         kRoot + "\\folder\\QuickTime.qts"},
        {"registry folders that do not exist fall through to the system directory",
         [&] {
             StageStandIn("full", system);
             SetQtValue("QTSysDir", kRoot + "\\absent");
             SetQtValue("QuickTime.qts folder", kRoot + "\\absent too");
         },
         system + "\\QuickTime.qts"},
        {"a system folder without the library leads to QTExtDir",
         [] {
             FreshFolder(kRoot + "\\empty");
             StageStandIn("full", kRoot + "\\ext");
             SetQtValue("QTSysDir", kRoot + "\\empty");
             SetQtValue("QTExtDir", kRoot + "\\ext");
         },
         kRoot + "\\ext\\QuickTime.qts"},
        {"the system directory without the library leads to its QuickTime folder",
         [&] { StageStandIn("full", system + "\\QuickTime"); }, system + "\\QuickTime\\QuickTime.qts"},
        {"a forward slash ends a folder too",
         [] {
             StageStandIn("full", kRoot + "\\slash");
             SetQtValue("QTSysDir", "C:/lumacore-qt-test/slash/");
         },
         kRoot + "\\slash\\QuickTime.qts"},
        {"only the Windows system directory gets the QuickTime subfolder",
         [] {
             FreshFolder(kRoot + "\\empty");
             StageStandIn("full", kRoot + "\\empty\\QuickTime");
             SetQtValue("QTSysDir", kRoot + "\\empty");
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetQtKey();
        RemoveSystemCopies();
        FreshFolder(kRoot);
        c.arrange();
        if (c.expected.empty()) {
            EXPECT_EQ(QtInit(0), QT_ERR_LOAD_FAILED);
            ExpectUnbound();
            continue;
        }
        ASSERT_EQ(QtInit(0), 0);
        EXPECT_EQ(LoadedFrom(), Normalised(c.expected));
        QtTerm();
        EXPECT_FALSE(LibraryLoaded());
    }
}

TEST_F(QtAccess, AnAlreadyLoadedLibraryIsUsedWithoutReadingTheRegistry) {
    const std::string mine = StageStandIn("full", kRoot + "\\mine");
    StageStandIn("full", kRoot + "\\sys");
    SetQtValue("QTSysDir", kRoot + "\\sys");
    HMODULE own = LoadLibraryA(mine.c_str());
    ASSERT_NE(own, nullptr);

    ASSERT_EQ(QtInit(0), 0);
    EXPECT_EQ(LoadedFrom(), Normalised(mine));
    QtTerm();
    // Termination gives back only QuickTime access's own reference.
    EXPECT_EQ(GetModuleHandleA("QuickTime.qts"), own);
    EXPECT_EQ(EnterMovies(), QT_ERR_NOT_BOUND);
    FreeLibrary(own);
}

TEST_F(QtAccess, RegistryPathsNeedRoomForTheirSeparator) {
    // Directly: each path either fits with its separator and terminator or
    // is not found; nothing is written past the size given.
    char buffer[32];
    const auto read = [&](const char* value, std::size_t size) {
        std::memset(buffer, 'x', sizeof buffer);
        SetQtValue("QTSysDir", value);
        const std::size_t length = ReadQtRegistryPath("QTSysDir", buffer, size);
        for (std::size_t i = size; i < sizeof buffer; ++i) {
            if (buffer[i] != 'x') ADD_FAILURE() << "byte " << i << " written with size " << size;
        }
        return length == 0 ? std::string("<none>") : std::string(buffer, length);
    };
    EXPECT_EQ(read("C:\\abcdef", 11), "C:\\abcdef\\");
    EXPECT_EQ(read("C:\\abcdef", 10), "<none>");  // the value fits, its separator does not
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(read("C:\\abcdef", 9), "<none>");  // not even the value fits
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(read("C:\\abcdef\\", 11), "C:\\abcdef\\");
    EXPECT_EQ(read("C:/abcdef/", 11), "C:/abcdef/");

    ResetQtKey();
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(QtSystemDir(buffer, 5));  // no registry and no room for the system directory
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[5], 'x');

    // Through a load: folders are read with room for "QuickTime.qts" after
    // them, so a 245-character folder is the longest that still fits its
    // separator; one character more and the next candidate is used.
    const std::string fits = kRoot + "\\" + std::string(245 - kRoot.size() - 1, 'd');
    const std::string too_long = fits + "d";
    ASSERT_EQ(fits.size(), 245u);
    StageStandIn("full", fits);
    FreshFolder(too_long);
    StageStandIn("full", kRoot + "\\folder");

    SetQtValue("QTSysDir", fits);
    ASSERT_EQ(QtInit(0), 0);
    EXPECT_EQ(LoadedFrom(), Normalised(fits + "\\QuickTime.qts"));
    QtTerm();

    ClearLog();
    SetQtValue("QTSysDir", too_long);
    SetQtValue("QuickTime.qts folder", kRoot + "\\folder");
    ASSERT_EQ(QtInit(0), 0);
    EXPECT_EQ(LoadedFrom(), Normalised(kRoot + "\\folder\\QuickTime.qts"));
    QtTerm();
}

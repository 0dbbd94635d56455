// The About box in a real window: shown through the VCM, read, photographed
// and closed with its OK button by a second thread, as a person would.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/ui/window_capture.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr char kAboutCaption[] = "Orvane YCbCr Codec";

struct AboutSeen {
    std::atomic<bool> found{false};
    std::string version_text;
    std::string title_text;
    bool saved = false;
};

// Finds the About box, records what it shows, then presses OK.
std::thread WatchAboutBox(AboutSeen* seen, const char* screenshot) {
    return std::thread([seen, screenshot] {
        HWND dialog = ui_test::WaitForWindow(kAboutCaption, 20000);
        if (!dialog) return;
        seen->version_text = ui_test::ControlText(dialog, 1012);
        HWND first = GetWindow(dialog, GW_CHILD);
        char text[256] = {};
        if (first) GetWindowTextA(first, text, sizeof text);
        seen->title_text = text;
        if (screenshot) seen->saved = ui_test::SaveWindowBitmap(dialog, ui_test::OutputPath(screenshot));
        seen->found = true;
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
}

HWND MakeHostWindow() {
    HWND window = CreateWindowExA(0, "STATIC", "Lumacore test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480,
                                  320, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

}  // namespace

TEST(AboutBox, IcAboutShowsTheVersionAndClosesWithOk) {
    HWND host = MakeHostWindow();
    ASSERT_NE(host, nullptr);
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);

    AboutSeen seen;
    std::thread watcher = WatchAboutBox(&seen, "about-box.bmp");
    const LRESULT result = ICAbout(hic.get(), host);
    watcher.join();

    EXPECT_EQ(result, ICERR_OK);
    ASSERT_TRUE(seen.found) << "no About box appeared";
    EXPECT_EQ(seen.version_text, "Lumacore Version 2.9.18");
    EXPECT_EQ(seen.title_text, "Orvane YCbCr VFW Codec");
    EXPECT_TRUE(seen.saved);
    DestroyWindow(host);
}

TEST(AboutBox, DriverConfigureShowsTheAboutBoxToo) {
    HWND host = MakeHostWindow();
    ASSERT_NE(host, nullptr);
    HDRVR driver = OpenDriver(L"vidc.UYVY", L"Drivers32", 0);
    ASSERT_NE(driver, nullptr);

    AboutSeen seen;
    std::thread watcher = WatchAboutBox(&seen, nullptr);
    const LRESULT result = SendDriverMessage(driver, DRV_CONFIGURE, LPARAM(host), 0);
    watcher.join();

    EXPECT_EQ(result, 1);
    ASSERT_TRUE(seen.found) << "DRV_CONFIGURE showed no About box";
    EXPECT_EQ(seen.version_text, "Lumacore Version 2.9.18");
    CloseDriver(driver, 0, 0);
    DestroyWindow(host);
}

TEST(AboutBox, QueriesShowNothing) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"));
    ASSERT_TRUE(hic);
    EXPECT_EQ(ICSendMessage(hic.get(), ICM_ABOUT, DWORD_PTR(-1), 0), ICERR_OK);
    HDRVR driver = OpenDriver(L"vidc.UYVY", L"Drivers32", 0);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(SendDriverMessage(driver, DRV_CONFIGURE, LPARAM(-1), 0), 1);
    CloseDriver(driver, 0, 0);
    EXPECT_EQ(ui_test::WaitForWindow(kAboutCaption, 500), nullptr);
}

// What hosts see through Wine's VCM in the orders their frameworks use:
// choosers, sequential compression without an output format, ICLocate, and
// compression into buffers of the size negotiated.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

// Opens every installed video compressor, asks it for its information and
// closes it again, as a codec chooser does to fill its list.
int ListEveryCompressor() {
    int listed = 0;
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        const Compressor hic = Open(info.fccHandler);
        ICINFO got{};
        if (hic && ICGetInfo(hic.get(), &got, sizeof got) > 0) ++listed;
    }
    return listed;
}

// Names the compressor as the host does, then compresses one 64x16 RGB24
// frame through ICSeqCompressFrame* with the output format it proposes, as
// AVIFile does: that format must be `fcc` at `bits`, the frame `size` bytes.
void ExpectSeqCompression(HIC hic, const char* fcc, WORD bits, LONG size) {
    ICINFO info{};
    ASSERT_GT(ICGetInfo(hic, &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), fcc);

    BITMAPINFO in{};
    in.bmiHeader = Header(64, 16, 24, BI_RGB, DibSize(64, 16, 24));
    std::vector<BYTE> frame(in.bmiHeader.biSizeImage, 0x40);
    COMPVARS cv{};
    cv.cbSize = sizeof cv, cv.dwFlags = ICMF_COMPVARS_VALID, cv.hic = hic, cv.fccType = ICTYPE_VIDEO;
    cv.fccHandler = Fcc(fcc), cv.lKey = 1, cv.lQ = ICQUALITY_DEFAULT;
    ASSERT_TRUE(ICSeqCompressFrameStart(&cv, &in));
    BOOL key = FALSE;
    LONG got = 0;
    EXPECT_NE(ICSeqCompressFrame(&cv, 0, frame.data(), &key, &got), nullptr);
    EXPECT_EQ(FccText(cv.lpbiOut->bmiHeader.biCompression), fcc);
    EXPECT_EQ(cv.lpbiOut->bmiHeader.biBitCount, bits);  // as AVIFile writes it into the stream format
    EXPECT_EQ(got, size);
    ICSeqCompressFrameEnd(&cv);
    cv.hic = nullptr;  // the caller closes it
    ICCompressorFree(&cv);
}

// The host's choice is opened, then a chooser opens and closes every
// installed codec to list it, then the host names its choice and compresses
// without having set an output format.
TEST(HostOrders, AChosenCompressorKeepsItsFourccAfterTheListWasBuilt) {
    const Compressor before = Open(Fcc("v210"));
    struct Case {
        const char* fcc;
        WORD bits;
        LONG size;
    };
    for (const Case& c : {Case{"YV12", 12, 1536}, Case{"YVYU", 16, 2048}, Case{"a12v", 16, 16 * 256 + 16 * 4 * 22}}) {
        SCOPED_TRACE(c.fcc);
        const Compressor chosen = Open(Fcc(c.fcc), ICMODE_COMPRESS);
        ASSERT_TRUE(chosen);
        EXPECT_GE(ListEveryCompressor(), 18);
        const Compressor later = Open(Fcc("UYVY"));
        ExpectSeqCompression(chosen.get(), c.fcc, c.bits, c.size);
    }
}

// The user of the chooser titled kChooser: picks the entry whose text holds
// "[YV12]", then presses OK.
const char kChooser[] = "Lumacore chooser test";
bool picked = false;

BOOL CALLBACK PickFromCombo(HWND child, LPARAM) {
    char text[256] = {};
    GetClassNameA(child, text, sizeof text);
    if (lstrcmpiA(text, "ComboBox") != 0) return TRUE;
    const LRESULT count = SendMessageA(child, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(child, CB_GETLBTEXTLEN, WPARAM(i), 0) >= LRESULT(sizeof text)) continue;
        SendMessageA(child, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        if (!std::strstr(text, "[YV12]")) continue;
        SendMessageA(child, CB_SETCURSEL, WPARAM(i), 0);
        SendMessageA(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE), LPARAM(child));
        picked = true;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI DriveChooser(void*) {
    for (int tries = 0; tries < 200; ++tries, Sleep(50)) {
        HWND dialog = FindWindowA(nullptr, kChooser);
        if (!dialog || !IsWindowVisible(dialog)) continue;
        EnumChildWindows(dialog, PickFromCombo, 0);
        PostMessageA(dialog, WM_COMMAND, picked ? IDOK : IDCANCEL, 0);
        return 0;
    }
    return 1;
}

// ICCompressorChoose lists every codec (opening each), the user picks YV12,
// the host names the choice and compresses with it.
TEST(HostOrders, ICCompressorChooseThenSequentialCompression) {
    BITMAPINFO in{};
    in.bmiHeader = Header(64, 16, 24, BI_RGB, DibSize(64, 16, 24));
    COMPVARS cv{};
    cv.cbSize = sizeof cv;
    HANDLE driver = CreateThread(nullptr, 0, DriveChooser, nullptr, 0, nullptr);
    ASSERT_NE(driver, nullptr);
    const BOOL chosen = ICCompressorChoose(nullptr, ICMF_CHOOSE_ALLCOMPRESSORS, &in, nullptr, &cv,
                                           const_cast<LPSTR>(kChooser));
    WaitForSingleObject(driver, 15000);
    CloseHandle(driver);
    ASSERT_TRUE(picked) << "no YV12 entry in the chooser's list";
    ASSERT_TRUE(chosen);
    ASSERT_NE(cv.hic, nullptr);
    EXPECT_EQ(FccText(cv.fccHandler), "YV12");
    ExpectSeqCompression(cv.hic, "YV12", 12, 64 * 16 * 3 / 2);
    ICCompressorFree(&cv);
}

// ICLocate opens the installed codecs in turn until one takes the pair; the
// one it returns reports the handler it was opened with, not a FourCC that
// the process opened elsewhere before or after.
TEST(HostOrders, ALocatedDecompressorReportsItsOwnFourcc) {
    BITMAPINFOHEADER in = Header(64, 16, 16, Fcc("UYVY"), 64 * 16 * 2);
    BITMAPINFOHEADER out = Header(64, 16, 24, BI_RGB, DibSize(64, 16, 24));
    DWORD expected = 0;  // the first codec in the VCM's order that takes the pair
    ICINFO entry{};
    for (DWORD i = 0; !expected && ICInfo(ICTYPE_VIDEO, i, &entry); ++i) {
        const Compressor probe = Open(entry.fccHandler, ICMODE_DECOMPRESS);
        if (probe && ICDecompressQuery(probe.get(), &in, &out) == ICERR_OK) expected = entry.fccHandler;
    }
    ASSERT_NE(expected, 0u);

    const Compressor elsewhere = Open(expected == Fcc("v210") ? Fcc("YUY2") : Fcc("v210"), ICMODE_DECOMPRESS);
    ASSERT_TRUE(elsewhere);
    const Compressor located(ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS));
    ASSERT_TRUE(located);
    const Compressor opened_after = Open(Fcc("a12v"));
    ICINFO info{};
    ASSERT_GT(ICGetInfo(located.get(), &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), FccText(expected));
}

// What ICM_COMPRESS_GET_SIZE reports for an output is what ICM_COMPRESS then
// writes into a buffer of exactly that size: DIB lines for RGB, 128-byte
// lines at 800 with board_align_VESA, and P422's planes, whose Cr plane
// starts half a luma plane after Cb (3x6, pitch 3: Cb rows at 18, Cr at 27).
TEST(HostOrders, NegotiatedOutputSizesHoldTheFrame) {
    const Compressor hic = Open(Fcc("UYVY"), ICMODE_COMPRESS);
    ASSERT_TRUE(hic);
    struct Case {
        int w, h;
        DWORD in_fcc, out_fcc;
        WORD in_bits, out_bits;
        int vesa;
        DWORD size;
    };
    const Case cases[] = {{854, 480, Fcc("UYVY"), BI_RGB, 16, 24, 0, 2564 * 480},
                          {800, 600, Fcc("UYVY"), BI_RGB, 16, 24, 1, 2432 * 600},
                          {800, 600, Fcc("UYVY"), BI_RGB, 16, 24, 0, 2400 * 600},
                          {3, 6, BI_RGB, Fcc("P422"), 24, 16, 0, 18 + 2 * 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " to " << FccText(c.out_fcc) << " VESA " << c.vesa);
        std::vector<BYTE> state(72);
        ASSERT_EQ(ICGetState(hic.get(), state.data(), 72), DWORD(ICERR_OK));
        std::memcpy(&state[11 * 4], &c.vesa, 4);  // board_align_VESA
        ICSetState(hic.get(), state.data(), 72);

        BITMAPINFOHEADER in = Header(c.w, c.h, c.in_bits, c.in_fcc, DibSize(c.w, c.h, c.in_bits));
        BITMAPINFOHEADER out = Header(c.w, c.h, c.out_bits, c.out_fcc);
        const DWORD negotiated = DWORD(ICCompressGetSize(hic.get(), &in, &out));
        if (c.out_fcc == BI_RGB) {
            EXPECT_EQ(negotiated, c.size);
        }
        std::vector<BYTE> src(in.biSizeImage, 0), dst(std::max(negotiated, c.size) + 16, kCanary);
        for (size_t i = 2; i < src.size(); i += 3) src[i] = 255;  // pure red RGB24: Cr far above Cb
        out.biSizeImage = negotiated;
        DWORD ckid = Fcc("00db"), flags = 0;
        ASSERT_EQ(ICCompress(hic.get(), 0, &out, dst.data(), &in, src.data(), &ckid, &flags, 0, 0, 0, nullptr, nullptr),
                  DWORD(ICERR_OK));
        EXPECT_EQ(out.biSizeImage, c.size);
        EXPECT_TRUE(Untouched(dst, c.size));
        if (c.out_fcc != Fcc("P422")) continue;
        EXPECT_LT(dst[18], 128);
        EXPECT_GT(dst[27], 192);
        for (int r = 0; r < c.h; ++r) EXPECT_EQ(dst[18 + r], dst[18]) << "Cb row " << r;
        for (int r = 0; r < c.h; ++r) EXPECT_EQ(dst[27 + r], dst[27]) << "Cr row " << r;
    }
}

}  // namespace

// What hosts see through Wine's VCM in the orders their frameworks use: a
// compressor chosen after every installed codec was opened to be listed,
// sequential compression without an output format, a located decompressor,
// frames whose stated size is short, the sizes negotiated for RGB outputs,
// and the planes of P422.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;

namespace {

constexpr BYTE kCanary = 0xA5;

DWORD DibSize(int w, int h, int bits) { return DWORD((w * bits + 31) / 32 * 4 * h); }

// Opens every installed video compressor, asks it for its information and
// closes it again, as a codec chooser does to fill its list.
int ListEveryCompressor() {
    int listed = 0;
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        Compressor hic(ICTYPE_VIDEO, info.fccHandler, ICMODE_QUERY);
        if (!hic) continue;
        ICINFO got{};
        if (ICGetInfo(hic.get(), &got, sizeof got) > 0) ++listed;
    }
    return listed;
}

// Compresses one RGB24 frame through ICSeqCompressFrame* with the output
// format the compressor proposes, and returns that format and the size of
// the frame.
struct SeqResult {
    BITMAPINFOHEADER format;
    LONG size;
};
SeqResult SeqCompressOneFrame(HIC hic, DWORD handler) {
    const int w = 64, h = 16;
    BITMAPINFO in{};
    in.bmiHeader = Header(w, h, 24, BI_RGB, DibSize(w, h, 24));
    std::vector<BYTE> frame(in.bmiHeader.biSizeImage, 0x40);

    COMPVARS cv{};
    cv.cbSize = sizeof cv;
    cv.dwFlags = ICMF_COMPVARS_VALID;
    cv.fccType = ICTYPE_VIDEO;
    cv.fccHandler = handler;
    cv.hic = hic;
    cv.lKey = 1;
    cv.lQ = ICQUALITY_DEFAULT;
    SeqResult result{};
    if (!ICSeqCompressFrameStart(&cv, &in)) {
        ADD_FAILURE() << "ICSeqCompressFrameStart refused";
        return result;
    }
    BOOL key = FALSE;
    EXPECT_NE(ICSeqCompressFrame(&cv, 0, frame.data(), &key, &result.size), nullptr);
    result.format = cv.lpbiOut->bmiHeader;
    ICSeqCompressFrameEnd(&cv);
    cv.hic = nullptr;  // the caller closes it
    ICCompressorFree(&cv);
    return result;
}

TEST(HostOrders, AChosenCompressorKeepsItsFourccAfterTheListWasBuilt) {
    // The host's choice is opened first; then the chooser opens every
    // installed codec (v210, a12v, YVYU, ... among them) to list it; then
    // the host asks its choice for a name and compresses.
    Compressor chosen(ICTYPE_VIDEO, Fcc("YV12"), ICMODE_COMPRESS);
    ASSERT_TRUE(chosen);
    EXPECT_GE(ListEveryCompressor(), 18);
    ICINFO info{};
    ASSERT_GT(ICGetInfo(chosen.get(), &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), "YV12");
    EXPECT_EQ(Narrow(info.szName), "YCbCr420 [YV12]");

    const SeqResult out = SeqCompressOneFrame(chosen.get(), Fcc("YV12"));
    EXPECT_EQ(FccText(out.format.biCompression), "YV12");
    EXPECT_EQ(out.format.biBitCount, 12);  // as AVIFile writes it into the stream format
    EXPECT_EQ(out.size, 64 * 16 * 3 / 2);
}

TEST(HostOrders, SequentialCompressionWithoutAFormatProposesTheOpenedFourcc) {
    Compressor other(ICTYPE_VIDEO, Fcc("v210"), ICMODE_QUERY);  // opened later elsewhere in the process
    struct Case {
        const char* fcc;
        WORD bits;
        LONG size;  // at 64x16
    };
    for (const Case& c : {Case{"YV12", 12, 1536}, Case{"YVYU", 16, 2048}, Case{"a12v", 16, 16 * 256 + 16 * 4 * 22}}) {
        SCOPED_TRACE(c.fcc);
        Compressor hic(ICTYPE_VIDEO, FccOf(c.fcc), ICMODE_COMPRESS);
        ASSERT_TRUE(hic);
        Compressor later(ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_QUERY);
        const SeqResult out = SeqCompressOneFrame(hic.get(), FccOf(c.fcc));
        EXPECT_EQ(FccText(out.format.biCompression), c.fcc);
        EXPECT_EQ(out.format.biBitCount, c.bits);
        EXPECT_EQ(out.size, c.size);
    }
}

// ICLocate opens the installed codecs in turn until one takes the pair; the
// one it returns reports the handler it was opened with, not a FourCC that
// the process opened elsewhere before or after.
TEST(HostOrders, ALocatedDecompressorReportsItsOwnFourcc) {
    BITMAPINFOHEADER in = Header(64, 16, 16, Fcc("UYVY"), 64 * 16 * 2);
    BITMAPINFOHEADER out = Header(64, 16, 24, BI_RGB, DibSize(64, 16, 24));
    // The handler ICLocate comes to: the first installed codec in the VCM's
    // order that takes the pair.
    DWORD expected = 0;
    ICINFO entry{};
    for (DWORD i = 0; !expected && ICInfo(ICTYPE_VIDEO, i, &entry); ++i) {
        Compressor probe(ICTYPE_VIDEO, entry.fccHandler, ICMODE_DECOMPRESS);
        if (probe && ICDecompressQuery(probe.get(), &in, &out) == ICERR_OK) expected = entry.fccHandler;
    }
    ASSERT_NE(expected, 0u);

    const DWORD other = expected == Fcc("v210") ? Fcc("YUY2") : Fcc("v210");
    Compressor elsewhere(ICTYPE_VIDEO, other, ICMODE_DECOMPRESS);
    ASSERT_TRUE(elsewhere);
    Compressor located(ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS));
    ASSERT_TRUE(located);
    Compressor opened_after(ICTYPE_VIDEO, Fcc("a12v"), ICMODE_QUERY);
    ICINFO info{};
    ASSERT_GT(ICGetInfo(located.get(), &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), FccText(expected));
    EXPECT_NE(info.fccHandler, other);
}

// A stated input size that is not h whole lines: YVYU 8x3 states 44 of its
// 48 bytes. The frame is refused, nothing is written, and the key-frame flag
// and chunk id stay as the host left them.
TEST(FrameBounds, AShortStatedSourceIsRefusedByBothFrameMessages) {
    const int w = 8, h = 3;
    std::vector<BYTE> src(44, 0x80);
    for (const char* fcc : {"YVYU", "YUY2", "UYVY"}) {
        SCOPED_TRACE(fcc);
        Compressor hic(ICTYPE_VIDEO, FccOf(fcc), ICMODE_DECOMPRESS);
        ASSERT_TRUE(hic);
        BITMAPINFOHEADER in = Header(w, h, 16, FccOf(fcc), 44);
        BITMAPINFOHEADER out = Header(w, h, 24, BI_RGB, DibSize(w, h, 24));
        std::vector<BYTE> dst(out.biSizeImage, kCanary);
        EXPECT_EQ(ICDecompress(hic.get(), 0, &in, src.data(), &out, dst.data()), DWORD(ICERR_ERROR));
        EXPECT_EQ(out.biSizeImage, 0u);
        for (BYTE b : dst) ASSERT_EQ(b, kCanary);

        Compressor comp(ICTYPE_VIDEO, FccOf(fcc), ICMODE_COMPRESS);
        out.biSizeImage = DibSize(w, h, 24);
        DWORD ckid = Fcc("00db"), flags = 0x77;
        EXPECT_EQ(ICCompress(comp.get(), 0, &out, dst.data(), &in, src.data(), &ckid, &flags, 0, 0, 0, nullptr,
                             nullptr),
                  DWORD(ICERR_ERROR));
        EXPECT_EQ(out.biSizeImage, 0u);
        EXPECT_EQ(flags, 0x77u);
        EXPECT_EQ(ckid, Fcc("00db"));
        for (BYTE b : dst) ASSERT_EQ(b, kCanary);

        // Whole lines convert.
        in.biSizeImage = 48;
        src.resize(48, 0x80);
        out.biSizeImage = DibSize(w, h, 24);
        EXPECT_EQ(ICDecompress(hic.get(), 0, &in, src.data(), &out, dst.data()), DWORD(ICERR_OK));
        src.resize(44);
    }
}

// What ICM_COMPRESS_GET_SIZE reports for an RGB output is what ICM_COMPRESS
// then writes: DIB lines, and 128-byte lines at 800 with board_align_VESA.
TEST(Negotiation, RgbOutputSizesHoldTheFrame) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_COMPRESS);
    ASSERT_TRUE(hic);
    struct Case {
        int w, h, vesa;
        DWORD size;
    };
    for (const Case& c : {Case{854, 480, 0, 2564 * 480}, Case{800, 600, 1, 2432 * 600}, Case{800, 600, 0, 2400 * 600}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " VESA " << c.vesa);
        std::vector<BYTE> state(72);
        ASSERT_EQ(ICGetState(hic.get(), state.data(), 72), DWORD(ICERR_OK));
        std::memcpy(&state[11 * 4], &c.vesa, 4);  // board_align_VESA
        ICSetState(hic.get(), state.data(), 72);

        BITMAPINFOHEADER in = Header(c.w, c.h, 16, Fcc("UYVY"), DWORD(c.w * c.h * 2));
        BITMAPINFOHEADER out = Header(c.w, c.h, 24, BI_RGB);
        const DWORD negotiated = DWORD(ICCompressGetSize(hic.get(), &in, &out));
        EXPECT_EQ(negotiated, c.size);
        // A host allocates exactly what was negotiated, and the frame fits.
        std::vector<BYTE> src(in.biSizeImage, 0x80), dst(negotiated);
        out.biSizeImage = negotiated;
        DWORD ckid = Fcc("00db"), flags = 0;
        EXPECT_EQ(ICCompress(hic.get(), 0, &out, dst.data(), &in, src.data(), &ckid, &flags, 0, 0, 0, nullptr,
                             nullptr),
                  DWORD(ICERR_OK));
        EXPECT_EQ(out.biSizeImage, c.size);
    }
}

// P422's second chroma plane starts half a luma plane after the first:
// at 3x6 (pitch 3) Cb rows are bytes 18..23 and Cr rows 27..32.
TEST(Planes, P422ChromaStartsHalfALumaPlaneAfterCb) {
    Compressor hic(ICTYPE_VIDEO, Fcc("UYVY"), ICMODE_COMPRESS);
    ASSERT_TRUE(hic);
    const int w = 3, h = 6;
    BITMAPINFOHEADER in = Header(w, h, 24, BI_RGB, DibSize(w, h, 24));
    std::vector<BYTE> rgb(in.biSizeImage, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rgb[y * 12 + 3 * x + 2] = 255;  // pure red: Cr far above Cb
    BITMAPINFOHEADER out = Header(w, h, 16, Fcc("P422"), 64);
    std::vector<BYTE> dst(64, kCanary);
    DWORD ckid = Fcc("00db"), flags = 0;
    ASSERT_EQ(ICCompress(hic.get(), 0, &out, dst.data(), &in, rgb.data(), &ckid, &flags, 0, 0, 0, nullptr, nullptr),
              DWORD(ICERR_OK));
    EXPECT_EQ(out.biSizeImage, 18u + 2 * 9);
    const BYTE cb = dst[18], cr = dst[27];
    EXPECT_LT(cb, 128);
    EXPECT_GT(cr, 192);
    for (int r = 0; r < h; ++r) {
        EXPECT_EQ(dst[18 + r], cb) << r;
        EXPECT_EQ(dst[27 + r], cr) << r;
    }
    for (int i = 36; i < 64; ++i) ASSERT_EQ(dst[i], kCanary) << i;
}

}  // namespace

namespace {

// Picks the entry whose text names `fourcc` in the chooser's list, then OK.
struct ChooserScript {
    const char* title;
    const char* fourcc;
    bool picked = false;
};

BOOL CALLBACK PickFromCombo(HWND child, LPARAM param) {
    auto* script = reinterpret_cast<ChooserScript*>(param);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") != 0) return TRUE;
    const std::string wanted = std::string("[") + script->fourcc + "]";
    const LRESULT count = SendMessageA(child, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        if (SendMessageA(child, CB_GETLBTEXTLEN, WPARAM(i), 0) >= LRESULT(sizeof text)) continue;
        SendMessageA(child, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        if (std::string(text).find(wanted) == std::string::npos) continue;
        SendMessageA(child, CB_SETCURSEL, WPARAM(i), 0);
        SendMessageA(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE), LPARAM(child));
        script->picked = true;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI DriveChooser(void* param) {
    auto* script = static_cast<ChooserScript*>(param);
    for (int tries = 0; tries < 200; ++tries) {
        HWND dialog = FindWindowA(nullptr, script->title);
        if (dialog && IsWindowVisible(dialog)) {
            EnumChildWindows(dialog, PickFromCombo, LPARAM(script));
            PostMessageA(dialog, WM_COMMAND, script->picked ? IDOK : IDCANCEL, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

// The whole order of a host that lets its user choose: ICCompressorChoose
// lists every codec (opening each), the user picks YV12, the host names the
// choice and compresses with it.
TEST(HostOrders, ICCompressorChooseThenSequentialCompression) {
    const int w = 64, h = 16;
    BITMAPINFO in{};
    in.bmiHeader = Header(w, h, 24, BI_RGB, DibSize(w, h, 24));
    COMPVARS cv{};
    cv.cbSize = sizeof cv;
    ChooserScript script{"Lumacore chooser test", "YV12"};
    HANDLE driver = CreateThread(nullptr, 0, DriveChooser, &script, 0, nullptr);
    ASSERT_NE(driver, nullptr);
    const BOOL chosen = ICCompressorChoose(nullptr, ICMF_CHOOSE_ALLCOMPRESSORS, &in, nullptr, &cv,
                                           const_cast<LPSTR>(script.title));
    WaitForSingleObject(driver, 15000);
    CloseHandle(driver);
    ASSERT_TRUE(script.picked) << "no YV12 entry in the chooser's list";
    ASSERT_TRUE(chosen);
    ASSERT_NE(cv.hic, nullptr);
    EXPECT_EQ(FccText(cv.fccHandler), "YV12");

    ICINFO info{};
    ASSERT_GT(ICGetInfo(cv.hic, &info, sizeof info), 0);
    EXPECT_EQ(FccText(info.fccHandler), "YV12");
    const SeqResult out = SeqCompressOneFrame(cv.hic, cv.fccHandler);
    EXPECT_EQ(FccText(out.format.biCompression), "YV12");
    EXPECT_EQ(out.format.biBitCount, 12);
    ICCompressorFree(&cv);
}

}  // namespace

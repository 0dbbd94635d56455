// DriverProc: the compressor message table, the messages that need an
// instance, DRV_OPEN and DRV_CLOSE.
#include <cstring>
#include <string>
#include <vector>

#include "driver/codec_instance.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;

using DriverProcTest = DriverTest;

TEST_F(DriverProcTest, CompressorMessageTable) {
    platform_test::ResetDefDriverProc(4242);
    Instance instance = OpenFor(Fcc("UYVY"));
    ASSERT_TRUE(instance);

    // Plausible arguments for the messages that take headers or records, so
    // that each answer is about the message and not about a null pointer.
    BITMAPINFOHEADER in{};
    in.biSize = sizeof in;
    in.biWidth = 720;
    in.biHeight = 486;
    in.biPlanes = 1;
    in.biBitCount = 16;
    in.biCompression = Fcc("UYVY");
    in.biSizeImage = 720 * 486 * 2;
    BITMAPINFOHEADER out = in;
    out.biBitCount = 24;
    out.biCompression = BI_RGB;
    out.biSizeImage = 720 * 486 * 3;
    // A frame record without frame data: the frame message refuses it.
    BITMAPINFOHEADER frame_in = out, frame_out = in;
    ICCOMPRESS compress{};
    compress.lpbiInput = &frame_in;
    compress.lpbiOutput = &frame_out;

    struct Row {
        UINT message;
        LPARAM p1, p2;
        LRESULT result;
    };
    const Row rows[] = {
        // Answered without any check.
        {ICM_COMPRESS_BEGIN, LPARAM(&out), LPARAM(&in), ICERR_OK},
        {ICM_COMPRESS_END, 0, 0, ICERR_OK},
        {ICM_DECOMPRESS_BEGIN, LPARAM(&in), LPARAM(&out), ICERR_OK},
        {ICM_DECOMPRESS_END, 0, 0, ICERR_OK},
        {ICM_SET, 0, 0, ICERR_OK},
        {ICM_GET, 0, 0, ICERR_OK},
        {ICM_DECOMPRESS_GET_PALETTE, LPARAM(&in), LPARAM(&out), ICERR_BADFORMAT},
        {ICM_DECOMPRESS_SET_PALETTE, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETBUFFERSWANTED, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETDEFAULTKEYFRAMERATE, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DECOMPRESSEX_BEGIN, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DECOMPRESSEX_QUERY, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DECOMPRESSEX, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DECOMPRESSEX_END, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETQUALITY, 0, 0, ICERR_UNSUPPORTED},
        {ICM_SETQUALITY, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETDEFAULTQUALITY, 0, 0, ICERR_UNSUPPORTED},
        {ICM_CONFIGURE, -1, 0, ICERR_OK},
        {ICM_ABOUT, -1, 0, ICERR_OK},
        // Everything not listed.
        {ICM_DRAW_QUERY, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DRAW_BEGIN, 0, 0, ICERR_UNSUPPORTED},
        {ICM_DRAW_END, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETERRORTEXT, 0, 0, ICERR_UNSUPPORTED},
        {ICM_GETFORMATNAME, 0, 0, ICERR_UNSUPPORTED},
        {ICM_ENUMFORMATS, 0, 0, ICERR_UNSUPPORTED},
        {ICM_COMPRESS_FRAMES, 0, 0, ICERR_UNSUPPORTED},
        {ICM_SET_STATUS_PROC, 0, 0, ICERR_UNSUPPORTED},
        {0x4000, 0, 0, ICERR_UNSUPPORTED},
        {0x4FFF, 0, 0, ICERR_UNSUPPORTED},
        {0x5003, 0, 0, ICERR_UNSUPPORTED},
        {0x7FFF, 0, 0, ICERR_UNSUPPORTED},
        {0xFFFFFFFFu, 0, 0, ICERR_UNSUPPORTED},
        // Routed to the compression path (which has its own tests).
        {ICM_COMPRESS_QUERY, LPARAM(&out), LPARAM(&in), ICERR_OK},
        {ICM_COMPRESS_GET_FORMAT, LPARAM(&out), 0, LPARAM(sizeof(BITMAPINFOHEADER))},
        {ICM_COMPRESS_GET_SIZE, LPARAM(&out), LPARAM(&in), 699840},
        {ICM_COMPRESS, LPARAM(&compress), sizeof compress, ICERR_ERROR},
        // Routed to the decompression path (which has its own tests).
        {ICM_DECOMPRESS_QUERY, LPARAM(&in), LPARAM(&out), ICERR_OK},
        {ICM_DECOMPRESS_GET_FORMAT, LPARAM(&in), 0, LPARAM(sizeof(BITMAPINFOHEADER))},
        // Runs the property sheet, which the stand-in cancels when nothing is scripted.
        {ICM_CONFIGURE, LPARAM(0x4321), 0, ICERR_OK},
    };
    const CodecSettings before = instance.State();
    for (const Row& row : rows) {
        EXPECT_EQ(instance.Send(row.message, row.p1, row.p2), row.result) << std::hex << "message 0x" << row.message;
    }
    // None of them changed the instance, showed anything but the one
    // (cancelled) sheet, or fell through.
    EXPECT_EQ(Fields(instance.State()), Fields(before));
    EXPECT_TRUE(platform_test::DialogRuns().empty());
    EXPECT_EQ(platform_test::SheetRuns().size(), 1u);
    EXPECT_TRUE(platform_test::DefDriverProcCalls().empty());

    // The default quality is written through the pointer.
    DWORD quality = 0xFFFFFFFF;
    EXPECT_EQ(instance.Send(ICM_GETDEFAULTQUALITY, LPARAM(&quality), 0), ICERR_OK);
    EXPECT_EQ(quality, 7500u);
}

// Without an instance: ICERR_BADHANDLE, and nothing read or written.
TEST_F(DriverProcTest, InstanceMessagesNeedAnInstance) {
    unsigned char buffer[600];
    std::memset(buffer, 0xAB, sizeof buffer);
    for (UINT message : {ICM_GETSTATE, ICM_SETSTATE, ICM_GETINFO, ICM_COMPRESS_FRAMES_INFO, ICM_COMPRESS_QUERY,
                         ICM_COMPRESS_GET_FORMAT, ICM_COMPRESS_GET_SIZE, ICM_COMPRESS}) {
        EXPECT_EQ(DriverProc(0, nullptr, message, LPARAM(buffer), LPARAM(sizeof buffer)), ICERR_BADHANDLE) << message;
        EXPECT_EQ(DriverProc(0, nullptr, message, 0, 0), ICERR_BADHANDLE) << message;
    }
    for (unsigned char b : buffer) ASSERT_EQ(b, 0xAB);
    // SETSTATE(null) did not load: no key was created.
    EXPECT_FALSE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));
}

TEST_F(DriverProcTest, OpenAcceptsOnlyVideoCompressorType) {
    ICOPEN open = OpenParams(Fcc("uyvy"));
    Instance instance(DWORD_PTR(DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&open))));
    ASSERT_TRUE(instance);
    EXPECT_EQ(open.dwError, ICERR_OK);
    EXPECT_EQ(lumacore::LastOpenedFourcc(), Fcc("UYVY"));  // normalised at open
    EXPECT_TRUE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));

    // A second open is a different instance.
    ICOPEN open2 = OpenParams(Fcc("v210"));
    Instance second(DWORD_PTR(DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&open2))));
    ASSERT_TRUE(second);
    EXPECT_NE(second.id(), instance.id());
    EXPECT_EQ(lumacore::LastOpenedFourcc(), Fcc("v210"));

    // Any other type, the upper-case form included, is refused before
    // anything happens: no instance, no settings load, dwError untouched.
    platform_test::ResetRegistry();
    for (DWORD type : {Fcc("VIDC"), Fcc("vids"), Fcc("audc"), Fcc("Vidc"), DWORD(0)}) {
        ICOPEN refused = OpenParams(Fcc("YUY2"), type);
        EXPECT_EQ(DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&refused)), 0);
        EXPECT_EQ(refused.dwError, 0x5EED);
    }
    EXPECT_EQ(lumacore::LastOpenedFourcc(), Fcc("v210"));
    EXPECT_FALSE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));

    // Without open parameters: an instance, and the last FourCC stays.
    Instance plain = OpenWithoutParams();
    ASSERT_TRUE(plain);
    EXPECT_EQ(lumacore::LastOpenedFourcc(), Fcc("v210"));
    EXPECT_EQ(Fields(plain.State()), kDefaultFields);
    EXPECT_TRUE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));

    // DRV_CLOSE answers 1 and saves nothing.
    CodecSettings changed = plain.State();
    changed.enc_matrix = 0;
    plain.SetState(changed);
    plain.Close();
    Instance after = OpenWithoutParams();
    EXPECT_EQ(after.State().enc_matrix, 1);
}

}  // namespace
}  // namespace lumacore_test

// The compression messages as a host sends them: the format set, the
// proposal, the sizes, and frames that fit what was negotiated.
#include "driver/compress_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "formats/matrix_numbers.h"
#include "colour/rgb_to_ycbcr_routines.h"
#include "formats/fourcc.h"

namespace lumacore {
namespace {

constexpr std::uint8_t kCanary = 0xA5;

BITMAPINFOHEADER Yuv(const char (&fcc)[5], std::int32_t w, std::int32_t h, WORD bits = 16) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = bits;
    b.biCompression = Fourcc(fcc);
    return b;
}

BITMAPINFOHEADER Rgb(std::int32_t w, std::int32_t h, WORD bits) {
    BITMAPINFOHEADER b = Yuv("UYVY", w, h, bits);
    b.biCompression = BI_RGB;
    return b;
}

DWORD FourccOf(const char* s) {
    return DWORD(std::uint8_t(s[0])) | DWORD(std::uint8_t(s[1])) << 8 | DWORD(std::uint8_t(s[2])) << 16 |
           DWORD(std::uint8_t(s[3])) << 24;
}

CodecInstance Instance() { return CodecInstance{DefaultSettings(), 0, 0, 0}; }

TEST(CompressQuery, AcceptsPairsOfTheCompressionFormatsOfOneSize) {
    const CodecInstance inst = Instance();
    const BITMAPINFOHEADER rgb32 = Rgb(720, 486, 32), rgb16 = Rgb(720, 486, 16), uyvy12 = Yuv("UYVY", 720, 486, 12),
                           yv12 = Yuv("YV12", 720, 486, 12), p422 = Yuv("P422", 720, 486, 16),
                           v210 = Yuv("v210", 720, 486), xvid = Yuv("XVID", 720, 486);
    EXPECT_EQ(CompressQuery(inst, &rgb32, nullptr), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &rgb16, nullptr), ICERR_BADFORMAT);
    EXPECT_EQ(CompressQuery(inst, &uyvy12, nullptr), ICERR_BADFORMAT);
    EXPECT_EQ(CompressQuery(inst, &yv12, nullptr), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &p422, nullptr), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &xvid, nullptr), ICERR_BADFORMAT);
    EXPECT_EQ(CompressQuery(inst, nullptr, nullptr), ICERR_BADFORMAT);
    BITMAPINFOHEADER top_down = rgb32;
    top_down.biHeight = -486;
    EXPECT_EQ(CompressQuery(inst, &top_down, nullptr), ICERR_BADFORMAT);

    // Outputs: any of the set at the input's size, RGB included (refused
    // later, at the frame).
    const BITMAPINFOHEADER rgb24 = Rgb(720, 486, 24);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &v210), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &rgb32), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &v210, &yv12), ICERR_OK);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &uyvy12), ICERR_BADFORMAT);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &top_down), ICERR_BADFORMAT);
    const BITMAPINFOHEADER narrower = Yuv("UYVY", 704, 486), shorter = Yuv("UYVY", 720, 480);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &narrower), ICERR_BADFORMAT);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &shorter), ICERR_BADFORMAT);
    // v210 at 20 bits, as other software labels it, is the same layout.
    const BITMAPINFOHEADER v210_20 = Yuv("v210", 720, 486, 20);
    EXPECT_EQ(CompressQuery(inst, &rgb24, &v210_20), ICERR_OK);
}

TEST(CompressGetFormat, ProposesTheInstancesFourccForTheWholeFrame) {
    CodecInstance inst = Instance();
    EXPECT_EQ(CompressGetFormat(inst, nullptr, nullptr), 40);
    BITMAPINFOHEADER in = Rgb(720, 486, 24);
    in.biXPelsPerMeter = 2835;
    in.biClrUsed = 9;
    BITMAPINFOHEADER out;
    std::memset(&out, 0xEE, sizeof out);
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSize, 40u);
    EXPECT_EQ(out.biCompression, Fourcc("UYVY"));
    EXPECT_EQ(out.biBitCount, 16);
    EXPECT_EQ(out.biWidth, 720);
    EXPECT_EQ(out.biHeight, 486);
    EXPECT_EQ(out.biPlanes, 1);
    EXPECT_EQ(out.biSizeImage, 699840u);
    EXPECT_EQ(out.biXPelsPerMeter, 2835);
    EXPECT_EQ(out.biClrUsed, 0u);
    EXPECT_EQ(CompressQuery(inst, &in, &out), ICERR_OK);

    // What the frame will write: 720p v210 lines are 3456 bytes.
    inst.settings.fourcc_used = std::int32_t(Fourcc("v210"));
    in = Rgb(1280, 720, 32);
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSizeImage, 2488320u);
    inst.settings.fourcc_used = std::int32_t(Fourcc("a12v"));
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biSizeImage, 3718080u);

    // The bit count is taken as set, even where it does not suit the FourCC.
    inst.settings.fourcc_used = std::int32_t(Fourcc("UYVY"));
    inst.settings.fourcc_bitcount = 0x10018;
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biBitCount, 24);
    EXPECT_EQ(CompressQuery(inst, &in, &out), ICERR_BADFORMAT);

    // A biSize of 0 is taken as 40, and written back.
    in.biSize = 0;
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(in.biSize, 40u);
    EXPECT_EQ(out.biWidth, 1280);

    // Refused inputs leave the output alone.
    const BITMAPINFOHEADER rgb16 = Rgb(64, 64, 16), huge = Rgb(1 << 20, 1 << 20, 32);
    std::memset(&out, 0xEE, sizeof out);
    EXPECT_EQ(CompressGetFormat(inst, const_cast<BITMAPINFOHEADER*>(&rgb16), &out), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetFormat(inst, const_cast<BITMAPINFOHEADER*>(&huge), &out), ICERR_BADFORMAT);
    EXPECT_EQ(out.biSize, 0xEEEEEEEEu);
}

TEST(CompressGetSize, GivesTheTableOrTheFrameWhicheverIsLarger) {
    CodecInstance inst = Instance();
    struct Row {
        const char* fcc;
        std::int32_t w, h;
        LRESULT size;
    };
    const Row rows[] = {
        {"UYVY", 720, 486, 699840},   {"UYVY", 721, -485, 701784},   {"cyuv", 720, 486, 699840},
        {"P422", 720, 486, 699840},   {"v210", 1920, 1080, 5529600}, {"012v", 1920, 1080, 5529600},
        {"v210", 1280, 720, 2488320}, {"v210", 352, 288, 294912},    {"a12v", 1280, 720, 3718080},
        {"a12v", 720, 486, 1399680},  {"auv2", 720, 486, 1049760},   {"YV12", 720, 480, 518400},
        {"IYUV", 721, 481, 522006},   {"v210", 1000, 2, 5376},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.fcc << " " << r.w << "x" << r.h);
        const BITMAPINFOHEADER in = Rgb(r.w, r.h, 24);
        BITMAPINFOHEADER out = Yuv("UYVY", r.w, r.h);
        out.biCompression = FourccOf(r.fcc);
        EXPECT_EQ(CompressGetSize(inst, &in, &out), r.size);
    }

    // 128-byte lines under the VESA alignment at 800.
    const BITMAPINFOHEADER in800 = Rgb(800, 600, 24), uyvy800 = Yuv("UYVY", 800, 600);
    EXPECT_EQ(CompressGetSize(inst, &in800, &uyvy800), 960000);
    inst.settings.board_align_VESA = 1;
    EXPECT_EQ(CompressGetSize(inst, &in800, &uyvy800), 1664 * 600);

    // RGB outputs of a Y'CbCr input: the DIB lines the frame message writes,
    // board alignment included.
    inst.settings.board_align_VESA = 0;
    const BITMAPINFOHEADER uyvy854 = Yuv("UYVY", 854, 480), rgb854 = Rgb(854, 480, 24);
    EXPECT_EQ(CompressGetSize(inst, &uyvy854, &rgb854), 2564 * 480);
    const BITMAPINFOHEADER rgb800 = Rgb(800, 600, 24);
    inst.settings.board_align_VESA = 1;
    EXPECT_EQ(CompressGetSize(inst, &uyvy800, &rgb800), 2432 * 600);
    inst.settings.board_align_VESA = 0;

    // RGB and unknown outputs of RGB: the output's own height x width x 3.
    const BITMAPINFOHEADER in = Rgb(720, 486, 24), rgb = Rgb(720, 486, 32), xvid = Yuv("XVID", 10, 7);
    EXPECT_EQ(CompressGetSize(inst, &in, &rgb), 1049760);
    EXPECT_EQ(CompressGetSize(inst, &in, &xvid), 210);
    // No size at all: negative, or beyond 32 bits.
    const BITMAPINFOHEADER negative = Rgb(720, -486, 24), huge = Yuv("UYVY", 1 << 17, 1 << 16);
    EXPECT_EQ(CompressGetSize(inst, &in, &negative), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, &huge, &huge), ICERR_BADFORMAT);
    // Dimensions whose products would not fit even 64 bits.
    const BITMAPINFOHEADER widest = Yuv("UYVY", 0x7FFFFFFF, 0x7FFFFFFF), widest_rgb = Rgb(0x7FFFFFFF, 0x7FFFFFFF, 24);
    EXPECT_EQ(CompressGetSize(inst, &widest, &widest), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, &widest_rgb, &widest_rgb), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, nullptr, &rgb), ICERR_BADPARAM);
}

struct Host {
    BITMAPINFOHEADER in, out;
    std::vector<std::uint8_t> src, dst;
    DWORD ckid = Fourcc("01db"), flags = 0;
    ICCOMPRESS frame{};
    Host(BITMAPINFOHEADER i, BITMAPINFOHEADER o, std::uint32_t src_bytes, std::uint32_t capacity)
        : in(i), out(o), src(src_bytes), dst(capacity + 64, kCanary) {
        for (std::size_t k = 0; k < src.size(); ++k) src[k] = std::uint8_t(k * 13 + (k >> 8));
        out.biSizeImage = capacity;
        frame.dwFlags = 0;
        frame.lpbiOutput = &out;
        frame.lpOutput = dst.data();
        frame.lpbiInput = &in;
        frame.lpInput = src.data();
        frame.lpckid = &ckid;
        frame.lpdwFlags = &flags;
    }
    bool CanariesIntact(std::size_t from) const {
        for (std::size_t k = from; k < dst.size(); ++k)
            if (dst[k] != kCanary) return false;
        return true;
    }
};

TEST(Compress, ConvertsMarksAKeyFrameAndRewritesTheChunkId) {
    const CodecInstance inst = Instance();
    Host host(Rgb(4, 2, 24), Yuv("UYVY", 4, 2), 24, 16);
    host.in.biSizeImage = 24;
    ASSERT_EQ(Compress(inst, &host.frame), ICERR_OK);
    EXPECT_EQ(host.out.biSizeImage, 16u);
    EXPECT_EQ(host.flags, DWORD(AVIIF_KEYFRAME));
    EXPECT_EQ(host.ckid, Fourcc("01dc"));
    std::vector<std::uint8_t> expected(16);
    Rgb24ToUyvy(expected.data(), host.src.data(), 4, 2, 8, 12, MATRIX_CCIR601_STANDARD, 0x8000);
    EXPECT_EQ(0, std::memcmp(host.dst.data(), expected.data(), 16));
    EXPECT_TRUE(host.CanariesIntact(16));

    // Without a chunk identifier or flags pointer the frame still converts.
    host.frame.lpckid = nullptr;
    host.frame.lpdwFlags = nullptr;
    host.out.biSizeImage = 16;
    EXPECT_EQ(Compress(inst, &host.frame), ICERR_OK);

    // RGB to RGB passes the query but not the frame: nothing is touched
    // but the output size.
    Host rgb(Rgb(4, 2, 24), Rgb(4, 2, 32), 24, 32);
    rgb.flags = 0x77;
    EXPECT_EQ(Compress(inst, &rgb.frame), ICERR_ERROR);
    EXPECT_EQ(rgb.out.biSizeImage, 0u);
    EXPECT_EQ(rgb.flags, 0x77u);
    EXPECT_EQ(rgb.ckid, Fourcc("01db"));
    EXPECT_TRUE(rgb.CanariesIntact(0));
    EXPECT_EQ(Compress(inst, nullptr), ICERR_BADPARAM);
}

// Every output, proposed by the format message and compressed into exactly
// the buffer proposed: the frame fits, and nothing is written past it.
TEST(Compress, FramesFitTheProposedSize) {
    const char* fourccs[] = {"UYVY", "2vuy", "cyuv", "YUY2", "YVYU", "YV12", "I420", "v210", "auv2", "a12v"};
    const std::uint16_t bits[] = {16, 16, 16, 16, 16, 12, 12, 16, 16, 16};
    struct Size {
        std::int32_t w, h;
    };
    const Size sizes[] = {{7, 3}, {352, 4}, {640, 2}, {720, 3}, {800, 2}, {854, 3}, {1280, 2}, {2048, 1}};
    for (int vesa = 0; vesa <= 1; ++vesa) {
        CodecInstance inst = Instance();
        inst.settings.board_align_VESA = vesa;
        inst.settings.board_align_720 = vesa;
        for (int i = 0; i < 10; ++i) {
            inst.settings.fourcc_used = std::int32_t(FourccOf(fourccs[i]));
            inst.settings.fourcc_bitcount = bits[i];
            for (WORD rgb_bits : {WORD(24), WORD(32)}) {
                for (const Size& s : sizes) {
                    SCOPED_TRACE(testing::Message() << fourccs[i] << " from RGB" << rgb_bits << " at " << s.w << "x"
                                                    << s.h << (vesa ? " aligned" : ""));
                    BITMAPINFOHEADER in = Rgb(s.w, s.h, rgb_bits), proposal{};
                    ASSERT_EQ(CompressGetFormat(inst, &in, &proposal), ICERR_OK);
                    ASSERT_EQ(CompressQuery(inst, &in, &proposal), ICERR_OK);
                    const std::uint32_t capacity = proposal.biSizeImage;
                    EXPECT_EQ(LRESULT(capacity), CompressGetSize(inst, &in, &proposal));
                    // Stated size 0: the DIB size and stride stand in.
                    const std::uint32_t stride = (std::uint32_t(s.w) * rgb_bits + 31) / 32 * 4;
                    Host host(in, proposal, stride * std::uint32_t(s.h), capacity);
                    ASSERT_EQ(Compress(inst, &host.frame), ICERR_OK);
                    EXPECT_GT(host.out.biSizeImage, 0u);
                    EXPECT_LE(host.out.biSizeImage, capacity);
                    EXPECT_TRUE(host.CanariesIntact(capacity));
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumacore

// The compression and decompression messages as a host sends them: the
// format sets, the proposals, the sizes, and frames that fit what was
// negotiated.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver/compress_path.h"
#include "driver/decompress_path.h"
#include "formats/fourcc.h"

namespace lumacore {
namespace {

constexpr std::uint8_t kCanary = 0xA5;

BITMAPINFOHEADER Yuv(const char (&fcc)[5], std::int32_t w, std::int32_t h, WORD bits = 16) {
    return {sizeof(BITMAPINFOHEADER), w, h, 1, bits, Fourcc(fcc), 0, 0, 0, 0, 0};
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

TEST(FrameMessages, QueriesAcceptWhatTheFramesCanDo) {
    const CodecInstance inst = Instance();
    const BITMAPINFOHEADER rgb24 = Rgb(720, 486, 24), rgb32 = Rgb(720, 486, 32), rgb16 = Rgb(720, 486, 16),
                           rgb15 = Rgb(720, 486, 15), rgb8 = Rgb(720, 486, 8), uyvy = Yuv("UYVY", 720, 486),
                           uyvy12 = Yuv("UYVY", 720, 486, 12), yv12 = Yuv("YV12", 720, 486, 12),
                           p422 = Yuv("P422", 720, 486, 8), v210 = Yuv("v210", 720, 486),
                           v210_20 = Yuv("v210", 720, 486, 20), xvid = Yuv("XVID", 720, 486),
                           top_down = Rgb(720, -486, 32), narrower = Yuv("UYVY", 704, 486),
                           shorter = Rgb(720, 480, 24);
    struct Row {
        bool compress;
        const BITMAPINFOHEADER *in, *out;
        LRESULT result;
    };
    const Row rows[] = {
        // Compression: inputs are RGB24/32 and the Y'CbCr layouts at their
        // natural bit counts; outputs any of the set at the input's size.
        {true, &rgb32, nullptr, ICERR_OK},          {true, &yv12, nullptr, ICERR_OK},
        {true, &p422, nullptr, ICERR_BADFORMAT},    {true, &rgb16, nullptr, ICERR_BADFORMAT},
        {true, &uyvy12, nullptr, ICERR_BADFORMAT},  {true, &xvid, nullptr, ICERR_BADFORMAT},
        {true, &top_down, nullptr, ICERR_BADFORMAT}, {true, nullptr, nullptr, ICERR_BADFORMAT},
        {true, &rgb24, &v210, ICERR_OK},            {true, &rgb24, &v210_20, ICERR_OK},
        {true, &rgb24, &rgb32, ICERR_OK},           {true, &v210, &yv12, ICERR_OK},
        {true, &rgb24, &uyvy12, ICERR_BADFORMAT},   {true, &rgb24, &top_down, ICERR_BADFORMAT},
        {true, &rgb24, &narrower, ICERR_BADFORMAT}, {true, &uyvy, &shorter, ICERR_BADFORMAT},
        // Decompression: any bit count of a known FourCC, RGB of 15 to 32
        // bits; outputs exactly the headers with a layout, no scaling.
        {false, &uyvy, nullptr, ICERR_OK},          {false, &uyvy12, nullptr, ICERR_OK},
        {false, &p422, nullptr, ICERR_OK},          {false, &rgb15, nullptr, ICERR_OK},
        {false, &rgb8, nullptr, ICERR_BADFORMAT},   {false, &xvid, nullptr, ICERR_BADFORMAT},
        {false, &top_down, nullptr, ICERR_BADFORMAT}, {false, nullptr, nullptr, ICERR_BADFORMAT},
        {false, &uyvy, &rgb24, ICERR_OK},           {false, &uyvy, &yv12, ICERR_OK},
        {false, &uyvy, &v210_20, ICERR_OK},         {false, &uyvy, &uyvy12, ICERR_BADFORMAT},
        {false, &uyvy, &rgb16, ICERR_BADFORMAT},    {false, &uyvy, &top_down, ICERR_BADFORMAT},
        {false, &uyvy, &narrower, ICERR_BADFORMAT},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.compress ? CompressQuery(inst, r.in, r.out) : DecompressQuery(inst, r.in, r.out), r.result)
            << "row " << &r - rows;
}

TEST(FrameMessages, ProposalsDescribeTheWholeFrame) {
    CodecInstance inst = Instance();
    EXPECT_EQ(CompressGetFormat(inst, nullptr, nullptr), 40);
    EXPECT_EQ(DecompressGetFormat(inst, nullptr, nullptr), 40);
    BITMAPINFOHEADER in = Rgb(720, 486, 24), out;
    in.biXPelsPerMeter = 2835;
    in.biClrUsed = 9;
    std::memset(&out, 0xEE, sizeof out);
    ASSERT_EQ(CompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biCompression, Fourcc("UYVY"));
    EXPECT_EQ(out.biSizeImage, 699840u);
    EXPECT_EQ(out.biXPelsPerMeter, 2835);  // the input's, but no palette
    EXPECT_EQ(out.biClrUsed, 0u);
    // Decompression proposes bottom-up RGB24 of DIB lines, board alignment included.
    in = Yuv("UYVY", 800, 600);
    inst.settings.board_align_VESA = 1;
    ASSERT_EQ(DecompressGetFormat(inst, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biBitCount, 24);
    EXPECT_EQ(out.biHeight, 600);
    EXPECT_EQ(out.biSizeImage, 2432u * 600u);

    // Refused inputs leave the output alone.
    BITMAPINFOHEADER rgb16 = Rgb(64, 64, 16), huge = Rgb(1 << 20, 1 << 20, 32), xvid = Yuv("XVID", 64, 64);
    std::memset(&out, 0xEE, sizeof out);
    EXPECT_EQ(CompressGetFormat(inst, &rgb16, &out), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetFormat(inst, &huge, &out), ICERR_BADFORMAT);
    EXPECT_EQ(DecompressGetFormat(inst, &xvid, &out), ICERR_BADFORMAT);
    EXPECT_EQ(DecompressGetFormat(inst, &huge, &out), ICERR_BADFORMAT);
    EXPECT_EQ(out.biSize, 0xEEEEEEEEu);
}

TEST(FrameMessages, CompressGetSizeGivesTheTableOrTheFrameWhicheverIsLarger) {
    CodecInstance inst = Instance();
    struct Row {
        const char* fcc;
        std::int32_t w, h;
        LRESULT size;
    };
    const Row rows[] = {
        {"UYVY", 720, 486, 699840},   {"UYVY", 721, -485, 701784},   {"v210", 1920, 1080, 5529600},
        {"012v", 1920, 1080, 5529600}, {"v210", 352, 288, 294912},   {"a12v", 1280, 720, 3718080},
        {"auv2", 720, 486, 1049760},  {"IYUV", 721, 481, 522006},    {"v210", 1000, 2, 5376},
    };
    for (const Row& r : rows) {
        const BITMAPINFOHEADER in = Rgb(r.w, r.h, 24);
        BITMAPINFOHEADER out = Yuv("UYVY", r.w, r.h);
        out.biCompression = FourccOf(r.fcc);
        EXPECT_EQ(CompressGetSize(inst, &in, &out), r.size) << r.fcc << " " << r.w << "x" << r.h;
    }
    // The board alignment; RGB outputs of a Y'CbCr input get the DIB lines
    // the frame writes; RGB to RGB and unknown outputs w x h x 3.
    const BITMAPINFOHEADER uyvy800 = Yuv("UYVY", 800, 600), rgb800 = Rgb(800, 600, 24), in = Rgb(720, 486, 24),
                           rgb32 = Rgb(720, 486, 32), xvid = Yuv("XVID", 10, 7), negative = Rgb(720, -486, 24),
                           huge = Yuv("UYVY", 1 << 17, 1 << 16), widest = Yuv("UYVY", 0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(CompressGetSize(inst, &rgb800, &uyvy800), 960000);
    EXPECT_EQ(CompressGetSize(inst, &in, &rgb32), 1049760);
    EXPECT_EQ(CompressGetSize(inst, &in, &xvid), 210);
    inst.settings.board_align_VESA = 1;
    EXPECT_EQ(CompressGetSize(inst, &rgb800, &uyvy800), 1664 * 600);
    EXPECT_EQ(CompressGetSize(inst, &uyvy800, &rgb800), 2432 * 600);
    // No size at all: negative, or beyond 32 or even 64 bits.
    EXPECT_EQ(CompressGetSize(inst, &in, &negative), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, &huge, &huge), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, &widest, &widest), ICERR_BADFORMAT);
    EXPECT_EQ(CompressGetSize(inst, nullptr, &rgb32), ICERR_BADPARAM);
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

// RGB to RGB passes the query but not the frame: nothing is touched but the
// output size.
TEST(FrameMessages, CompressRefusesRgbToRgbUntouched) {
    const CodecInstance inst = Instance();
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
TEST(FrameMessages, CompressedFramesFitTheProposedSize) {
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

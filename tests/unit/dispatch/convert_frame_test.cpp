// The dispatcher: every Y'CbCr to Y'CbCr cell's frame against the layout
// model at the pitches the dispatcher works out, the extent it reports, and
// the bounds it keeps on both buffers for every cell.
#include <gtest/gtest.h>

#include "dispatch/convert_frame.h"
#include "settings/codec_settings.h"
#include "formats/fourcc.h"
#include "formats/line_pitch.h"
#include "tests/unit/dispatch/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;
using lumacore::FMT_YVYU;

constexpr std::uint8_t kCanary = 0xA5;
constexpr int kYcbcr[] = {FMT_YV12, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_I420,
                          lumacore::FMT_YVYU, FMT_V210, FMT_P422, FMT_AUV2, FMT_A12V};

// A header of the code's bit count (16 for the Y'CbCr codes: the dispatcher
// takes the layout from the code, not the header).
BITMAPINFOHEADER Header(int code, std::int32_t w, std::int32_t h, std::uint32_t size) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    const bool rgb = code == lumacore::FMT_RGB24 || code == lumacore::FMT_RGB32;
    b.biBitCount = code == lumacore::FMT_RGB24 ? 24 : code == lumacore::FMT_RGB32 ? 32 : 16;
    b.biCompression = rgb ? BI_RGB : lumacore::Fourcc("UYVY");
    b.biSizeImage = size;
    return b;
}

// The copies and reorders of packed lines are modelled at even widths.
bool IsCopyCell(int s, int d) {
    const bool packed_s = !IsPlanar(s) && !IsTenBit(s), packed_d = !IsPlanar(d) && !IsTenBit(d);
    return (packed_s && packed_d) || (IsTenBit(s) && IsTenBit(d));
}

TEST(YcbcrCells, EveryCellWritesTheModelsFrame) {
    CodecSettings vesa = lumacore::DefaultSettings();
    vesa.board_align_VESA = 1;
    struct Size {
        std::uint32_t w, h;
        CodecSettings settings;
    };
    // Odd widths, and both sides of the vector steps and of the v210 lines'
    // 64-group (384-pixel) chunks.
    const CodecSettings plain = lumacore::DefaultSettings();
    const Size sizes[] = {{48, 6, plain}, {7, 5, plain},    {13, 3, plain},  {1, 2, plain},
                          {800, 3, vesa}, {1280, 2, plain}, {385, 2, plain}, {766, 3, plain}};
    int cells = 0;
    for (const Size& size : sizes) {
        const std::uint32_t w = size.w, h = size.h;
        for (int s : kYcbcr) {
            for (int d : kYcbcr) {
                if (IsCopyCell(s, d) && w % 2) continue;
                SCOPED_TRACE(testing::Message() << "cell " << s << " -> " << d << " at " << w << " x " << h);
                const std::uint32_t stated = lumacore::CodecFrameSize(s, w, h);
                const Bytes src = Random(stated, std::uint32_t(s * 16 + d));
                const std::uint32_t dp = lumacore::DestinationLinePitch(lumacore::AlignmentOf(size.settings), d, w);
                const std::uint32_t sp = IsPlanar(s) ? w : IsTenBit(s) ? (w + 47) / 48 * 128 : 2 * w;
                const std::uint64_t extent = lumacore::ColourPartSize(d, dp, h) + lumacore::AlphaAreaSize(d, w, h);

                Bytes dst(extent + 32, kCanary);
                BITMAPINFOHEADER in = Header(FMT_UYVY, std::int32_t(w), std::int32_t(h), stated);
                BITMAPINFOHEADER out = Header(FMT_UYVY, std::int32_t(w), std::int32_t(h), std::uint32_t(extent));
                const std::uint32_t n = lumacore::ConvertFrame(lumacore::AlignmentOf(size.settings), s, &in, src.data(), stated, d, &out,
                                                               dst.data(), std::uint32_t(extent), 1);
                EXPECT_EQ(n, extent);
                Bytes want(extent + 32, kCanary);
                CellModel(want, src, s, d, w, h, dp, sp);
                ASSERT_EQ(FirstDifference(dst, want), -1) << "dp " << dp << " sp " << sp;
                ++cells;
            }
        }
    }
    EXPECT_EQ(cells, 8 * (39 + 32) + 4 * (25 + 4));  // split, merge, plane, pack, unpack; copies at even widths
}

TEST(YcbcrCells, TightV210SourceLinesReadZeroPastTheSource) {
    // 640-pixel v210 lines of 1706 bytes (the last group needs 1712): each
    // line's last group runs into the next line, the last line's past the
    // source, whose missing bytes read as zero. The source buffer ends at
    // its stated size.
    const std::uint32_t w = 640, h = 3, sp = 1706;
    const Bytes src = Random(sp * h, 41);
    Bytes dst(2 * w * h + 16, kCanary);
    BITMAPINFOHEADER in = Header(FMT_UYVY, w, h, sp * h), out = Header(FMT_UYVY, w, h, 2 * w * h);
    EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, FMT_V210, &in, src.data(), sp * h, FMT_YUY2, &out,
                                     dst.data(), 2 * w * h, 1),
              2 * w * h);
    Bytes want(dst.size(), kCanary);
    UnpackModel(want, src, FMT_YUY2, w, h, 2 * w, sp);
    EXPECT_EQ(FirstDifference(dst, want), -1);

    // One byte fewer: lines of 1705 bytes cannot hold 640 pixels.
    Bytes untouched(dst.size(), kCanary);
    in.biSizeImage = sp * h - 1;
    EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, FMT_V210, &in, src.data(), sp * h - 1, FMT_YUY2,
                                     &out, untouched.data(), 2 * w * h, 1),
              0u);
    EXPECT_EQ(FirstDifference(untouched, Bytes(dst.size(), kCanary)), -1);
}

TEST(YcbcrCells, FramesThatDoNotFitAreRefusedUntouched) {
    const std::uint32_t w = 64, h = 4;
    struct Case {
        int s, d;
        std::uint32_t stated, capacity;
    };
    const std::uint32_t i420 = w * h * 3 / 2, v210 = 128 * h;
    const Case cases[] = {
        {FMT_I420, FMT_UYVY, i420 - 1, 2 * w * h},  // source short of its chroma
        {FMT_I420, FMT_UYVY, i420, 2 * w * h - 1},  // destination short of a line
        {FMT_UYVY, FMT_I420, 2 * w * h, i420 - 1},
        {FMT_UYVY, FMT_V210, 2 * w * h, v210 - 1},
        {FMT_V210, FMT_I420, v210, i420 - 1},
        {FMT_A12V, FMT_UYVY, v210 - 1, 2 * w * h},  // a12v lines are 128-byte lines whatever is stated
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.s << " -> " << c.d);
        const Bytes src = Random(c.stated, 5);
        Bytes dst(c.capacity + 32, kCanary);
        BITMAPINFOHEADER in = Header(FMT_UYVY, w, h, c.stated), out = Header(FMT_UYVY, w, h, c.capacity);
        EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, c.s, &in, src.data(), c.stated, c.d, &out,
                                         dst.data(), c.capacity, 1),
                  0u);
        EXPECT_EQ(FirstDifference(dst, Bytes(dst.size(), kCanary)), -1);
    }
}

struct Result {
    std::uint32_t count;
    std::vector<std::uint8_t> dst;
};

// Converts with a destination buffer of `capacity` bytes followed by canaries.
Result Convert(int s, int d, std::uint32_t w, std::uint32_t h, const std::vector<std::uint8_t>& src,
               std::uint32_t src_size, std::uint32_t capacity, const CodecSettings& settings = lumacore::DefaultSettings()) {
    BITMAPINFOHEADER in = Header(s, std::int32_t(w), std::int32_t(h), src_size);
    BITMAPINFOHEADER out = Header(d, std::int32_t(w), std::int32_t(h), capacity);
    std::vector<std::uint8_t> dst(capacity + 64, kCanary);
    const std::uint32_t n =
        lumacore::ConvertFrame(lumacore::AlignmentOf(settings), s, &in, src.data(), src_size, d, &out, dst.data(), capacity, 1);
    for (std::size_t i = capacity; i < dst.size(); ++i) EXPECT_EQ(dst[i], kCanary) << "wrote past the capacity";
    dst.resize(capacity);
    return {n, dst};
}

bool Untouched(const std::vector<std::uint8_t>& v, std::size_t from = 0) {
    for (std::size_t i = from; i < v.size(); ++i)
        if (v[i] != kCanary) return false;
    return true;
}

TEST(ConvertFrame, RefusesFramesThatDoNotFitEitherBuffer) {
    const std::uint32_t w = 32, h = 8, size = 2 * w * h;
    const auto src = Random(size, 9);
    // Destination one byte short of the colour part: nothing written.
    Result r = Convert(FMT_YUY2, FMT_UYVY, w, h, src, size, size - 1);
    EXPECT_EQ(r.count, 0u);
    EXPECT_TRUE(Untouched(r.dst));
    // A source that states fewer bytes than its lines need.
    r = Convert(FMT_YUY2, FMT_UYVY, w, h, src, size - 2 * w + 1, size);
    EXPECT_EQ(r.count, 0u);
    // Stated sizes of 0: the sizes the codec itself writes stand in.
    BITMAPINFOHEADER in = Header(FMT_YUY2, 32, 8, 0), out = Header(FMT_UYVY, 32, 8, 0);
    std::vector<std::uint8_t> dst(size + 16, kCanary);
    EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, FMT_YUY2, &in, src.data(), 0, FMT_UYVY, &out, dst.data(), 0, 1), size);
    EXPECT_EQ(dst[size], kCanary);
    // A destination narrower than the source cannot hold its lines.
    out.biWidth = 30;
    EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, FMT_YUY2, &in, src.data(), size, FMT_UYVY, &out, dst.data(), size, 1),
              0u);
}

TEST(ConvertFrame, RefusesUnusableHeaders) {
    const auto src = Random(4096, 2);
    std::vector<std::uint8_t> dst(4096, kCanary);
    auto run = [&](std::int32_t w, std::int32_t h, std::int32_t dw) {
        BITMAPINFOHEADER in = Header(FMT_UYVY, w, h, 4096), out = Header(FMT_UYVY, dw, h, 4096);
        return lumacore::ConvertFrame(lumacore::BoardAlignment{}, FMT_UYVY, &in, src.data(), 4096, FMT_UYVY, &out, dst.data(), 4096, 1);
    };
    EXPECT_EQ(run(0, 8, 0), 0u);
    EXPECT_EQ(run(-8, 8, -8), 0u);
    EXPECT_EQ(run(8, 0, 8), 0u);
    EXPECT_EQ(run(8, 8, 0), 0u);
    EXPECT_EQ(run(0x7FFFFFFF, 1, 0x7FFFFFFF), 0u);
    EXPECT_EQ(run(1 << 20, 1 << 20, 1 << 20), 0u);  // sizes past 32 bits
    EXPECT_TRUE(Untouched(dst));
    EXPECT_EQ(run(8, 8, 8), 128u);
}

// The 16-bit swap with equal pitches runs over whole lines, so the stated
// source must hold whole lines: an auv2 source (fixed 2w-byte lines) that
// states fewer bytes is refused rather than over-read.
TEST(ConvertFrame, WholeLineSwapNeedsTheWholeSource) {
    const std::uint32_t w = 1, h = 1;
    const auto src = Random(1, 21);
    Result r = Convert(FMT_AUV2, FMT_YUY2, w, h, src, 1, 2);
    EXPECT_EQ(r.count, 0u);
    EXPECT_TRUE(Untouched(r.dst));
    // With whole lines stated it converts.
    r = Convert(FMT_AUV2, FMT_YUY2, 2, 2, Random(12, 22), 12, 8);
    EXPECT_EQ(r.count, 8u);
}

// A stated source size that is not a whole number of 2w-byte lines gives a
// pitch shorter than a line. Every route must then either read within the
// stated bytes (the source buffer ends exactly there, so the address
// sanitizer sees any byte past it) or refuse the frame and write nothing.
TEST(ConvertFrame, ShortStatedSourcesAreNeverReadPast) {
    const int sources[] = {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_V210};
    for (int s : sources) {
        for (int d = 0; d < lumacore::kFormatCount; ++d) {
            for (std::uint32_t w : {2u, 8u, 13u, 48u}) {
                const std::uint32_t h = 3, whole = s == FMT_V210 ? lumacore::V210LinePitch(w) * h : 2 * w * h;
                for (std::uint32_t stated : {whole - 4, whole - 1, whole}) {
                    const auto src = Random(stated, 31);
                    const std::uint32_t capacity = 4 * lumacore::V210LinePitch(w) * h;
                    const Result r = Convert(s, d, w, h, src, stated, capacity);
                    if (r.count == 0) {
                        EXPECT_TRUE(Untouched(r.dst)) << s << "->" << d << " w " << w << " " << stated;
                    }
                }
            }
        }
    }
    // The case hosts met: YVYU 8x3 to RGB24 stating 44 of its 48 bytes.
    EXPECT_EQ(Convert(FMT_YVYU, lumacore::FMT_RGB24, 8, 3, Random(44, 32), 44, 72).count, 0u);
}

// Frames in bands: every cell writes the same bytes, and answers the same,
// with 2, 3 and 7 bands as with one (cyuv and RGB flips, odd widths and
// heights, v210 groups, alpha areas, refused frames).
TEST(ConvertFrame, BandsWriteTheBytesOfOneBand) {
    struct Size {
        std::uint32_t w, h;
    };
    for (const Size& size : {Size{48, 6}, Size{7, 5}, Size{13, 9}, Size{64, 23}, Size{720, 7}}) {
        const std::uint32_t w = size.w, h = size.h, room = 8 * (w + 48) * h + 4096;
        for (int s = 0; s < lumacore::kFormatCount; ++s) {
            const Bytes src = Random(room, std::uint32_t(s * 7 + w));
            for (int d = 0; d < lumacore::kFormatCount; ++d) {
                BITMAPINFOHEADER in = Header(s, std::int32_t(w), std::int32_t(h), 0);
                BITMAPINFOHEADER out = Header(d, std::int32_t(w), std::int32_t(h), 0);
                // Whatever the host's buffer held: bytes a route leaves alone must stay
                // where they were, band or no band.
                const Bytes before = Random(room, std::uint32_t(d * 131 + h));
                Bytes one = before;
                const std::uint32_t n = lumacore::ConvertFrame(lumacore::BoardAlignment{}, s, &in, src.data(), 0, d,
                                                               &out, one.data(), room, 5);
                for (std::uint32_t bands : {2u, 3u, 7u}) {
                    Bytes banded = before;
                    EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, s, &in, src.data(), 0, d, &out,
                                                     banded.data(), room, 5, bands),
                              n);
                    ASSERT_EQ(FirstDifference(banded, one), -1)
                        << s << " -> " << d << " at " << w << "x" << h << " in " << bands << " bands";
                }
                if (n < 2) continue;
                // A byte short: refused (or, with an alpha area, the colour part
                // alone), the same in bands.
                Bytes short_one = before, short_banded = before;
                EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, s, &in, src.data(), 0, d, &out,
                                                 short_banded.data(), n - 1, 5, 7),
                          lumacore::ConvertFrame(lumacore::BoardAlignment{}, s, &in, src.data(), 0, d, &out,
                                                 short_one.data(), n - 1, 5));
                ASSERT_EQ(FirstDifference(short_banded, short_one), -1) << s << " -> " << d << " a byte short";
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test

// The dispatcher's Y'CbCr to Y'CbCr cells: each cell's
// frame against the layout model at the pitches the dispatcher works out,
// the extent it reports, and the bounds it keeps on both buffers.
#include <gtest/gtest.h>

#include "dispatch/convert_frame.h"
#include "settings/codec_settings.h"
#include "formats/fourcc.h"
#include "formats/line_pitch.h"
#include "tests/unit/dispatch/layout_model.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;

constexpr std::uint8_t kCanary = 0xA5;
constexpr int kYcbcr[] = {FMT_YV12, FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_I420,
                          lumacore::FMT_YVYU, FMT_V210, FMT_P422, FMT_AUV2, FMT_A12V};

BITMAPINFOHEADER Header(std::int32_t w, std::int32_t h, std::uint32_t size) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = 16;
    b.biCompression = lumacore::Fourcc("UYVY");
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
    const Size sizes[] = {{48, 6, lumacore::DefaultSettings()}, {7, 5, lumacore::DefaultSettings()},
                          {13, 3, lumacore::DefaultSettings()}, {1, 2, lumacore::DefaultSettings()},
                          {800, 3, vesa},                       {1280, 2, lumacore::DefaultSettings()}};
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
                BITMAPINFOHEADER in = Header(std::int32_t(w), std::int32_t(h), stated);
                BITMAPINFOHEADER out = Header(std::int32_t(w), std::int32_t(h), std::uint32_t(extent));
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
    EXPECT_EQ(cells, 6 * (39 + 32) + 3 * (25 + 4));  // split, merge, plane, pack, unpack; copies at even widths
}

TEST(YcbcrCells, TightV210SourceLinesReadZeroPastTheSource) {
    // 640-pixel v210 lines of 1706 bytes (the last group needs 1712): each
    // line's last group runs into the next line, the last line's past the
    // source, whose missing bytes read as zero. The source buffer ends at
    // its stated size.
    const std::uint32_t w = 640, h = 3, sp = 1706;
    const Bytes src = Random(sp * h, 41);
    Bytes dst(2 * w * h + 16, kCanary);
    BITMAPINFOHEADER in = Header(w, h, sp * h), out = Header(w, h, 2 * w * h);
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
        BITMAPINFOHEADER in = Header(w, h, c.stated), out = Header(w, h, c.capacity);
        EXPECT_EQ(lumacore::ConvertFrame(lumacore::BoardAlignment{}, c.s, &in, src.data(), c.stated, c.d, &out,
                                         dst.data(), c.capacity, 1),
                  0u);
        EXPECT_EQ(FirstDifference(dst, Bytes(dst.size(), kCanary)), -1);
    }
}

}  // namespace
}  // namespace lumacore_test

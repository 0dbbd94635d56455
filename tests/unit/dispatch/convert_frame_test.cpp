// The dispatcher: which cells convert, what they report, and the bounds it
// keeps on both buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "dispatch/convert_frame.h"
#include "settings/codec_settings.h"
#include "formats/matrix_numbers.h"
#include "convert/packed_reorder.h"
#include "formats/fourcc.h"
#include "formats/line_pitch.h"
#include "tests/unit/test_bytes.h"

namespace lumacore {
namespace {

using lumacore_test::Random;

constexpr std::uint8_t kCanary = 0xA5;

BITMAPINFOHEADER Header(int code, std::int32_t w, std::int32_t h, std::uint32_t size = 0) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = code == FMT_RGB24 ? 24 : code == FMT_RGB32 ? 32 : 16;
    b.biCompression = (code == FMT_RGB24 || code == FMT_RGB32) ? BI_RGB : Fourcc("UYVY");
    b.biSizeImage = size;
    return b;
}

struct Result {
    std::uint32_t count;
    std::vector<std::uint8_t> dst;
};

// Converts with a destination buffer of `capacity` bytes followed by canaries.
Result Convert(int s, int d, std::uint32_t w, std::uint32_t h, const std::vector<std::uint8_t>& src,
               std::uint32_t src_size, std::uint32_t capacity, const CodecSettings& settings = DefaultSettings()) {
    BITMAPINFOHEADER in = Header(s, std::int32_t(w), std::int32_t(h), src_size);
    BITMAPINFOHEADER out = Header(d, std::int32_t(w), std::int32_t(h), capacity);
    std::vector<std::uint8_t> dst(capacity + 64, kCanary);
    const std::uint32_t n =
        ConvertFrame(AlignmentOf(settings), s, &in, src.data(), src_size, d, &out, dst.data(), capacity, MATRIX_CCIR601_STANDARD);
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
    EXPECT_EQ(ConvertFrame(BoardAlignment{}, FMT_YUY2, &in, src.data(), 0, FMT_UYVY, &out, dst.data(), 0, 1), size);
    EXPECT_EQ(dst[size], kCanary);
    // A destination narrower than the source cannot hold its lines.
    out.biWidth = 30;
    EXPECT_EQ(ConvertFrame(BoardAlignment{}, FMT_YUY2, &in, src.data(), size, FMT_UYVY, &out, dst.data(), size, 1),
              0u);
}

TEST(ConvertFrame, RefusesUnusableHeaders) {
    const auto src = Random(4096, 2);
    std::vector<std::uint8_t> dst(4096, kCanary);
    auto run = [&](std::int32_t w, std::int32_t h, std::int32_t dw) {
        BITMAPINFOHEADER in = Header(FMT_UYVY, w, h, 4096), out = Header(FMT_UYVY, dw, h, 4096);
        return ConvertFrame(BoardAlignment{}, FMT_UYVY, &in, src.data(), 4096, FMT_UYVY, &out, dst.data(), 4096, 1);
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

}  // namespace
}  // namespace lumacore

namespace lumacore {
namespace {

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

}  // namespace
}  // namespace lumacore

namespace lumacore {
namespace {

// A stated source size that is not a whole number of 2w-byte lines gives a
// pitch shorter than a line. Every route must then either read within the
// stated bytes (the source buffer ends exactly there, so the address
// sanitizer sees any byte past it) or refuse the frame and write nothing.
TEST(ConvertFrame, ShortStatedSourcesAreNeverReadPast) {
    const int sources[] = {FMT_YUY2, FMT_UYVY, FMT_CYUV, FMT_YVYU, FMT_V210};
    for (int s : sources) {
        for (int d = 0; d < kFormatCount; ++d) {
            for (std::uint32_t w : {2u, 8u, 13u, 48u}) {
                const std::uint32_t h = 3, whole = s == FMT_V210 ? V210LinePitch(w) * h : 2 * w * h;
                for (std::uint32_t stated : {whole - 4, whole - 1, whole}) {
                    const auto src = Random(stated, 31);
                    const std::uint32_t capacity = 4 * V210LinePitch(w) * h;
                    const Result r = Convert(s, d, w, h, src, stated, capacity);
                    if (r.count == 0) {
                        EXPECT_TRUE(Untouched(r.dst)) << s << "->" << d << " w " << w << " " << stated;
                    }
                }
            }
        }
    }
    // The case hosts met: YVYU 8x3 to RGB24 stating 44 of its 48 bytes.
    EXPECT_EQ(Convert(FMT_YVYU, FMT_RGB24, 8, 3, Random(44, 32), 44, 72).count, 0u);
}

}  // namespace
}  // namespace lumacore

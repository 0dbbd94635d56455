// Frames between the planar and v210 layouts and every other Y'CbCr layout,
// through Wine's VCM in both directions (ICDecompress and ICCompress), at
// the common frame sizes, checked byte for byte against the layout model.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/unit/dispatch/layout_model.h"
#include "tests/wine/vcm_fixture.h"

using namespace vcm_test;
using lumacore_test::Bytes;

namespace {

struct Layout {
    const char* fourcc;
    int code;
    WORD bits;
};

const Layout kLayouts[] = {
    {"UYVY", lumacore::FMT_UYVY, 16}, {"YUY2", lumacore::FMT_YUY2, 16}, {"YVYU", lumacore::FMT_YVYU, 16},
    {"cyuv", lumacore::FMT_CYUV, 16}, {"auv2", lumacore::FMT_AUV2, 16}, {"YV12", lumacore::FMT_YV12, 12},
    {"I420", lumacore::FMT_I420, 12}, {"IYUV", lumacore::FMT_I420, 12}, {"P422", lumacore::FMT_P422, 16},
    {"v210", lumacore::FMT_V210, 20}, {"a12v", lumacore::FMT_A12V, 16},
};

bool IsPacked(int code) { return !lumacore_test::IsPlanar(code) && !lumacore_test::IsTenBit(code); }
DWORD V210Pitch(DWORD w) { return (w + 47) / 48 * 128; }

// The frame of a layout without alignment settings, alpha area included.
DWORD FrameBytes(int code, DWORD w, DWORD h) {
    if (lumacore_test::IsPlanar(code)) return DWORD(lumacore_test::PlanarBytes(code, w, h));
    if (code == lumacore::FMT_V210) return V210Pitch(w) * h;
    if (code == lumacore::FMT_A12V) return V210Pitch(w) * h + h * 4 * ((w + 2) / 3);
    return 2 * w * h + (code == lumacore::FMT_AUV2 ? w * h : 0);
}
DWORD Pitch(int code, DWORD w) {
    return lumacore_test::IsPlanar(code) ? w : lumacore_test::IsTenBit(code) ? V210Pitch(w) : 2 * w;
}

// What the codec writes for `src` converted from one layout to another.
Bytes Expected(int from, int to, const Bytes& src, DWORD w, DWORD h, BYTE fill) {
    const int f = from == lumacore::FMT_AUV2 ? lumacore::FMT_UYVY : from == lumacore::FMT_A12V ? lumacore::FMT_V210 : from;
    const int t = to == lumacore::FMT_AUV2 ? lumacore::FMT_UYVY : to == lumacore::FMT_A12V ? lumacore::FMT_V210 : to;
    Bytes out(FrameBytes(to, w, h), fill);
    lumacore_test::CellModel(out, src, from, to, w, h, Pitch(t, w), Pitch(f, w));
    return out;
}

BITMAPINFOHEADER Header(const Layout& l, LONG w, LONG h, DWORD size) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = l.bits;
    b.biCompression = FccOf(l.fourcc);
    b.biSizeImage = size;
    return b;
}

constexpr BYTE kCanary = 0xA5;
struct Size {
    DWORD w, h;
};
constexpr Size kSizes[] = {{720, 486}, {1280, 720}, {1920, 1080}};

enum class Direction { Decompress, Compress };

// The driver is opened by the FourCC it is asked about; P422 is no FourCC
// it is installed for, so that side is asked through UYVY.
DWORD OpenedAs(const Layout& l) { return l.code == lumacore::FMT_P422 ? Fcc("UYVY") : FccOf(l.fourcc); }

// Every pair with a planar or v210 side (the packed and 10-bit copies are
// tested with the decompression path), one direction, at every size.
void ConvertEveryPair(Direction direction) {
    for (const Size& size : kSizes) {
        for (const Layout& from : kLayouts) {
            const DWORD in_size = FrameBytes(from.code, size.w, size.h);
            const Bytes frame = lumacore_test::Random(in_size, FccOf(from.fourcc) ^ size.w);
            for (const Layout& to : kLayouts) {
                if ((IsPacked(from.code) && IsPacked(to.code)) ||
                    (lumacore_test::IsTenBit(from.code) && lumacore_test::IsTenBit(to.code)))
                    continue;
                SCOPED_TRACE(std::string(from.fourcc) + " -> " + to.fourcc + " at " + std::to_string(size.w) + " x " +
                             std::to_string(size.h));
                const DWORD out_size = FrameBytes(to.code, size.w, size.h);
                Bytes dst(out_size + 64, kCanary);
                BITMAPINFOHEADER in = Header(from, LONG(size.w), LONG(size.h), in_size);
                BITMAPINFOHEADER out = Header(to, LONG(size.w), LONG(size.h), out_size);
                if (direction == Direction::Decompress) {
                    Compressor hic(ICTYPE_VIDEO, OpenedAs(from), ICMODE_DECOMPRESS);
                    ASSERT_TRUE(hic);
                    ASSERT_EQ(ICDecompressQuery(hic.get(), &in, &out), ICERR_OK);
                    ASSERT_EQ(ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(frame.data()), &out, dst.data()),
                              DWORD(ICERR_OK));
                } else {
                    Compressor hic(ICTYPE_VIDEO, OpenedAs(to), ICMODE_COMPRESS);
                    ASSERT_TRUE(hic);
                    ASSERT_EQ(ICCompressQuery(hic.get(), &in, &out), ICERR_OK);
                    DWORD ckid = 0, flags = 0;
                    ASSERT_EQ(ICCompress(hic.get(), ICCOMPRESS_KEYFRAME, &out, dst.data(), &in,
                                         const_cast<BYTE*>(frame.data()), &ckid, &flags, 0, 0, 0, nullptr, nullptr),
                              DWORD(ICERR_OK));
                    EXPECT_EQ(flags, DWORD(AVIIF_KEYFRAME));
                }
                EXPECT_EQ(out.biSizeImage, out_size);
                const Bytes want = Expected(from.code, to.code, frame, size.w, size.h, kCanary);
                ASSERT_EQ(0, std::memcmp(dst.data(), want.data(), out_size));
                for (DWORD i = out_size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary) << "past the frame";
            }
        }
    }
}

TEST(PlanarAndV210, EveryPairDecompressesByteForByte) { ConvertEveryPair(Direction::Decompress); }

TEST(PlanarAndV210, EveryPairCompressesByteForByte) { ConvertEveryPair(Direction::Compress); }

TEST(PlanarAndV210, OddSizesStayInsideTheHostsBuffers) {
    // 719 x 485: odd widths cut the final pair at the packed pitch and leave
    // a chroma row of its own to the last line of the 4:2:0 planes.
    const DWORD w = 719, h = 485;
    const Layout& i420 = kLayouts[6];
    const Layout& uyvy = kLayouts[0];
    const Layout& v210 = kLayouts[9];
    for (const Layout* from : {&i420, &uyvy, &v210}) {
        for (const Layout* to : {&i420, &uyvy, &v210}) {
            if (from == to) continue;
            SCOPED_TRACE(std::string(from->fourcc) + " -> " + to->fourcc);
            const DWORD in_size = FrameBytes(from->code, w, h), out_size = FrameBytes(to->code, w, h);
            const Bytes frame = lumacore_test::Random(in_size, in_size);
            Bytes dst(out_size + 64, kCanary);
            BITMAPINFOHEADER in = Header(*from, LONG(w), LONG(h), in_size);
            BITMAPINFOHEADER out = Header(*to, LONG(w), LONG(h), out_size);
            Compressor hic(ICTYPE_VIDEO, OpenedAs(*from), ICMODE_DECOMPRESS);
            ASSERT_EQ(ICDecompress(hic.get(), 0, &in, const_cast<BYTE*>(frame.data()), &out, dst.data()),
                      DWORD(ICERR_OK));
            EXPECT_EQ(out.biSizeImage, out_size);
            const Bytes want = Expected(from->code, to->code, frame, w, h, kCanary);
            ASSERT_EQ(0, std::memcmp(dst.data(), want.data(), out_size));
            for (DWORD i = out_size; i < dst.size(); ++i) ASSERT_EQ(dst[i], kCanary);
        }
    }
}

}  // namespace

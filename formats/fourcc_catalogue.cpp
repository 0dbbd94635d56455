#include "formats/fourcc_catalogue.h"

#include "formats/format_descriptor.h"
#include "formats/fourcc.h"

namespace lumacore {
namespace {

constexpr BitCountSet kPacked = Bits(16);
constexpr BitCountSet kPlanar = Bits(12) | Bits(16);
// v210 as other software writes it: 20 bits as well as 16.
constexpr BitCountSet kV210 = Bits(16) | Bits(20);

}  // namespace

const FourccEntry kFourccCatalogue[] = {
    {Fourcc("UYVY"), FMT_UYVY, kPacked, true, "YCbCr8 [UYVY]", "OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]"},
    {Fourcc("UYNV"), FMT_UYVY, kPacked, true, "YCbCr8 [UYNV]*", "OV 8 Bit Y'CbCr 4:2:2 [UYNV]"},
    {Fourcc("UYNY"), FMT_UYVY, kPacked, true, "YCbCr8 [UYNY]*", "OV 8 Bit Y'CbCr 4:2:2 [UYNY]"},
    {Fourcc("2vuy"), FMT_UYVY, kPacked, true, "YCbCrQ [2vuy]*", "OV 8 Bit Y'CbCr 4:2:2 [2vuy]"},
    {Fourcc("2Vuy"), FMT_UYVY, kPacked, true, "YCbCrQ [2Vuy]*", "OV 8 Bit Y'CbCr 4:2:2 [2Vuy]"},
    {Fourcc("yuv2"), FMT_UYVY, kPacked, true, "YCbCr8Q [yuv2]*", "OV 8 Bit Y'CbCr 4:2:2 QT [yuv2]"},
    {Fourcc("yuV2"), FMT_UYVY, kPacked, true, "YCbCrQ [yuV2]*", "OV 8 Bit Y'CbCr 4:2:2 QT CineWave [yuV2]"},
    {Fourcc("cyuv"), FMT_CYUV, kPacked, true, "YCbCr8 [cyuv]", "OV 8 Bit Y'CbCr 4:2:2 [cyuv]"},
    {Fourcc("YUY2"), FMT_YUY2, kPacked, true, "YCbCr8 [YUY2]", "OV 8 Bit Y'CbCr 4:2:2 [YUY2]"},
    {Fourcc("YUYV"), FMT_YUY2, kPacked, true, "YCbCr8 [YUYV]*", "OV 8 Bit Y'CbCr 4:2:2 [YUYV]"},
    {Fourcc("YUNV"), FMT_YUY2, kPacked, true, "YCbCr8 [YUNV]*", "OV 8 Bit Y'CbCr 4:2:2 [YUNV]"},
    {Fourcc("V422"), FMT_YUY2, kPacked, true, "YCbCr8 [V422]*", "OV 8 Bit Y'CbCr 4:2:2 [V422]"},
    {Fourcc("YVYU"), FMT_YVYU, kPacked, true, "YCbCr8 [YVYU]*", "OV 8 Bit Y'CbCr 4:2:2 [YVYU]"},
    {Fourcc("YV12"), FMT_YV12, kPlanar, true, "YCbCr420 [YV12]", "OV 8 Bit Y'CbCr 4:2:0 [YV12]"},
    {Fourcc("I420"), FMT_I420, kPlanar, true, "YCbCr420 [I420]", "OV 8 Bit Y'CbCr 4:2:0 [I420]"},
    {Fourcc("IYUV"), FMT_I420, kPlanar, true, "YCbCr420 [IYUV]", "OV 8 Bit Y'CbCr 4:2:0 [IYUV]"},
    {Fourcc("v210"), FMT_V210, kV210, true, "YCbCr10 [v210]", "OV 10 Bit Y'CbCr 4:2:2 [v210]"},
    {Fourcc("012v"), FMT_V210, kV210, true, "YCbCr10 [v210]", "OV 10 Bit Y'CbCr 4:2:2 [v210]"},
    {Fourcc("auv2"), FMT_AUV2, kPacked, true, "YCbCrA8 422:4", "OV 8 Bit Y'CbCr 4:2:2:4"},
    {Fourcc("a12v"), FMT_A12V, kPacked, true, "YCbCrA10 422:4", "OV 10 Bit Y'CbCr 4:2:2:4"},
    // Mapped to a layout, but not one the driver answers under.
    {Fourcc("P422"), FMT_P422, kPlanar, false, nullptr, nullptr},
};
const int kFourccCatalogueSize = int(sizeof kFourccCatalogue / sizeof kFourccCatalogue[0]);

const FourccEntry* FindFourcc(std::uint32_t fourcc) {
    for (const FourccEntry& e : kFourccCatalogue)
        if (e.fourcc == fourcc) return &e;
    return nullptr;
}

bool IsKnownFourcc(std::uint32_t fourcc) {
    const FourccEntry* e = FindFourcc(fourcc);
    return e && e->known;
}

std::int32_t NaturalBitCount(std::uint32_t fourcc) {
    const FourccEntry* e = FindFourcc(fourcc);
    return e ? DescriptorOf(e->code).natural_bits : 16;
}

std::uint32_t NormaliseFourcc(std::uint32_t fourcc) {
    if (IsKnownFourcc(fourcc)) return fourcc;
    std::uint32_t out = fourcc;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t c = (fourcc >> shift) & 0xFFu;
        if (c >= 'a' && c <= 'z') out &= ~(0x20u << shift);
    }
    return out;
}

}  // namespace lumacore

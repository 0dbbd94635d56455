#include "formats/format_code.h"

#include "formats/fourcc_catalogue.h"

namespace lumacore {

FormatCode FormatCodeOfHeader(const BITMAPINFOHEADER* header) {
    if (!header || header->biHeight < 0) return FMT_NONE;
    const int bits = header->biBitCount;
    if (header->biCompression == BI_RGB) {
        if (bits == 24) return FormatCode(FMT_FLAG_RGB | FMT_RGB24);
        if (bits == 32) return FormatCode(FMT_FLAG_RGB | FMT_RGB32);
        return FMT_NONE;
    }
    const FourccEntry* entry = FindFourcc(header->biCompression);
    if (!entry || bits >= 32 || !(entry->bit_counts & Bits(bits))) return FMT_NONE;
    return entry->code;
}

DWORD DefaultLinePitch(int code, DWORD width) {
    switch (code) {
        case FMT_YV12:
        case FMT_I420:
        case FMT_P422:
            return width;
        case FMT_RGB24:
            return 3 * width;
        case FMT_RGB32:
            return 4 * width;
        case FMT_V210:
            // 1280 and 2048 are the v210 lengths rounded up to 128 bytes.
            if (width == 1280) return 3456;
            if (width == 2048) return 5504;
            return 16 * width / 6;
        case FMT_A12V:
            return 15 * width / 6;
        default:
            return 2 * width;
    }
}

}  // namespace lumacore

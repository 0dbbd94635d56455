// Internal format codes: the pixel layouts the conversions know.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace lumacore {

enum FormatCodeValue : std::int32_t {
    FMT_YV12 = 0,
    FMT_YUY2 = 1,
    FMT_UYVY = 2,
    FMT_CYUV = 3,
    FMT_I420 = 4,
    FMT_RGB24 = 5,
    FMT_YVYU = 6,
    FMT_RGB32 = 7,
    FMT_RGB555 = 8,
    FMT_RGB565 = 9,
    FMT_V210 = 10,
    FMT_P422 = 11,
    FMT_AUV2 = 12,
    FMT_A12V = 13,
};

inline constexpr int kFormatCount = 14;
inline constexpr std::int32_t FMT_NONE = -1;
// Set on the codes of RGB headers; routines are chosen by the low byte.
inline constexpr std::uint32_t FMT_FLAG_RGB = 0x80000000u;

using FormatCode = std::int32_t;

// The layout of a bitmap header, or FMT_NONE.
FormatCode FormatCodeOfHeader(const BITMAPINFOHEADER* header);

// Bytes per line of `code` at `width` pixels, before any board alignment.
DWORD DefaultLinePitch(int code, DWORD width);

}  // namespace lumacore

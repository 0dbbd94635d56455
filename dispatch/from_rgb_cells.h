// Cells served by the RGB to Y'CbCr conversions.
#pragma once

#include "colour/rgb_to_alpha.h"
#include "colour/rgb_to_ycbcr_routines.h"
#include "dispatch/conversion_table.h"

namespace lumacore::from_rgb_cells {

// auv2 and a12v destinations get a UYVY or v210 colour part. From RGB24 their
// alpha area is zeros; from RGB32 it comes from each pixel's fourth byte.
inline constexpr CellEntry kCells[] = {
    {FMT_RGB24, FMT_YV12, RgbCell(&Rgb24ToYv12, &Rgb24ToYv12Lines)},
    {FMT_RGB24, FMT_YUY2, RgbCell(&Rgb24ToYuy2)},
    {FMT_RGB24, FMT_UYVY, RgbCell(&Rgb24ToUyvy)},
    {FMT_RGB24, FMT_CYUV, RgbCell(&Rgb24ToCyuv)},
    {FMT_RGB24, FMT_I420, RgbCell(&Rgb24ToI420, &Rgb24ToI420Lines)},
    {FMT_RGB24, FMT_YVYU, RgbCell(&Rgb24ToYvyu)},
    {FMT_RGB24, FMT_V210, RgbCell(&Rgb24ToV210)},
    {FMT_RGB24, FMT_P422, RgbCell(&Rgb24ToP422, &Rgb24ToP422Lines)},
    {FMT_RGB24, FMT_AUV2, WithZeroAlpha(RgbCell(&Rgb24ToUyvy))},
    {FMT_RGB24, FMT_A12V, WithZeroAlpha(RgbCell(&Rgb24ToV210))},
    {FMT_RGB32, FMT_YV12, RgbCell(&Rgb32ToYv12, &Rgb32ToYv12Lines)},
    {FMT_RGB32, FMT_YUY2, RgbCell(&Rgb32ToYuy2)},
    {FMT_RGB32, FMT_UYVY, RgbCell(&Rgb32ToUyvy)},
    {FMT_RGB32, FMT_CYUV, RgbCell(&Rgb32ToCyuv)},
    {FMT_RGB32, FMT_I420, RgbCell(&Rgb32ToI420, &Rgb32ToI420Lines)},
    {FMT_RGB32, FMT_YVYU, RgbCell(&Rgb32ToYvyu)},
    {FMT_RGB32, FMT_V210, RgbCell(&Rgb32ToV210)},
    {FMT_RGB32, FMT_P422, RgbCell(&Rgb32ToP422, &Rgb32ToP422Lines)},
    {FMT_RGB32, FMT_AUV2, {nullptr, &Rgb32ToUyvy, LineUse::Natural, AlphaRule::FromRgb32, &RgbAlphaToPlane8}},
    {FMT_RGB32, FMT_A12V, {nullptr, &Rgb32ToV210, LineUse::Natural, AlphaRule::FromRgb32, &RgbAlphaToPacked10}},
};

}  // namespace lumacore::from_rgb_cells

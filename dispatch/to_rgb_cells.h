// Cells served by the Y'CbCr to RGB conversions.
#pragma once

#include "colour/to_rgb_routines.h"
#include "dispatch/conversion_table.h"

namespace lumacore::to_rgb_cells {

// After the colour, the source's alpha goes into the fourth byte of every
// 32-bit pixel.
constexpr ConversionCell WithAlphaToRgb32(ConversionCell cell, RgbConvertRoutine alpha) {
    cell.alpha = AlphaRule::ToRgb32;
    cell.alpha_routine = alpha;
    return cell;
}

// v210 lines are read whole groups at a time, up to the end of the frame.
constexpr ConversionCell V210Cell(RgbConvertRoutine routine) { return {nullptr, routine, LineUse::V210Lines}; }

// auv2 converts as its UYVY colour part and a12v as its v210 colour part.
inline constexpr CellEntry kCells[] = {
    {FMT_YV12, FMT_RGB24, RgbCell(&Yv12ToRgb24, &Yv12ToRgb24Lines)},
    {FMT_YV12, FMT_RGB32, RgbCell(&Yv12ToRgb32, &Yv12ToRgb32Lines)},
    {FMT_YV12, FMT_RGB555, RgbCell(&Yv12ToRgb555, &Yv12ToRgb555Lines)},
    {FMT_YV12, FMT_RGB565, RgbCell(&Yv12ToRgb565, &Yv12ToRgb565Lines)},
    {FMT_YUY2, FMT_RGB24, RgbCell(&Yuy2ToRgb24)},
    {FMT_YUY2, FMT_RGB32, RgbCell(&Yuy2ToRgb32)},
    {FMT_YUY2, FMT_RGB555, RgbCell(&Yuy2ToRgb555)},
    {FMT_YUY2, FMT_RGB565, RgbCell(&Yuy2ToRgb565)},
    {FMT_UYVY, FMT_RGB24, RgbCell(&UyvyToRgb24)},
    {FMT_UYVY, FMT_RGB32, RgbCell(&UyvyToRgb32)},
    {FMT_UYVY, FMT_RGB555, RgbCell(&UyvyToRgb555)},
    {FMT_UYVY, FMT_RGB565, RgbCell(&UyvyToRgb565)},
    {FMT_CYUV, FMT_RGB24, RgbCell(&CyuvToRgb24)},
    {FMT_CYUV, FMT_RGB32, RgbCell(&CyuvToRgb32)},
    {FMT_CYUV, FMT_RGB555, RgbCell(&CyuvToRgb555)},
    {FMT_CYUV, FMT_RGB565, RgbCell(&CyuvToRgb565)},
    {FMT_I420, FMT_RGB24, RgbCell(&I420ToRgb24, &I420ToRgb24Lines)},
    {FMT_I420, FMT_RGB32, RgbCell(&I420ToRgb32, &I420ToRgb32Lines)},
    {FMT_I420, FMT_RGB555, RgbCell(&I420ToRgb555, &I420ToRgb555Lines)},
    {FMT_I420, FMT_RGB565, RgbCell(&I420ToRgb565, &I420ToRgb565Lines)},
    {FMT_YVYU, FMT_RGB24, RgbCell(&YvyuToRgb24)},
    {FMT_YVYU, FMT_RGB32, RgbCell(&YvyuToRgb32)},
    {FMT_YVYU, FMT_RGB555, RgbCell(&YvyuToRgb555)},
    {FMT_YVYU, FMT_RGB565, RgbCell(&YvyuToRgb565)},
    {FMT_V210, FMT_RGB24, V210Cell(&V210ToRgb24)},
    {FMT_V210, FMT_RGB32, V210Cell(&V210ToRgb32)},
    {FMT_V210, FMT_RGB555, V210Cell(&V210ToRgb555)},
    {FMT_V210, FMT_RGB565, V210Cell(&V210ToRgb565)},
    {FMT_P422, FMT_RGB24, RgbCell(&P422ToRgb24, &P422ToRgb24Lines)},
    {FMT_P422, FMT_RGB32, RgbCell(&P422ToRgb32, &P422ToRgb32Lines)},
    {FMT_P422, FMT_RGB555, RgbCell(&P422ToRgb555, &P422ToRgb555Lines)},
    {FMT_P422, FMT_RGB565, RgbCell(&P422ToRgb565, &P422ToRgb565Lines)},
    {FMT_AUV2, FMT_RGB24, RgbCell(&UyvyToRgb24)},
    {FMT_AUV2, FMT_RGB32, WithAlphaToRgb32(RgbCell(&UyvyToRgb32), &Plane8AlphaToRgb32)},
    {FMT_AUV2, FMT_RGB555, RgbCell(&UyvyToRgb555)},
    {FMT_AUV2, FMT_RGB565, RgbCell(&UyvyToRgb565)},
    {FMT_A12V, FMT_RGB24, V210Cell(&V210ToRgb24)},
    {FMT_A12V, FMT_RGB32, WithAlphaToRgb32(V210Cell(&V210ToRgb32), &Packed10AlphaToRgb32)},
    {FMT_A12V, FMT_RGB555, V210Cell(&V210ToRgb555)},
    {FMT_A12V, FMT_RGB565, V210Cell(&V210ToRgb565)},
};

}  // namespace lumacore::to_rgb_cells

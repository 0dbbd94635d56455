// Cells served by the frame copies and packed 4:2:2 reorders.
#pragma once

#include "dispatch/conversion_table.h"
#include "convert/frame_copy.h"
#include "convert/packed_reorder.h"

namespace lumacore::copy_cells {

inline constexpr ConversionCell kCopy = PlainCell(&CopyFrame, LineUse::Prefix);
inline constexpr ConversionCell kFlip = PlainCell(&FlipFrame, LineUse::Prefix);
inline constexpr ConversionCell kSwap16 = PlainCell(&Swap16Frame, LineUse::Units);
inline constexpr ConversionCell kSwap16Flip = PlainCell(&Swap16FlipFrame, LineUse::Units);
inline constexpr ConversionCell kSwapChroma = PlainCell(&SwapChromaFrame, LineUse::Pairs);
inline constexpr ConversionCell kRotateFront = PlainCell(&RotateFrontFrame, LineUse::Pairs);
inline constexpr ConversionCell kRotateFrontFlip = PlainCell(&RotateFrontFlipFrame, LineUse::Pairs);
inline constexpr ConversionCell kRotateBack = PlainCell(&RotateBackFrame, LineUse::Pairs);
inline constexpr ConversionCell kRotateBackFlip = PlainCell(&RotateBackFlipFrame, LineUse::Pairs);
inline constexpr ConversionCell kWholeCopy{nullptr, nullptr, LineUse::Prefix, AlphaRule::WholeCopy};

// auv2 sources are read as their UYVY colour part; auv2 destinations get a
// UYVY colour part and a zero alpha plane. a12v is a v210 frame plus alpha.
inline constexpr CellEntry kCells[] = {
    {FMT_YUY2, FMT_YUY2, kCopy},
    {FMT_YUY2, FMT_UYVY, kSwap16},
    {FMT_YUY2, FMT_CYUV, kSwap16Flip},
    {FMT_YUY2, FMT_YVYU, kSwapChroma},
    {FMT_YUY2, FMT_AUV2, WithZeroAlpha(kSwap16)},
    {FMT_UYVY, FMT_YUY2, kSwap16},
    {FMT_UYVY, FMT_UYVY, kCopy},
    {FMT_UYVY, FMT_CYUV, kFlip},
    {FMT_UYVY, FMT_YVYU, kRotateFront},
    {FMT_UYVY, FMT_AUV2, WithZeroAlpha(kCopy)},
    {FMT_CYUV, FMT_YUY2, kSwap16Flip},
    {FMT_CYUV, FMT_UYVY, kFlip},
    {FMT_CYUV, FMT_CYUV, kCopy},
    {FMT_CYUV, FMT_YVYU, kRotateFrontFlip},
    {FMT_CYUV, FMT_AUV2, WithZeroAlpha(kFlip)},
    {FMT_YVYU, FMT_YUY2, kSwapChroma},
    {FMT_YVYU, FMT_UYVY, kRotateBack},
    {FMT_YVYU, FMT_CYUV, kRotateBackFlip},
    {FMT_YVYU, FMT_YVYU, kCopy},
    {FMT_YVYU, FMT_AUV2, WithZeroAlpha(kRotateBack)},
    {FMT_AUV2, FMT_YUY2, kSwap16},
    {FMT_AUV2, FMT_UYVY, kCopy},
    {FMT_AUV2, FMT_CYUV, kFlip},
    {FMT_AUV2, FMT_YVYU, kRotateFront},
    {FMT_AUV2, FMT_AUV2, kWholeCopy},
    {FMT_V210, FMT_V210, kCopy},
    {FMT_V210, FMT_A12V, WithZeroAlpha(kCopy)},
    {FMT_A12V, FMT_V210, kCopy},
    {FMT_A12V, FMT_A12V, kWholeCopy},
};

}  // namespace lumacore::copy_cells

#include "convert/conversion_table.h"

#include "convert/frame_copy.h"
#include "convert/packed_reorder.h"

namespace lumacore {
namespace {

constexpr ConversionCell Plain(ConvertRoutine routine, LineUse use) {
    return {routine, nullptr, use, AlphaRule::None};
}

constexpr ConversionCell kNone{nullptr, nullptr, LineUse::Prefix, AlphaRule::None};
constexpr ConversionCell kCopy = Plain(&CopyFrame, LineUse::Prefix);
constexpr ConversionCell kFlip = Plain(&FlipFrame, LineUse::Prefix);
constexpr ConversionCell kSwap16 = Plain(&Swap16Frame, LineUse::Pairs);
constexpr ConversionCell kSwap16Flip = Plain(&Swap16FlipFrame, LineUse::Pairs);
constexpr ConversionCell kSwapChroma = Plain(&SwapChromaFrame, LineUse::Pairs);
constexpr ConversionCell kRotateFront = Plain(&RotateFrontFrame, LineUse::Pairs);
constexpr ConversionCell kRotateFrontFlip = Plain(&RotateFrontFlipFrame, LineUse::Pairs);
constexpr ConversionCell kRotateBack = Plain(&RotateBackFrame, LineUse::Pairs);
constexpr ConversionCell kRotateBackFlip = Plain(&RotateBackFlipFrame, LineUse::Pairs);
constexpr ConversionCell kWholeCopy{nullptr, nullptr, LineUse::Prefix, AlphaRule::WholeCopy};

constexpr ConversionCell WithZeroAlpha(ConversionCell cell) {
    cell.alpha = AlphaRule::Zero;
    return cell;
}

// Cells whose routines come with the planar, v210 and RGB families are
// kNone until those families exist.
constexpr ConversionCell N = kNone;

}  // namespace

std::uint32_t NaturalLineBytes(int code, std::uint32_t width) {
    switch (code) {
        case FMT_YV12:
        case FMT_I420:
        case FMT_P422:
            return width;
        case FMT_RGB24:
            return 3u * width;
        case FMT_RGB32:
            return 4u * width;
        case FMT_V210:
        case FMT_A12V:
            return 16u * ((width + 5u) / 6u);
        default:
            return 2u * width;
    }
}

// Columns: YV12 YUY2 UYVY CYUV I420 RGB24 YVYU RGB32 RGB555 RGB565 V210 P422 AUV2 A12V
const ConversionCell kConversionTable[kFormatCount][kFormatCount] = {
    /* YV12 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* YUY2 */ {N, kCopy, kSwap16, kSwap16Flip, N, N, kSwapChroma, N, N, N, N, N, WithZeroAlpha(kSwap16), N},
    /* UYVY */ {N, kSwap16, kCopy, kFlip, N, N, kRotateFront, N, N, N, N, N, WithZeroAlpha(kCopy), N},
    /* CYUV */ {N, kSwap16Flip, kFlip, kCopy, N, N, kRotateFrontFlip, N, N, N, N, N, WithZeroAlpha(kFlip), N},
    /* I420 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* RGB24 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* YVYU */ {N, kSwapChroma, kRotateBack, kRotateBackFlip, N, N, kCopy, N, N, N, N, N, WithZeroAlpha(kRotateBack), N},
    /* RGB32 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* RGB555 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* RGB565 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* V210 */ {N, N, N, N, N, N, N, N, N, N, kCopy, N, N, WithZeroAlpha(kCopy)},
    /* P422 */ {N, N, N, N, N, N, N, N, N, N, N, N, N, N},
    /* AUV2 */ {N, kSwap16, kCopy, kFlip, N, N, kRotateFront, N, N, N, N, N, kWholeCopy, N},
    /* A12V */ {N, N, N, N, N, N, N, N, N, N, kCopy, N, N, kWholeCopy},
};

}  // namespace lumacore

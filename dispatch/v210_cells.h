// Cells served by the v210 packing and unpacking.
#pragma once

#include "dispatch/conversion_table.h"
#include "convert/v210_pack.h"
#include "convert/v210_unpack.h"

namespace lumacore::v210_cells {

template <int Src>
inline constexpr ConversionCell kPack = PlainCell(&PackFrame<Src>, LineUse::Natural);
inline constexpr ConversionCell kPackUyvy = PlainCell(&PackUyvyFrame, LineUse::Natural);
template <int Dst>
inline constexpr ConversionCell kUnpack = PlainCell(&UnpackFrame<Dst>, LineUse::V210Lines);
inline constexpr ConversionCell kUnpackUyvy = PlainCell(&UnpackUyvyFrame, LineUse::V210Lines);

// a12v is a v210 frame and an alpha area: it is packed into and unpacked
// from as v210, and as a destination gets a zero alpha area; auv2 is a
// UYVY frame and an alpha plane likewise.
inline constexpr CellEntry kCells[] = {
    {FMT_YV12, FMT_V210, kPack<FMT_YV12>},
    {FMT_YV12, FMT_A12V, WithZeroAlpha(kPack<FMT_YV12>)},
    {FMT_YUY2, FMT_V210, kPack<FMT_YUY2>},
    {FMT_YUY2, FMT_A12V, WithZeroAlpha(kPack<FMT_YUY2>)},
    {FMT_UYVY, FMT_V210, kPackUyvy},
    {FMT_UYVY, FMT_A12V, WithZeroAlpha(kPackUyvy)},
    {FMT_CYUV, FMT_V210, kPack<FMT_CYUV>},
    {FMT_CYUV, FMT_A12V, WithZeroAlpha(kPack<FMT_CYUV>)},
    {FMT_I420, FMT_V210, kPack<FMT_I420>},
    {FMT_I420, FMT_A12V, WithZeroAlpha(kPack<FMT_I420>)},
    {FMT_YVYU, FMT_V210, kPack<FMT_YVYU>},
    {FMT_YVYU, FMT_A12V, WithZeroAlpha(kPack<FMT_YVYU>)},
    {FMT_P422, FMT_V210, kPack<FMT_P422>},
    {FMT_P422, FMT_A12V, WithZeroAlpha(kPack<FMT_P422>)},
    {FMT_AUV2, FMT_V210, kPackUyvy},
    {FMT_AUV2, FMT_A12V, WithZeroAlpha(kPackUyvy)},

    {FMT_V210, FMT_YV12, kUnpack<FMT_YV12>},
    {FMT_V210, FMT_YUY2, kUnpack<FMT_YUY2>},
    {FMT_V210, FMT_UYVY, kUnpackUyvy},
    {FMT_V210, FMT_CYUV, kUnpack<FMT_CYUV>},
    {FMT_V210, FMT_I420, kUnpack<FMT_I420>},
    {FMT_V210, FMT_YVYU, kUnpack<FMT_YVYU>},
    {FMT_V210, FMT_P422, kUnpack<FMT_P422>},
    {FMT_V210, FMT_AUV2, WithZeroAlpha(kUnpackUyvy)},
    {FMT_A12V, FMT_YV12, kUnpack<FMT_YV12>},
    {FMT_A12V, FMT_YUY2, kUnpack<FMT_YUY2>},
    {FMT_A12V, FMT_UYVY, kUnpackUyvy},
    {FMT_A12V, FMT_CYUV, kUnpack<FMT_CYUV>},
    {FMT_A12V, FMT_I420, kUnpack<FMT_I420>},
    {FMT_A12V, FMT_YVYU, kUnpack<FMT_YVYU>},
    {FMT_A12V, FMT_P422, kUnpack<FMT_P422>},
    {FMT_A12V, FMT_AUV2, WithZeroAlpha(kUnpackUyvy)},
};

}  // namespace lumacore::v210_cells

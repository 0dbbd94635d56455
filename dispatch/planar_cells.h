// Cells served by the packed <-> planar and planar <-> planar conversions.
#pragma once

#include "dispatch/conversion_table.h"
#include "convert/planar_merge.h"
#include "convert/planar_resample.h"
#include "convert/planar_split.h"

namespace lumacore::planar_cells {

template <int Packed, int Planar>
inline constexpr ConversionCell kSplit = PlainCell(&SplitFrame<Packed, Planar>, LineUse::Natural);
template <int Planar, int Packed>
inline constexpr ConversionCell kMerge = PlainCell(&MergeFrame<Planar, Packed>, LineUse::Natural);
template <int From, int To>
inline constexpr ConversionCell kPlane = PlainCell(&PlaneFrame<From, To>, LineUse::Natural);

// auv2 sources are split as their UYVY colour part; auv2 destinations get a
// merged UYVY colour part and a zero alpha plane. cyuv is UYVY bottom line
// first on either side.
inline constexpr CellEntry kCells[] = {
    {FMT_YUY2, FMT_YV12, kSplit<FMT_YUY2, FMT_YV12>},
    {FMT_YUY2, FMT_I420, kSplit<FMT_YUY2, FMT_I420>},
    {FMT_YUY2, FMT_P422, kSplit<FMT_YUY2, FMT_P422>},
    {FMT_UYVY, FMT_YV12, kSplit<FMT_UYVY, FMT_YV12>},
    {FMT_UYVY, FMT_I420, kSplit<FMT_UYVY, FMT_I420>},
    {FMT_UYVY, FMT_P422, kSplit<FMT_UYVY, FMT_P422>},
    {FMT_CYUV, FMT_YV12, kSplit<FMT_CYUV, FMT_YV12>},
    {FMT_CYUV, FMT_I420, kSplit<FMT_CYUV, FMT_I420>},
    {FMT_CYUV, FMT_P422, kSplit<FMT_CYUV, FMT_P422>},
    {FMT_YVYU, FMT_YV12, kSplit<FMT_YVYU, FMT_YV12>},
    {FMT_YVYU, FMT_I420, kSplit<FMT_YVYU, FMT_I420>},
    {FMT_YVYU, FMT_P422, kSplit<FMT_YVYU, FMT_P422>},
    {FMT_AUV2, FMT_YV12, kSplit<FMT_UYVY, FMT_YV12>},
    {FMT_AUV2, FMT_I420, kSplit<FMT_UYVY, FMT_I420>},
    {FMT_AUV2, FMT_P422, kSplit<FMT_UYVY, FMT_P422>},

    {FMT_YV12, FMT_YUY2, kMerge<FMT_YV12, FMT_YUY2>},
    {FMT_YV12, FMT_UYVY, kMerge<FMT_YV12, FMT_UYVY>},
    {FMT_YV12, FMT_CYUV, kMerge<FMT_YV12, FMT_CYUV>},
    {FMT_YV12, FMT_YVYU, kMerge<FMT_YV12, FMT_YVYU>},
    {FMT_YV12, FMT_AUV2, WithZeroAlpha(kMerge<FMT_YV12, FMT_UYVY>)},
    {FMT_I420, FMT_YUY2, kMerge<FMT_I420, FMT_YUY2>},
    {FMT_I420, FMT_UYVY, kMerge<FMT_I420, FMT_UYVY>},
    {FMT_I420, FMT_CYUV, kMerge<FMT_I420, FMT_CYUV>},
    {FMT_I420, FMT_YVYU, kMerge<FMT_I420, FMT_YVYU>},
    {FMT_I420, FMT_AUV2, WithZeroAlpha(kMerge<FMT_I420, FMT_UYVY>)},
    {FMT_P422, FMT_YUY2, kMerge<FMT_P422, FMT_YUY2>},
    {FMT_P422, FMT_UYVY, kMerge<FMT_P422, FMT_UYVY>},
    {FMT_P422, FMT_CYUV, kMerge<FMT_P422, FMT_CYUV>},
    {FMT_P422, FMT_YVYU, kMerge<FMT_P422, FMT_YVYU>},
    {FMT_P422, FMT_AUV2, WithZeroAlpha(kMerge<FMT_P422, FMT_UYVY>)},

    {FMT_YV12, FMT_YV12, kPlane<FMT_YV12, FMT_YV12>},
    {FMT_YV12, FMT_I420, kPlane<FMT_YV12, FMT_I420>},
    {FMT_YV12, FMT_P422, kPlane<FMT_YV12, FMT_P422>},
    {FMT_I420, FMT_YV12, kPlane<FMT_I420, FMT_YV12>},
    {FMT_I420, FMT_I420, kPlane<FMT_I420, FMT_I420>},
    {FMT_I420, FMT_P422, kPlane<FMT_I420, FMT_P422>},
    {FMT_P422, FMT_YV12, kPlane<FMT_P422, FMT_YV12>},
    {FMT_P422, FMT_I420, kPlane<FMT_P422, FMT_I420>},
    {FMT_P422, FMT_P422, kPlane<FMT_P422, FMT_P422>},
};

}  // namespace lumacore::planar_cells

#include "formats/format_descriptor.h"

namespace lumacore {
namespace {

using K = LayoutKind;
using R = ChromaRows;
using A = AlphaArea;

constexpr PairOrder kNoPairs{0, 0, 0};

// By format code. auv2 and cyuv carry UYVY-ordered colour.
constexpr FormatDescriptor kDescriptors[kFormatCount] = {
    {"YV12", K::Planar, 12, R::PerTwoLines, true, kNoPairs, false, A::None},
    {"YUY2", K::Packed8, 16, R::None, false, kOrderYuy2, false, A::None},
    {"UYVY", K::Packed8, 16, R::None, false, kOrderUyvy, false, A::None},
    {"cyuv", K::Packed8, 16, R::None, false, kOrderUyvy, true, A::None},
    {"I420", K::Planar, 12, R::PerTwoLines, false, kNoPairs, false, A::None},
    {"RGB24", K::Rgb, 24, R::None, false, kNoPairs, true, A::None},
    {"YVYU", K::Packed8, 16, R::None, false, kOrderYvyu, false, A::None},
    {"RGB32", K::Rgb, 32, R::None, false, kNoPairs, true, A::None},
    {"RGB555", K::Rgb, 16, R::None, false, kNoPairs, true, A::None},
    {"RGB565", K::Rgb, 16, R::None, false, kNoPairs, true, A::None},
    {"v210", K::TenBit, 16, R::None, false, kNoPairs, false, A::None},
    {"P422", K::Planar, 16, R::PerLine, false, kNoPairs, false, A::None},
    {"auv2", K::Packed8, 16, R::None, false, kOrderUyvy, false, A::Plane8},
    {"a12v", K::TenBit, 16, R::None, false, kNoPairs, false, A::Packed10},
};

}  // namespace

const FormatDescriptor& DescriptorOf(int code) { return kDescriptors[code]; }

}  // namespace lumacore

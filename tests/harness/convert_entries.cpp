// Harness entries of the byte kernels: copies, reorders, line swaps, packed
// <-> planar pairs and the v210 groups.
#include <cstring>

#include "convert/planar_merge.h"
#include "convert/planar_split.h"
#include "convert/simd/copy_bytes_kernels.h"
#include "convert/simd/packed_reorder_kernels.h"
#include "convert/simd/planar_kernels.h"
#include "convert/simd/v210_kernels.h"
#include "engine/simd/reverse_lines_kernels.h"
#include "tests/harness/kernel_harness.h"

namespace kernel_harness {
namespace {

using namespace lumacore;
using U8 = std::uint8_t;
using U32 = std::uint32_t;

template <CopyKernel K>
U32 Copy(const Call& c) {
    K(c.dst[0], c.src[0], c.n);
    return c.n;
}
U32 CopyPlain(const Call& c) {
    std::memcpy(c.dst[0], c.src[0], c.n);
    return c.n;
}

// Runs of lines: three, the source forward with 3 bytes between lines, the
// destination bottom line first with 29 bytes between.
constexpr U32 kLines = 3;
std::size_t LinesSrc(U32 n, int) { return kLines * (n + 3) - 3; }
std::size_t LinesDst(U32 n, int) { return kLines * (n + 29); }
U8* LastLine(const Call& c, std::ptrdiff_t pitch) { return c.dst[0] + (kLines - 1) * pitch; }
template <CopyLinesKernel K>
U32 CopyLines(const Call& c) {
    K(LastLine(c, c.n + 29), -std::ptrdiff_t(c.n + 29), c.src[0], c.n + 3, c.n, kLines);
    return c.n;
}
U32 CopyLinesPlain(const Call& c) {
    for (U32 k = 0; k < kLines; ++k)
        std::memcpy(LastLine(c, c.n + 29) - std::ptrdiff_t(k) * (c.n + 29), c.src[0] + k * (c.n + 3), c.n);
    return c.n;
}

// Reorders, variant = reorder + 4 when streaming: three lines of pairs, the
// destination bottom line first with 12 bytes between lines.
using ReorderKernel = void (*)(Reorder, U8*, std::ptrdiff_t, const U8*, std::ptrdiff_t, U32, U32, bool);
std::size_t ReorderSrc(U32 n, int) { return kLines * 4 * std::size_t(n); }
std::size_t ReorderDst(U32 n, int) { return kLines * (4 * std::size_t(n) + 12); }
template <ReorderKernel K>
U32 ReorderRun(const Call& c) {
    const std::ptrdiff_t dp = 4 * std::ptrdiff_t(c.n) + 12;
    K(Reorder(c.variant % 4), LastLine(c, dp), -dp, c.src[0], 4 * std::ptrdiff_t(c.n), c.n, kLines, c.variant >= 4);
    return c.n;
}

template <void (*K)(U8*, U8*, U32)>
U32 Swap(const Call& c) {
    K(c.dst[0], c.dst[1], c.n);
    return c.n;
}

// Packed <-> planar: variant bit 0 puts the luma at the odd bytes, bit 1
// asks a split for the luma only.
LumaPlace PlaceOf(int variant) { return variant & 1 ? LumaPlace::Odd : LumaPlace::Even; }
U8* Chroma(const Call& c, int plane) { return c.variant & 2 ? nullptr : c.dst[plane]; }
template <U32 (*K)(LumaPlace, U8*, U8*, U8*, const U8*, U32)>
U32 Split(const Call& c) {
    return K(PlaceOf(c.variant), c.dst[0], Chroma(c, 1), Chroma(c, 2), c.src[0], c.n);
}
U32 SplitPlain(const Call& c) {
    SplitPairs(SimdTier::Plain, PlaceOf(c.variant), c.dst[0], Chroma(c, 1), Chroma(c, 2), c.src[0], c.n);
    return c.n;
}

template <U32 (*K)(LumaPlace, U8*, const U8*, const U8*, const U8*, U32)>
U32 Merge(const Call& c) {
    return K(PlaceOf(c.variant), c.dst[0], c.src[0], c.src[1], c.src[2], c.n);
}
U32 MergePlain(const Call& c) {
    MergePairs(SimdTier::Plain, PlaceOf(c.variant), c.dst[0], c.src[0], c.src[1], c.src[2], c.n);
    return c.n;
}

template <U32 (*K)(U8*, const U8*, U32)>
U32 Groups(const Call& c) {
    return K(c.dst[0], c.src[0], c.n);
}

// v210 groups to planes (variant 1: luma only): the plain unpacking to UYVY,
// then the plain split.
U8* PlaneChroma(const Call& c, int plane) { return c.variant ? nullptr : c.dst[plane]; }
U32 ToPlanesPlain(const Call& c) {
    std::vector<U8> uyvy(12 * std::size_t(c.n));
    UnpackGroupsPlain(uyvy.data(), c.src[0], c.n);
    SplitPairs(SimdTier::Plain, LumaPlace::Odd, c.dst[0], PlaneChroma(c, 1), PlaneChroma(c, 2), uyvy.data(), 3 * c.n);
    return c.n;
}
U32 ToPlanesAvx2(const Call& c) {
    return UnpackGroupsToPlanesAvx2(c.dst[0], PlaneChroma(c, 1), PlaneChroma(c, 2), c.src[0], c.n);
}

}  // namespace

void AddConvertEntries(std::vector<Entry>& table) {
    const std::vector<std::uint32_t> lines = {1920 * 4, 4096 * 4}, pairs = {1920, 4096};
    const Plane byte{Per<1>};
    table.insert(table.end(), {
        {.name = "CopyShort", .src = {byte}, .dst = {byte}, .plain = CopyPlain,
         .tiers = {{Isa::Sse2, Copy<CopyShortSse2>}, {Isa::Avx2, Copy<CopyShortAvx2>}}, .max_items = 256},
        {.name = "CopyBlocks64", .src = {byte}, .dst = {byte}, .plain = CopyPlain,
         .tiers = {{Isa::Sse2, Copy<CopyBlocks64Sse2>}, {Isa::Avx2, Copy<CopyBlocks64Avx2>}}, .max_items = 300,
         .large = lines},
        {.name = "CopyAligned128", .src = {byte}, .dst = {byte}, .plain = CopyPlain,
         .tiers = {{Isa::Sse2, Copy<CopyAligned128Sse2>}, {Isa::Avx2, Copy<CopyAligned128Avx2>}}, .max_items = 300,
         .large = lines},
        // The streaming stores start at kCopyStreamFromBytes.
        {.name = "CopyStreaming", .src = {byte}, .dst = {byte}, .plain = CopyPlain,
         .tiers = {{Isa::Sse2, Copy<CopyStreamingSse2>}, {Isa::Avx2, Copy<CopyStreamingAvx2>}}, .max_items = 300,
         .large = {1920 * 4, 4096 * 4, kCopyStreamFromBytes + 77}},
        {.name = "CopyLinesStreaming", .src = {{LinesSrc}}, .dst = {{LinesDst}}, .plain = CopyLinesPlain,
         .tiers = {{Isa::Sse2, CopyLines<CopyLinesStreamingSse2>}, {Isa::Avx2, CopyLines<CopyLinesStreamingAvx2>}},
         .max_items = 300, .large = lines},
        {.name = "ReorderLines", .src = {{ReorderSrc}}, .dst = {{ReorderDst}}, .plain = ReorderRun<ReorderLinesPlain>,
         .tiers = {{Isa::Sse2, ReorderRun<ReorderLinesSse2>}, {Isa::Avx2, ReorderRun<ReorderLinesAvx2>}},
         .variants = 8, .large = pairs},
        {.name = "SwapLines", .src = {}, .dst = {byte, byte}, .plain = Swap<SwapLinesPlain>,
         .tiers = {{Isa::Sse2, Swap<SwapLinesSse2>}, {Isa::Avx2, Swap<SwapLinesAvx2>}}, .max_items = 300,
         .large = lines},
        {.name = "SplitPairs", .src = {{Per<4>}}, .dst = {{Per<2>}, byte, byte}, .plain = SplitPlain,
         .tiers = {{Isa::Sse2, Split<SplitPairsSse2>, 16}, {Isa::Avx2, Split<SplitPairsAvx2>, 32}}, .variants = 4,
         .large = pairs},
        {.name = "MergePairs", .src = {{Per<2>}, byte, byte}, .dst = {{Per<4>}}, .plain = MergePlain,
         .tiers = {{Isa::Sse2, Merge<MergePairsSse2>, 16}, {Isa::Avx2, Merge<MergePairsAvx2>, 16}}, .variants = 2,
         .large = pairs},
        {.name = "PackGroups", .src = {{Per<12>}}, .dst = {{Per<16>}}, .plain = Groups<PackGroupsPlain>,
         .tiers = {{Isa::Sse2, Groups<PackGroupsSse2>}, {Isa::Ssse3, Groups<PackGroupsSsse3>},
                   {Isa::Avx2, Groups<PackGroupsAvx2>}},
         .large = pairs},
        {.name = "UnpackGroups", .src = {{Per<16>}}, .dst = {{Per<12>}}, .plain = Groups<UnpackGroupsPlain>,
         .tiers = {{Isa::Sse2, Groups<UnpackGroupsSse2>}, {Isa::Ssse3, Groups<UnpackGroupsSsse3>},
                   {Isa::Avx2, Groups<UnpackGroupsAvx2>}},
         .large = pairs},
        // Every group from four on, none below.
        {.name = "UnpackGroupsToPlanes", .src = {{Per<16>}}, .dst = {{Per<6>}, {Per<3>}, {Per<3>}},
         .plain = ToPlanesPlain, .tiers = {{Isa::Avx2, ToPlanesAvx2, 4}}, .variants = 2, .large = pairs},
    });
}

}  // namespace kernel_harness

// The per-tier kernels behind the packed <-> planar conversions. A kernel
// does a prefix of a line in whole steps and returns how many pairs it did;
// the caller finishes the rest with the plain code. They read and write only
// the pairs they report, and give the bytes of the plain code exactly.
#pragma once

#include <cstdint>

namespace lumacore {

// Where a packed pair keeps its luma: bytes 0 and 2 (YUY2, YVYU) or 1 and 3
// (UYVY). The other two bytes are its chroma, "first" and "second" in memory
// order (Cb Cr for YUY2 and UYVY, Cr Cb for YVYU).
enum class LumaPlace : std::uint8_t { Even, Odd };

// Split: `pairs` packed pairs at `src` give two luma bytes each to `y` and
// their first and second chroma bytes to `c0` and `c1`; with `c0` null only
// the luma is written.
std::uint32_t SplitPairsSse2(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                             const std::uint8_t* src, std::uint32_t pairs);
std::uint32_t SplitPairsAvx2(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                             const std::uint8_t* src, std::uint32_t pairs);

// Merge: `pairs` packed pairs to `dst` from the luma `y` (two bytes a pair)
// and the chroma rows `c0`, `c1` (first and second chroma byte of each pair).
std::uint32_t MergePairsSse2(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                             const std::uint8_t* c1, std::uint32_t pairs);
std::uint32_t MergePairsAvx2(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y, const std::uint8_t* c0,
                             const std::uint8_t* c1, std::uint32_t pairs);

using SplitPairsKernel = std::uint32_t (*)(LumaPlace place, std::uint8_t* y, std::uint8_t* c0, std::uint8_t* c1,
                                           const std::uint8_t* src, std::uint32_t pairs);
using MergePairsKernel = std::uint32_t (*)(LumaPlace place, std::uint8_t* dst, const std::uint8_t* y,
                                           const std::uint8_t* c0, const std::uint8_t* c1, std::uint32_t pairs);

// The kernel tables: the plain kernels do every pair.
struct SplitKernels {
    SplitPairsKernel pairs;
};
struct MergeKernels {
    MergePairsKernel pairs;
};
void InstallSplitSse2(SplitKernels& k);
void InstallSplitAvx2(SplitKernels& k);
void InstallMergeSse2(MergeKernels& k);
void InstallMergeAvx2(MergeKernels& k);

}  // namespace lumacore

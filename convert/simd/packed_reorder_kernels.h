// The per-tier kernels behind ReorderPairs and the frame routines. Each
// reorders `pairs` four-byte pairs on each of `lines` lines, line k from
// src + k * src_step to dst + k * dst_step (a step may be negative; the areas
// do not overlap), and writes no byte outside the pairs. All of them produce
// the bytes of the plain kernel. `stream` asks for stores that bypass the
// cache, for output too large to stay there; a kernel may ignore it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/packed_reorder.h"

namespace lumacore {

// Destination byte k of a pair is source byte kReorderOrder[reorder][k].
inline constexpr std::uint8_t kReorderOrder[4][4] = {
    {1, 0, 3, 2},  // Swap16
    {0, 3, 2, 1},  // SwapChroma
    {1, 2, 3, 0},  // RotateFront
    {3, 0, 1, 2},  // RotateBack
};
static_assert(int(Reorder::Swap16) == 0 && int(Reorder::SwapChroma) == 1 && int(Reorder::RotateFront) == 2 &&
              int(Reorder::RotateBack) == 3);

void ReorderLinesPlain(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                       std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream);
void ReorderLinesSse2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream);
void ReorderLinesAvx2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream);

struct ReorderKernels {
    decltype(&ReorderLinesPlain) lines;
};
void InstallReorderSse2(ReorderKernels& k);
void InstallReorderAvx2(ReorderKernels& k);
const ReorderKernels& ReorderKernelsFor(SimdTier tier);

}  // namespace lumacore

// The per-tier kernels behind ReorderPairs. Each reorders `pairs` four-byte
// pairs from src to dst (the areas do not overlap) and writes no byte outside
// the pairs; all of them produce the bytes of the plain kernel.
#pragma once

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

void ReorderPairsPlain(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs);
void ReorderPairsSse2(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs);
void ReorderPairsAvx2(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs);

}  // namespace lumacore

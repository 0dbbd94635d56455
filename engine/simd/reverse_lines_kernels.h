// The per-tier kernels behind ReverseLines. Each exchanges the first
// `line_bytes` bytes at `a` with those at `b` (the two areas do not overlap)
// and touches nothing else; all of them give the bytes of the plain kernel.
#pragma once

#include <cstdint>

namespace lumacore {

void SwapLinesPlain(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes);
void SwapLinesSse2(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes);
void SwapLinesAvx2(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes);

struct ReverseLinesKernels {
    void (*swap)(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes);
};
void InstallReverseLinesSse2(ReverseLinesKernels& k);
void InstallReverseLinesAvx2(ReverseLinesKernels& k);

}  // namespace lumacore

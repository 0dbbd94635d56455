#include "engine/reverse_lines.h"

#include <cstddef>
#include <cstring>

#include "engine/kernel_table.h"
#include "engine/simd/reverse_lines_kernels.h"
#include "platform/cpu_features.h"

namespace lumacore {

// The reference: 4-byte units through two registers, then single bytes.
void SwapLinesPlain(std::uint8_t* a, std::uint8_t* b, std::uint32_t line_bytes) {
    std::uint32_t i = 0;
    for (; i + 4 <= line_bytes; i += 4) {
        std::uint32_t from_a, from_b;
        std::memcpy(&from_a, a + i, 4);
        std::memcpy(&from_b, b + i, 4);
        std::memcpy(a + i, &from_b, 4);
        std::memcpy(b + i, &from_a, 4);
    }
    for (; i < line_bytes; ++i) {
        const std::uint8_t from_a = a[i];
        a[i] = b[i];
        b[i] = from_a;
    }
}

namespace {

constexpr TierOverride<ReverseLinesKernels> kOverrides[] = {
    {VEC_SSE2, InstallReverseLinesSse2},
    {VEC_AVX2, InstallReverseLinesAvx2},
};

ReverseLinesKernels Build(std::uint32_t features) {
    return Override(ReverseLinesKernels{SwapLinesPlain}, kOverrides, features);
}

}  // namespace

void ReverseLinesWith(SimdTier tier, std::uint8_t* image, std::uint32_t line_bytes, std::uint32_t count) {
    const auto swap = KernelsFor<ReverseLinesKernels, Build>(tier).swap;
    for (std::uint32_t top = 0, bottom = count - 1; top < count / 2; ++top, --bottom) {
        swap(image + std::size_t(top) * line_bytes, image + std::size_t(bottom) * line_bytes, line_bytes);
    }
}

void ReverseLines(std::uint8_t* image, std::uint32_t line_bytes, std::uint32_t count) {
    ReverseLinesWith(ActiveSimdTier(), image, line_bytes, count);
}

}  // namespace lumacore

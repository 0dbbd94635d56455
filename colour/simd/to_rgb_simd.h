// The per-tier entry points behind RunPairBlocks, UnpackV210Pairs and
// DivideBy10000. Each produces the bytes of the plain code exactly.
#pragma once

#include <cstdint>

#include "colour/to_rgb_program.h"
#include "engine/simd/isa_namespace.h"

namespace lumacore {

std::uint32_t ToRgbPairBlocksSse2(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                  const void* b, const void* c, std::uint32_t pixels);
std::uint32_t ToRgbPairBlocksAvx2(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                  const void* b, const void* c, std::uint32_t pixels);
std::uint32_t ToRgbPairBlocksAvx512(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                    const void* b, const void* c, std::uint32_t pixels);

void UnpackV210PairsSse2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs);
void UnpackV210PairsAvx2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs);
void UnpackV210PairsAvx512(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                           std::uint32_t* c_pairs);

void DivideBy10000Sse2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count);
void DivideBy10000Avx2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count);
void DivideBy10000Avx512(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count);
void FenceStoresSse2();
std::uint32_t ToRgbTwoLinesAvx2(const PairProgram& program, std::uint8_t* const dst[2],
                                const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                                std::uint32_t pixels);
std::uint32_t ToRgbTwoLinesAvx512(const PairProgram& program, std::uint8_t* const dst[2],
                                  const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                                  std::uint32_t pixels);

inline constexpr std::uint32_t kSse2BlockPixels = 16;
inline constexpr std::uint32_t kAvx2BlockPixels = 32;
inline constexpr std::uint32_t kAvx512BlockPixels = 64;

// The kernel table. The plain code converts no blocks (block_pixels 0).
struct ToRgbKernels {
    std::uint32_t (*pair_blocks)(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                 const void* b, const void* c, std::uint32_t pixels);
    std::uint32_t block_pixels;
    void (*v210_pairs)(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs, std::uint32_t* c_pairs);
    void (*divide)(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count);
    void (*fence)();  // orders the streaming stores of pair_blocks (the plain code makes none)
    // Two planar lines sharing a chroma row (RunTwoLinePairBlocks); null
    // where the tier has none.
    std::uint32_t (*two_lines)(const PairProgram& program, std::uint8_t* const dst[2],
                               const std::uint8_t* const luma[2], const std::uint8_t* cb, const std::uint8_t* cr,
                               std::uint32_t pixels);
};
void InstallToRgbSse2(ToRgbKernels& k);
void InstallToRgbAvx2(ToRgbKernels& k);
// AVX-512: pair blocks, the division and the v210 unpacking.
void InstallToRgbAvx512(ToRgbKernels& k);

// Shared by the tiers and the plain code: each object keeps its own copy.
inline namespace LUMACORE_ISA {

// The single-precision factor whose product with a sum, truncated, is the
// sum divided by 10000 for every sum the coefficients can reach (1/10000
// rounded to float, plus three units in the last place).
inline constexpr std::uint32_t kTenThousandthBits = 0x38D1B71Au;

// The scalar unpacking of one v210 group into three Y words and three C
// words (Y0 | Y1 << 16, Cb | Cr << 16), shared by the tiers for their tails.
inline void UnpackV210Group(const std::uint8_t* p, std::uint32_t* y_pairs, std::uint32_t* c_pairs) {
    std::uint32_t w[4];
    for (int i = 0; i < 4; ++i)
        w[i] = std::uint32_t(p[4 * i]) | std::uint32_t(p[4 * i + 1]) << 8 | std::uint32_t(p[4 * i + 2]) << 16 |
               std::uint32_t(p[4 * i + 3]) << 24;
    auto f = [](std::uint32_t word, int field) { return (word >> (10 * field)) & 0x3FFu; };
    y_pairs[0] = f(w[0], 1) | f(w[1], 0) << 16;
    y_pairs[1] = f(w[1], 2) | f(w[2], 1) << 16;
    y_pairs[2] = f(w[3], 0) | f(w[3], 2) << 16;
    c_pairs[0] = f(w[0], 0) | f(w[0], 2) << 16;
    c_pairs[1] = f(w[1], 1) | f(w[2], 0) << 16;
    c_pairs[2] = f(w[2], 2) | f(w[3], 1) << 16;
}

}  // namespace LUMACORE_ISA
}  // namespace lumacore

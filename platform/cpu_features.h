// Processor feature detection: run once, lazily, at the first conversion.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/cpuid.h"

// Exported: the detected features, 0 until the first conversion.
extern "C" std::uint32_t CPUFeatureFlags;

namespace lumacore {

enum CpuFeatureBit : std::uint32_t {
    CPU_HAS_CPUID = 0x1,
    CPU_HAS_STANDARD_LEAVES = 0x2,
    CPU_HAS_EXTENDED_LEAVES = 0x4,
    CPU_TSC = 0x10,
    CPU_MMX = 0x20,
    CPU_CMOV = 0x40,
    CPU_3DNOW = 0x80,
    CPU_3DNOW_EXT = 0x100,
    CPU_SSE_OR_AMD_MMX_EXT = 0x200,
    CPU_SSE_ALT = 0x400,
    CPU_AMD_K6_LATE = 0x800,
    CPU_MTRR = 0x1000,
    CPU_SSE = 0x2000,
    CPU_SSE2 = 0x4000,
};

enum SimdLevelValue : std::uint32_t {
    SIMD_PLAIN = 1,
    SIMD_MMX = 2,
    SIMD_SSE = 3,
    SIMD_SSE2 = 4,
    SIMD_3DNOW = 5,
};

// The variant level the conversion routines read; meaningful once the
// first-use rule has run.
extern std::atomic<std::uint32_t> SimdLevel;

// ORs the processor's feature bits into CPUFeatureFlags.
void DetectProcessorFeatures();

// The level for a set of feature bits: SSE2, else SSE, else MMX, else plain.
std::uint32_t ChooseSimdLevel(std::uint32_t flags);

// The first-use rule every conversion routine runs before anything else: if
// CPUFeatureFlags is still 0, detect and choose SimdLevel.
void EnsureProcessorFeatures();

// The vector extensions the processor and the operating system offer, read
// once per process: what the kernels' tiers are chosen from.
enum VectorFeatureBit : std::uint32_t {
    VEC_SSE2 = 0x1,
    VEC_SSSE3 = 0x2,
    VEC_AVX2 = 0x4,  // with FMA, and the 256-bit registers saved by the OS
    VEC_AVX512 = 0x8,  // F, DQ, BW, VL, VBMI, VNNI, with the 512-bit and opmask registers saved by the OS
};
std::uint32_t VectorFeatures();

// The vector features of a processor from its CPUID leaves 1 and 7 (sub-leaf
// 0; zeros where it has no leaf 7) and its XCR0 (0 without OSXSAVE).
std::uint32_t VectorFeaturesOf(const CpuidRegisters& leaf1, const CpuidRegisters& leaf7, std::uint64_t xcr0);

// Tests only: replace the CPUID source (null restores the processor's own)
// and forget earlier detection results.
using CpuidReader = bool (*)(std::uint32_t leaf, CpuidRegisters* out);
void SetCpuidReaderForTesting(CpuidReader reader);
void ResetProcessorFeaturesForTesting();

}  // namespace lumacore

extern "C" int CheckMMX();

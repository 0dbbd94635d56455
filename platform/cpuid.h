// The processor's CPUID instruction, where the processor has one.
#pragma once

#include <cstdint>

struct CpuidRegisters {
    std::uint32_t eax, ebx, ecx, edx;
};

// Executes CPUID for `leaf` (sub-leaf 0). Returns false, leaving `out` alone,
// on a processor that has no CPUID instruction.
bool PlatformCpuid(std::uint32_t leaf, CpuidRegisters* out);

// True when the processor has AVX2 and FMA and the operating system saves
// the 256-bit registers across context switches.
bool PlatformHasAvx2();

// True when the processor has AVX2 and AVX-512 F, DQ, BW, VL, VBMI and
// VNNI (the AVX-512 of Ice Lake and Zen 4 and later), and the operating
// system saves the opmask and 512-bit registers as well.
bool PlatformHasAvx512();

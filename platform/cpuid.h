// The processor's CPUID instruction, where the processor has one.
#pragma once

#include <cstdint>

struct CpuidRegisters {
    std::uint32_t eax, ebx, ecx, edx;
};

// Executes CPUID for `leaf` (sub-leaf 0). Returns false, leaving `out` alone,
// on a processor that has no CPUID instruction.
bool PlatformCpuid(std::uint32_t leaf, CpuidRegisters* out);

// XCR0, the register states the operating system saves across context
// switches; 0 where the processor has no enabled XGETBV (OSXSAVE clear).
std::uint64_t PlatformSavedStates();

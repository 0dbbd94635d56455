#include "platform/cpuid.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

#if defined(__i386__)
// A 32-bit processor has CPUID when bit 21 (ID) of EFLAGS can be toggled.
// Testing the flag is safe on every processor; executing CPUID where it does
// not exist would fault.
bool HasCpuidInstruction() {
    std::uint32_t before, after;
    __asm__ volatile(
        "pushfl\n\t"
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl $0x200000, %0\n\t"
        "pushl %0\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %0\n\t"
        "popfl\n\t"
        : "=&r"(after), "=&r"(before)
        :
        : "cc");
    return ((after ^ before) & 0x200000u) != 0;
}
#elif defined(__x86_64__)
// Every 64-bit x86 processor has CPUID.
bool HasCpuidInstruction() { return true; }
#else
bool HasCpuidInstruction() { return false; }
#endif

}  // namespace

bool PlatformCpuid(std::uint32_t leaf, CpuidRegisters* out) {
    if (!HasCpuidInstruction()) return false;
#if defined(__i386__) || defined(__x86_64__)
    unsigned a, b, c, d;
    __cpuid_count(leaf, 0, a, b, c, d);
    *out = {a, b, c, d};
    return true;
#else
    (void)leaf;
    (void)out;
    return false;
#endif
}

std::uint64_t PlatformSavedStates() {
#if defined(__i386__) || defined(__x86_64__)
    CpuidRegisters r{};
    if (!PlatformCpuid(0, &r) || r.eax < 1) return 0;
    PlatformCpuid(1, &r);
    if (!((r.ecx >> 27) & 1u)) return 0;  // OSXSAVE: XGETBV exists and is enabled
    std::uint32_t xcr0_low, xcr0_high;
    __asm__ volatile("xgetbv" : "=a"(xcr0_low), "=d"(xcr0_high) : "c"(0));
    return std::uint64_t(xcr0_high) << 32 | xcr0_low;
#else
    return 0;
#endif
}

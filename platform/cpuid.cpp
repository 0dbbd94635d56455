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

namespace {

// XCR0, the register states the operating system saves; 0 where the
// processor has no XGETBV (OSXSAVE clear).
std::uint64_t SavedStates() {
#if defined(__i386__) || defined(__x86_64__)
    CpuidRegisters r{};
    if (!PlatformCpuid(0, &r) || r.eax < 7) return 0;
    PlatformCpuid(1, &r);
    const bool osxsave = (r.ecx >> 27) & 1u, avx = (r.ecx >> 28) & 1u;
    if (!osxsave || !avx) return 0;
    std::uint32_t xcr0_low, xcr0_high;
    __asm__ volatile("xgetbv" : "=a"(xcr0_low), "=d"(xcr0_high) : "c"(0));
    return std::uint64_t(xcr0_high) << 32 | xcr0_low;
#else
    return 0;
#endif
}

// Leaf 7, sub-leaf 0 (processors that reach SavedStates have leaf 7).
CpuidRegisters ExtendedFeatures() {
    CpuidRegisters r{};
#if defined(__i386__) || defined(__x86_64__)
    unsigned a, b, c, d;
    __cpuid_count(7, 0, a, b, c, d);
    r = {a, b, c, d};
#endif
    return r;
}

}  // namespace

bool PlatformHasAvx2() {
    if ((SavedStates() & 0x6u) != 0x6u) return false;  // XMM and YMM state
    CpuidRegisters r{};
    PlatformCpuid(1, &r);
    const bool fma = (r.ecx >> 12) & 1u;  // every AVX2 processor made has it; the AVX2 code uses it
    return fma && ((ExtendedFeatures().ebx >> 5) & 1u);
}

bool PlatformHasAvx512() {
    // XMM, YMM, opmask, upper halves of ZMM0-15, ZMM16-31.
    if ((SavedStates() & 0xE6u) != 0xE6u) return false;
    const CpuidRegisters r = ExtendedFeatures();
    const std::uint32_t in_ebx = 1u << 5 | 1u << 16 | 1u << 17 | 1u << 30 | 1u << 31;  // AVX2, F, DQ, BW, VL
    const std::uint32_t in_ecx = 1u << 1 | 1u << 11;                                    // VBMI, VNNI
    return PlatformHasAvx2() && (r.ebx & in_ebx) == in_ebx && (r.ecx & in_ecx) == in_ecx;
}

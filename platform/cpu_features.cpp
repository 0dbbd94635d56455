#include "platform/cpu_features.h"

#include <cstring>

extern "C" {
std::uint32_t CPUFeatureFlags = 0;
}

namespace lumacore {

std::atomic<std::uint32_t> SimdLevel{SIMD_PLAIN};

namespace {

std::atomic<CpuidReader> g_cpuid_reader{&PlatformCpuid};

bool Bit(std::uint32_t reg, int bit) { return (reg >> bit) & 1u; }

// Reads the processor without publishing anything. Every run on the same
// processor gives the same bits, so concurrent first uses agree.
std::uint32_t ReadFeatureBits() {
    const CpuidReader cpuid = g_cpuid_reader.load(std::memory_order_acquire);
    CpuidRegisters r{};
    if (!cpuid(0, &r)) return 0;
    std::uint32_t bits = CPU_HAS_CPUID;

    cpuid(0, &r);
    char vendor[12];
    std::memcpy(vendor + 0, &r.ebx, 4);
    std::memcpy(vendor + 4, &r.edx, 4);
    std::memcpy(vendor + 8, &r.ecx, 4);
    if (r.eax == 0) return bits;

    bits |= CPU_HAS_STANDARD_LEAVES;
    cpuid(1, &r);
    const std::uint32_t signature = r.eax;
    if (Bit(r.edx, 4)) bits |= CPU_TSC;
    if (Bit(r.edx, 23)) bits |= CPU_MMX;
    if (Bit(r.edx, 15)) bits |= CPU_CMOV;
    if (Bit(r.edx, 12)) bits |= CPU_MTRR;
    if (Bit(r.edx, 25)) bits |= CPU_SSE_OR_AMD_MMX_EXT | CPU_SSE_ALT | CPU_SSE;
    if (Bit(r.edx, 26)) bits |= CPU_SSE2;

    cpuid(0x80000000u, &r);
    if (r.eax <= 0x80000000u) return bits;

    bits |= CPU_HAS_EXTENDED_LEAVES;
    cpuid(0x80000001u, &r);
    if (Bit(r.edx, 31)) bits |= CPU_3DNOW;
    if (std::memcmp(vendor, "AuthenticAMD", 12) != 0) return bits;

    if (Bit(r.edx, 30)) bits |= CPU_3DNOW_EXT;
    if (!(bits & CPU_SSE_OR_AMD_MMX_EXT) && Bit(r.edx, 22)) bits |= CPU_SSE_OR_AMD_MMX_EXT;
    const std::uint32_t family_model_stepping = signature & 0xFFFu;
    if (family_model_stepping >= 0x588u && family_model_stepping < 0x600u) bits |= CPU_AMD_K6_LATE;
    return bits;
}

std::atomic_ref<std::uint32_t> Flags() { return std::atomic_ref<std::uint32_t>(CPUFeatureFlags); }

}  // namespace

void DetectProcessorFeatures() { Flags().fetch_or(ReadFeatureBits(), std::memory_order_acq_rel); }

std::uint32_t ChooseSimdLevel(std::uint32_t flags) {
    if (flags & CPU_SSE2) return SIMD_SSE2;
    if (flags & CPU_SSE) return SIMD_SSE;
    if (flags & CPU_MMX) return SIMD_MMX;
    return SIMD_PLAIN;
}

void EnsureProcessorFeatures() {
    if (Flags().load(std::memory_order_acquire) != 0) return;
    const std::uint32_t bits = ReadFeatureBits();
    // The level goes out before the flags, so whoever sees the flags set also
    // sees the level that belongs to them.
    SimdLevel.store(ChooseSimdLevel(bits), std::memory_order_release);
    Flags().fetch_or(bits, std::memory_order_acq_rel);
}

std::uint32_t VectorFeaturesOf(const CpuidRegisters& leaf1, const CpuidRegisters& leaf7, std::uint64_t xcr0) {
    std::uint32_t bits = 0;
    if (Bit(leaf1.edx, 26)) bits |= VEC_SSE2;
    if (Bit(leaf1.ecx, 9)) bits |= VEC_SSSE3;
    // AVX2 with FMA (every AVX2 processor made has it; the AVX2 code uses
    // it), the OS saving XMM and YMM state.
    const bool avx = Bit(leaf1.ecx, 27) && Bit(leaf1.ecx, 28) && (xcr0 & 0x6u) == 0x6u;
    if (!(bits & VEC_SSE2) || !avx || !Bit(leaf1.ecx, 12) || !Bit(leaf7.ebx, 5)) return bits;
    bits |= VEC_AVX2;
    // AVX-512 F, DQ, BW, VL, VBMI and VNNI, the OS saving the opmask and
    // both halves of the ZMM registers too.
    const std::uint32_t in_ebx = 1u << 16 | 1u << 17 | 1u << 30 | 1u << 31, in_ecx = 1u << 1 | 1u << 11;
    if ((xcr0 & 0xE6u) == 0xE6u && (leaf7.ebx & in_ebx) == in_ebx && (leaf7.ecx & in_ecx) == in_ecx)
        bits |= VEC_AVX512;
    return bits;
}

std::uint32_t VectorFeatures() {
    static const std::uint32_t features = [] {
        CpuidRegisters max{}, leaf1{}, leaf7{};
        if (!PlatformCpuid(0, &max) || max.eax < 1) return 0u;
        PlatformCpuid(1, &leaf1);
        if (max.eax >= 7) PlatformCpuid(7, &leaf7);
        return VectorFeaturesOf(leaf1, leaf7, PlatformSavedStates());
    }();
    return features;
}

void SetCpuidReaderForTesting(CpuidReader reader) {
    g_cpuid_reader.store(reader ? reader : &PlatformCpuid, std::memory_order_release);
}

void ResetProcessorFeaturesForTesting() {
    Flags().store(0, std::memory_order_release);
    SimdLevel.store(SIMD_PLAIN, std::memory_order_release);
}

}  // namespace lumacore

extern "C" int CheckMMX() {
    return (lumacore::Flags().load(std::memory_order_acquire) & lumacore::CPU_MMX) ? 1 : 0;
}

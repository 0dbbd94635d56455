#include "convert/copy_bytes.h"

#include <atomic>
#include <cstring>

#include "convert/simd/copy_bytes_kernels.h"
#include "convert/simd_tier.h"
#include "driver/cpu_features.h"

namespace lumacore {
namespace {

using CopyKernel = void (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count);

// The reference: 4-byte units, then the remaining 0 to 3 bytes one by one.
void CopyUnits4(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    std::uint32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t unit;
        std::memcpy(&unit, src + i, 4);
        std::memcpy(dst + i, &unit, 4);
    }
    for (; i < count; ++i) dst[i] = src[i];
}

// Processors without SSE2 (32-bit builds only) have no vector moves we
// compile for; the C library's copy is the widest they get.
void CopyLibrary(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count != 0) std::memcpy(dst, src, count);
}

// The first row whose feature bits are all present names the variant; no row
// matches a processor without MMX.
struct VariantRow {
    std::uint32_t features;
    CopyVariant variant;
};
constexpr VariantRow kVariantRows[] = {
    {CPU_SSE | CPU_3DNOW, CopyVariant::Streaming},
    {CPU_SSE, CopyVariant::Aligned128},
    {CPU_3DNOW, CopyVariant::Blocks64},
    {CPU_MMX, CopyVariant::Blocks64},
};

// The moves of each variant, by whether the processor has SSE2.
struct VariantKernels {
    CopyKernel without_sse2;
    CopyKernel with_sse2;
};
constexpr VariantKernels kVariantKernels[] = {
    {CopyUnits4, CopyUnits4},               // Units4
    {CopyLibrary, CopyBlocks64Sse2},        // Blocks64
    {CopyLibrary, CopyAligned128Sse2},      // Aligned128
    {CopyLibrary, CopyStreamingSse2},       // Streaming
};

CopyKernel KernelFor(CopyVariant variant) {
    const VariantKernels& kernels = kVariantKernels[int(variant)];
    return HostSimdTier() >= SimdTier::Sse2 ? kernels.with_sse2 : kernels.without_sse2;
}

// The variant for large copies, chosen at the first one. Threads that choose
// at the same time compute the same value, so the race is harmless.
constexpr int kNotChosen = -1;
std::atomic<int> g_chosen_variant{kNotChosen};

CopyVariant ChosenVariant() {
    int variant = g_chosen_variant.load(std::memory_order_acquire);
    if (variant == kNotChosen) {
        EnsureProcessorFeatures();
        const std::uint32_t flags = std::atomic_ref<std::uint32_t>(CPUFeatureFlags).load(std::memory_order_acquire);
        variant = int(ChooseCopyVariant(flags));
        g_chosen_variant.store(variant, std::memory_order_release);
    }
    return CopyVariant(variant);
}

// Copies below 128 bytes follow the 4-byte rule whatever the variant; with
// SSE2 the same bytes go in two to eight overlapping moves. Chosen without
// the first-use rule, which small copies do not run.
std::atomic<CopyKernel> g_short_kernel{nullptr};

CopyKernel ShortKernel() {
    CopyKernel kernel = g_short_kernel.load(std::memory_order_acquire);
    if (kernel == nullptr) {
        kernel = HostSimdTier() >= SimdTier::Sse2 ? CopyShortSse2 : CopyUnits4;
        g_short_kernel.store(kernel, std::memory_order_release);
    }
    return kernel;
}

}  // namespace

CopyVariant ChooseCopyVariant(std::uint32_t cpu_feature_flags) {
    for (const VariantRow& row : kVariantRows) {
        if ((cpu_feature_flags & row.features) == row.features) return row.variant;
    }
    return CopyVariant::Units4;
}

void CopyBytes(void* dst, const void* src, std::uint32_t count) {
    auto* d = static_cast<std::uint8_t*>(dst);
    const auto* s = static_cast<const std::uint8_t*>(src);
    if (count < 128) {
        ShortKernel()(d, s, count);
        return;
    }
    KernelFor(ChosenVariant())(d, s, count);
}

void CopyBytesWith(CopyVariant variant, void* dst, const void* src, std::uint32_t count) {
    KernelFor(variant)(static_cast<std::uint8_t*>(dst), static_cast<const std::uint8_t*>(src), count);
}

}  // namespace lumacore

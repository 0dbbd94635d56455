#include "convert/copy_bytes.h"

#include <atomic>
#include <cstddef>
#include <cstring>

#include "convert/simd/copy_bytes_kernels.h"
#include "engine/kernel_table.h"
#include "platform/cpu_features.h"

namespace lumacore {
namespace {

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

constexpr TierOverride<CopyKernels> kOverrides[] = {
    {VEC_SSE2, InstallCopySse2},
    {VEC_AVX2, InstallCopyAvx2},
};

CopyKernels Build(std::uint32_t features) {
    static_assert(int(CopyVariant::Units4) == 0 && int(CopyVariant::Streaming) == 3);
    const CopyKernels plain{CopyUnits4, {CopyUnits4, CopyLibrary, CopyLibrary, CopyLibrary}, nullptr};
    return Override(plain, kOverrides, features);
}

// The moves come from what the processor offers (HostSimdTier); the
// processor level rule is already in the variant, which is Units4 on a
// processor without a vector unit. Both kernels are found on first use and
// kept for the life of the process; threads that find them at the same time
// store the same values, so the race is harmless.
std::atomic<CopyKernel> g_short_kernel{nullptr};
std::atomic<CopyKernel> g_chosen_kernel{nullptr};

// Small copies give the same bytes on every processor, so they need no
// detection and do not run the first-use rule.
[[gnu::noinline]] CopyKernel FindShortKernel() {
    const CopyKernel kernel = CopyKernelsFor(HostSimdTier()).short_copy;
    g_short_kernel.store(kernel, std::memory_order_release);
    return kernel;
}

[[gnu::noinline]] CopyKernel FindChosenKernel() {
    EnsureProcessorFeatures();
    const std::uint32_t flags = std::atomic_ref<std::uint32_t>(CPUFeatureFlags).load(std::memory_order_acquire);
    const CopyKernel kernel = CopyKernelsFor(HostSimdTier()).variants[int(ChooseCopyVariant(flags))];
    g_chosen_kernel.store(kernel, std::memory_order_release);
    return kernel;
}

// The streamed lines of a variant; none for the plain one.
CopyLinesKernel StreamingLinesKernelFor(CopyVariant variant, SimdTier tier) {
    return variant == CopyVariant::Units4 ? nullptr : CopyKernelsFor(tier).streaming_lines;
}

}  // namespace

const CopyKernels& CopyKernelsFor(SimdTier tier) { return KernelsFor<CopyKernels, Build>(tier); }

CopyVariant ChooseCopyVariant(std::uint32_t cpu_feature_flags) {
    for (const VariantRow& row : kVariantRows) {
        if ((cpu_feature_flags & row.features) == row.features) return row.variant;
    }
    return CopyVariant::Units4;
}

void CopyBytes(void* dst, const void* src, std::uint32_t count) {
    CopyKernel kernel;
    if (count < 128) {
        kernel = g_short_kernel.load(std::memory_order_acquire);
        if (kernel == nullptr) kernel = FindShortKernel();
    } else {
        kernel = g_chosen_kernel.load(std::memory_order_acquire);
        if (kernel == nullptr) kernel = FindChosenKernel();
    }
    kernel(static_cast<std::uint8_t*>(dst), static_cast<const std::uint8_t*>(src), count);
}

void CopyLines(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src, std::ptrdiff_t src_step,
               std::uint32_t count, std::uint32_t lines) {
    if (lines == 0) return;
    // The lines may go in either order. Measured: copies through the cache
    // are quickest forward through the destination; streamed ones forward
    // through the source, whose reads the prefetchers then follow (streaming
    // stores need no prefetching).
    CopyLinesKernel streamed = nullptr;
    if (std::uint64_t(count) * lines >= kCopyStreamFromBytes) {
        // Every variant with vector moves streams copies this large; the
        // plain ones have none to stream with.
        EnsureProcessorFeatures();
        streamed = StreamingLinesKernelFor(
            ChooseCopyVariant(std::atomic_ref<std::uint32_t>(CPUFeatureFlags).load(std::memory_order_acquire)),
            HostSimdTier());
    }
    if ((streamed != nullptr ? src_step : dst_step) < 0) {
        dst += (std::ptrdiff_t(lines) - 1) * dst_step;
        src += (std::ptrdiff_t(lines) - 1) * src_step;
        dst_step = -dst_step;
        src_step = -src_step;
    }
    if (streamed != nullptr) {
        streamed(dst, dst_step, src, src_step, count, lines);
        return;
    }
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(lines); ++k) CopyBytes(dst + k * dst_step, src + k * src_step, count);
}

void CopyBytesWith(CopyVariant variant, void* dst, const void* src, std::uint32_t count) {
    CopyKernelsFor(HostSimdTier()).variants[int(variant)](static_cast<std::uint8_t*>(dst),
                                                          static_cast<const std::uint8_t*>(src), count);
}

}  // namespace lumacore

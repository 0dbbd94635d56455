// Block copies: the one way the conversion engine moves whole runs of bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumacore {

// Copies exactly `count` bytes; the areas do not overlap. Counts of 128 bytes
// and more use the variant chosen on first use from CPUFeatureFlags.
void CopyBytes(void* dst, const void* src, std::uint32_t count);

// Copies `count` bytes on each of `lines` lines, line k from src + k *
// src_step to dst + k * dst_step (a step may be negative; no destination line
// overlaps a source line or another destination line). Lines that add up to a
// copy large enough for streaming stores are written with them, as one
// CopyBytes of the same total would be.
void CopyLines(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src, std::ptrdiff_t src_step,
               std::uint32_t count, std::uint32_t lines);

// The variants. Each copies the same bytes; they differ in the moves they use.
enum class CopyVariant {
    Units4,      // no vector unit: 4-byte units, then single bytes
    Blocks64,    // MMX-class processors: 64-byte blocks
    Aligned128,  // SSE without 3DNow!: 128-byte blocks with streaming stores when both ends are
                 // 128-byte aligned, else as Blocks64
    Streaming,   // SSE with 3DNow!: prefetching, streaming stores for large counts
};

// The variant for a set of CPUFeatureFlags bits.
CopyVariant ChooseCopyVariant(std::uint32_t cpu_feature_flags);

// Copies with a given variant (tests and benchmarks).
void CopyBytesWith(CopyVariant variant, void* dst, const void* src, std::uint32_t count);

}  // namespace lumacore

// The kernel harness: every per-instruction-set kernel against its plain
// counterpart over many widths and alignments, with canaries around every
// destination. An entry describes one kernel family: the bytes of its source
// and destination planes for n items, the plain function, and each tier's
// function. Every function takes a Call and returns how many items it did
// (the plain ones and the whole-line kernels: all of them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kernel_harness {

struct Call {
    std::uint8_t* dst[3];
    const std::uint8_t* src[3];
    std::uint32_t n;
    int variant;
};

using Kernel = std::uint32_t (*)(const Call&);

struct Plane {
    std::size_t (*bytes)(std::uint32_t n, int variant);
    std::size_t align = 1;  // start offsets are multiples of this (elements wider than a byte)
};

enum class Isa { Sse2, Ssse3, Avx2, Avx512 };

struct TierKernel {
    Isa isa;
    Kernel run;
    // The kernel leaves fewer than this many items to the plain code: its
    // whole steps (1 for kernels that do the whole line).
    std::uint32_t block = 1;
};

struct Entry {
    const char* name;
    std::vector<Plane> src, dst;
    Kernel plain;
    std::vector<TierKernel> tiers;
    int variants = 1;
    std::uint32_t min_items = 1, max_items = 200;
    std::vector<std::uint32_t> large = {};  // further widths, at a sample of offsets
    std::size_t slack = 0;                  // bytes past each destination a tier may scribble on
    // Source contents; null: random bytes with runs of 0 and 255.
    void (*fill)(std::uint8_t* p, std::size_t n, std::uint32_t seed, int variant) = nullptr;
    // Kernels of int32 sums (divisions): the lowest and highest sum of a
    // variant. Every sum of that range then goes through each tier as well,
    // the proof that the tier's arithmetic is exact.
    void (*sums)(int variant, std::int64_t* low, std::int64_t* high) = nullptr;
};

// Num bytes for every Den items (a started group counts whole).
template <std::size_t Num, std::size_t Den = 1>
std::size_t Per(std::uint32_t n, int) {
    return (std::size_t(n) + Den - 1) / Den * Num;
}

// int32 sums in low..high, every eighth one an end of the range.
void FillSums(std::uint8_t* p, std::size_t n, std::uint32_t seed, std::int64_t low, std::int64_t high);

// The table, by family.
void AddConvertEntries(std::vector<Entry>& table);
void AddFromRgbEntries(std::vector<Entry>& table);
void AddToRgbEntries(std::vector<Entry>& table);

}  // namespace kernel_harness

// Block copies, frame copies and line reversal, each next to memcpy of the
// same bytes (MemcpyFrame in frame_copy_bench.cpp for whole frames).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "convert/copy_bytes.h"
#include "convert/frame_copy.h"
#include "engine/reverse_lines.h"
#include "convert/simd/copy_bytes_kernels.h"
#include "engine/simd_tier.h"

namespace {

using lumacore::CopyVariant;

struct FrameSize {
    std::uint32_t width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

// Frame buffers straight from the heap are rarely 128-byte aligned (here they
// lie 16 bytes past a page boundary); `aligned` asks for 128-byte aligned ones.
struct Buffer {
    Buffer(std::size_t n, bool aligned) : storage(n + 128, 0x5A), data(storage.data()) {
        if (aligned) data += (128 - (reinterpret_cast<std::uintptr_t>(data) & 127)) & 127;
    }
    std::vector<std::uint8_t> storage;
    std::uint8_t* data;
};

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The copy CopyBytes chose for this process.
void CopyBytesFrame(benchmark::State& state, FrameSize size, int bytes_per_pixel) {
    const std::uint32_t bytes = size.width * size.height * std::uint32_t(bytes_per_pixel);
    Buffer src(bytes, false), dst(bytes, false);
    for (auto _ : state) {
        lumacore::CopyBytes(dst.data, src.data, bytes);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

void CopyVariantFrame(benchmark::State& state, CopyVariant variant, bool aligned, FrameSize size,
                      int bytes_per_pixel) {
    const std::uint32_t bytes = size.width * size.height * std::uint32_t(bytes_per_pixel);
    Buffer src(bytes, aligned), dst(bytes, aligned);
    for (auto _ : state) {
        lumacore::CopyBytesWith(variant, dst.data, src.data, bytes);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

#define FRAME_SIZES(fn)                                                                 \
    BENCHMARK_CAPTURE(fn, 1080p_2bpp, kHd, 2)->Unit(benchmark::kMicrosecond);  \
    BENCHMARK_CAPTURE(fn, 1080p_3bpp, kHd, 3)->Unit(benchmark::kMicrosecond);  \
    BENCHMARK_CAPTURE(fn, 1080p_4bpp, kHd, 4)->Unit(benchmark::kMicrosecond);  \
    BENCHMARK_CAPTURE(fn, 2160p_2bpp, kUhd, 2)->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(fn, 2160p_3bpp, kUhd, 3)->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(fn, 2160p_4bpp, kUhd, 4)->Unit(benchmark::kMicrosecond)

FRAME_SIZES(CopyBytesFrame);

void CopyUnits4Frame(benchmark::State& state, FrameSize size, int bpp) {
    CopyVariantFrame(state, CopyVariant::Units4, false, size, bpp);
}
void CopyBlocks64Frame(benchmark::State& state, FrameSize size, int bpp) {
    CopyVariantFrame(state, CopyVariant::Blocks64, false, size, bpp);
}
void CopyAligned128Frame(benchmark::State& state, FrameSize size, int bpp) {
    CopyVariantFrame(state, CopyVariant::Aligned128, false, size, bpp);
}
// Both ends on 128-byte boundaries: the aligned block path.
void CopyAligned128FrameAligned(benchmark::State& state, FrameSize size, int bpp) {
    CopyVariantFrame(state, CopyVariant::Aligned128, true, size, bpp);
}
void CopyStreamingFrame(benchmark::State& state, FrameSize size, int bpp) {
    CopyVariantFrame(state, CopyVariant::Streaming, false, size, bpp);
}
FRAME_SIZES(CopyUnits4Frame);
FRAME_SIZES(CopyBlocks64Frame);
FRAME_SIZES(CopyAligned128Frame);
FRAME_SIZES(CopyAligned128FrameAligned);
FRAME_SIZES(CopyStreamingFrame);

// Same-pitch UYVY frames: the frame copy is one block; the flip copies line
// by line.
void CopyFrameUyvy(benchmark::State& state, FrameSize size) {
    const std::uint32_t pitch = size.width * 2, bytes = pitch * size.height;
    Buffer src(bytes, false), dst(bytes, false);
    for (auto _ : state) {
        lumacore::CopyFrame(dst.data, src.data, size.width, size.height, pitch, pitch);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

void FlipFrameUyvy(benchmark::State& state, FrameSize size) {
    const std::uint32_t pitch = size.width * 2, bytes = pitch * size.height;
    Buffer src(bytes, false), dst(bytes, false);
    for (auto _ : state) {
        lumacore::FlipFrame(dst.data, src.data, size.width, size.height, pitch, pitch);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

BENCHMARK_CAPTURE(CopyFrameUyvy, 1080p, kHd)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CopyFrameUyvy, 2160p, kUhd)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FlipFrameUyvy, 1080p, kHd)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FlipFrameUyvy, 2160p, kUhd)->Unit(benchmark::kMicrosecond);



// Short and line-sized copies, as the conversion routines make them for line
// remainders, small frames and frames copied line by line: 256 copies of
// `count` bytes at varying offsets per iteration. The count is hidden from
// the compiler so that memcpy stays a call.
constexpr int kShortCopies = 256;

template <typename Copy>
void ShortCopies(benchmark::State& state, Copy copy) {
    std::uint32_t count = std::uint32_t(state.range(0));
    benchmark::DoNotOptimize(count);
    std::vector<std::uint8_t> src(count + 64 * kShortCopies, 0x5A), dst(count + 64 * kShortCopies);
    for (auto _ : state) {
        for (int i = 0; i < kShortCopies; ++i) {
            const std::size_t offset = std::size_t(i) * 64 + std::size_t(i & 7);
            copy(dst.data() + offset, src.data() + offset, count);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kShortCopies * count);
}

void ShortMemcpy(benchmark::State& state) {
    ShortCopies(state, [](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) { std::memcpy(d, s, n); });
}
void ShortCopyBytes(benchmark::State& state) {
    ShortCopies(state, [](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) { lumacore::CopyBytes(d, s, n); });
}
// The same kernel with the narrower moves, for comparison on AVX2 hosts.
void ShortCounts(benchmark::internal::Benchmark* b) {
    for (int count : {3, 8, 24, 60, 100, 127, 128, 129, 200, 256, 257, 300, 1500, 3840}) b->Arg(count);
}
BENCHMARK(ShortMemcpy)->Apply(ShortCounts);
BENCHMARK(ShortCopyBytes)->Apply(ShortCounts);

}  // namespace

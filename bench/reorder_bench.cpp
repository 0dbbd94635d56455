// Packed 4:2:2 reorders on full frames (2 bytes a pixel, equal pitches), next
// to libyuv's nearest functions: it has no direct packed 4:2:2 reorder, so the
// four-byte shuffle of ARGBShuffle (a negative height flips) and, for the
// 16-bit swap, SwapUVPlane. Compare with MemcpyFrame/*_2bpp of the same run.
#include <benchmark/benchmark.h>
#include <libyuv/planar_functions.h>

#include <cstdint>
#include <vector>

#include "convert/packed_reorder.h"

namespace {

using lumacore::Reorder;

struct FrameSize {
    std::uint32_t width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

struct Frame {
    std::vector<std::uint8_t> src, dst;
    std::uint32_t pitch;
    explicit Frame(FrameSize size) : src(std::size_t(size.width) * 2 * size.height), dst(src.size()) {
        pitch = size.width * 2;
        for (std::size_t i = 0; i < src.size(); ++i) src[i] = std::uint8_t(i * 7 + (i >> 11));
    }
};

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void ReorderFrame(benchmark::State& state, lumacore::ConvertRoutine routine, FrameSize size) {
    Frame f(size);
    for (auto _ : state) {
        benchmark::DoNotOptimize(routine(f.dst.data(), f.src.data(), size.width, size.height, f.pitch, f.pitch));
        benchmark::ClobberMemory();
    }
    Report(state, f.dst.size());
}

// ARGBShuffle's mask for a reorder: destination byte k of each four from
// source byte order[k].
void LibyuvShuffle(benchmark::State& state, Reorder reorder, FrameSize size, bool flip) {
    static constexpr std::uint8_t kOrder[4][4] = {{1, 0, 3, 2}, {0, 3, 2, 1}, {1, 2, 3, 0}, {3, 0, 1, 2}};
    std::uint8_t mask[16];
    for (int j = 0; j < 16; ++j) mask[j] = std::uint8_t(j / 4 * 4 + kOrder[int(reorder)][j % 4]);
    Frame f(size);
    const int height = flip ? -int(size.height) : int(size.height);
    for (auto _ : state) {
        libyuv::ARGBShuffle(f.src.data(), int(f.pitch), f.dst.data(), int(f.pitch), mask, int(size.width / 2),
                            height);
        benchmark::ClobberMemory();
    }
    Report(state, f.dst.size());
}

void LibyuvSwapUv(benchmark::State& state, FrameSize size) {
    Frame f(size);
    for (auto _ : state) {
        libyuv::SwapUVPlane(f.src.data(), int(f.pitch), f.dst.data(), int(f.pitch), int(size.width),
                            int(size.height));
        benchmark::ClobberMemory();
    }
    Report(state, f.dst.size());
}

// Each of ours beside libyuv's nearest, for one frame size.
#define US ->Unit(benchmark::kMicrosecond)
#define FRAME_BENCHMARKS(label, size)                                                                             \
    BENCHMARK_CAPTURE(ReorderFrame, Swap16Frame_##label, lumacore::Swap16Frame, size) US;                         \
    BENCHMARK_CAPTURE(LibyuvShuffle, libyuv_ARGBShuffle_Swap16_##label, Reorder::Swap16, size, false) US;         \
    BENCHMARK_CAPTURE(LibyuvSwapUv, libyuv_SwapUVPlane_##label, size) US;                                         \
    BENCHMARK_CAPTURE(ReorderFrame, SwapChromaFrame_##label, lumacore::SwapChromaFrame, size) US;                 \
    BENCHMARK_CAPTURE(LibyuvShuffle, libyuv_ARGBShuffle_SwapChroma_##label, Reorder::SwapChroma, size, false) US; \
    BENCHMARK_CAPTURE(ReorderFrame, RotateFrontFrame_##label, lumacore::RotateFrontFrame, size) US;               \
    BENCHMARK_CAPTURE(LibyuvShuffle, libyuv_ARGBShuffle_RotateFront_##label, Reorder::RotateFront, size, false)  \
    US;                                                                                                           \
    BENCHMARK_CAPTURE(ReorderFrame, RotateBackFrame_##label, lumacore::RotateBackFrame, size) US;                 \
    BENCHMARK_CAPTURE(LibyuvShuffle, libyuv_ARGBShuffle_RotateBack_##label, Reorder::RotateBack, size, false) US; \
    BENCHMARK_CAPTURE(ReorderFrame, Swap16FlipFrame_##label, lumacore::Swap16FlipFrame, size) US;                 \
    BENCHMARK_CAPTURE(LibyuvShuffle, libyuv_ARGBShuffle_Swap16Flip_##label, Reorder::Swap16, size, true) US

FRAME_BENCHMARKS(1080p, kHd);
FRAME_BENCHMARKS(2160p, kUhd);

}  // namespace

// Baselines every conversion is measured against: memcpy of one frame's
// output bytes, for the frame sizes the codec is judged on.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct FrameSize {
    int width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

void MemcpyFrame(benchmark::State& state, FrameSize size, int bytes_per_pixel) {
    const std::size_t bytes = std::size_t(size.width) * size.height * bytes_per_pixel;
    std::vector<std::uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(MemcpyFrame, 1080p_2bpp, kHd, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MemcpyFrame, 1080p_3bpp, kHd, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MemcpyFrame, 1080p_4bpp, kHd, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MemcpyFrame, 2160p_2bpp, kUhd, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MemcpyFrame, 2160p_3bpp, kUhd, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MemcpyFrame, 2160p_4bpp, kUhd, 4)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

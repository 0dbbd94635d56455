// The capture and playback paths between packed 4:2:2, planar 4:2:0 and
// v210, each next to memcpy of the same output bytes and to the closest
// function of libyuv or libavcodec, measured in the same run:
//   I420 -> UYVY / YUY2   libyuv I420ToUYVY / I420ToYUY2 (same rows, same bytes)
//   UYVY -> I420          libyuv UYVYToI420 (averages the chroma of each line
//                         pair; ours takes one line's, as the codec's layout says)
//   UYVY -> v210          libavcodec's v210 encoder, fed 8-bit 4:2:2 planes
//                         (its input is planar, ours packed; same output bytes)
//   v210 -> UYVY / I420   libavcodec's v210 decoder, which writes 10-bit 4:2:2
//                         planes (two bytes a sample) rather than 8-bit samples
// Bytes/s count the output of each function; libavcodec's include its
// packet and frame handling (one frame in flight, one thread).
#include <benchmark/benchmark.h>
#include <libyuv/convert.h>
#include <libyuv/convert_from.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "convert/planar_merge.h"
#include "convert/planar_split.h"
#include "convert/v210_pack.h"
#include "convert/v210_unpack.h"
#include "formats/format_code.h"

namespace {


struct FrameSize {
    std::uint32_t width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

std::uint32_t V210Pitch(std::uint32_t w) { return (w + 47) / 48 * 128; }
std::size_t I420Bytes(FrameSize s) { return std::size_t(s.width) * s.height * 3 / 2; }
std::size_t UyvyBytes(FrameSize s) { return std::size_t(s.width) * s.height * 2; }
std::size_t V210Bytes(FrameSize s) { return std::size_t(V210Pitch(s.width)) * s.height; }

std::vector<std::uint8_t> Pattern(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(i * 7 + (i >> 11));
    return v;
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// memcpy of as many bytes as each conversion writes.
void Memcpy(benchmark::State& state, std::size_t bytes) {
    std::vector<std::uint8_t> src = Pattern(bytes), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

// One of the codec's routines, with the pitches the dispatcher gives.
void Ours(benchmark::State& state, lumacore::ConvertRoutine routine, FrameSize s, std::size_t in_bytes,
          std::size_t out_bytes, std::uint32_t dp, std::uint32_t sp) {
    std::vector<std::uint8_t> src = Pattern(in_bytes), dst(out_bytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(routine(dst.data(), src.data(), s.width, s.height, dp, sp));
        benchmark::ClobberMemory();
    }
    Report(state, out_bytes);
}

void I420ToUyvy(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::MergeFrame<lumacore::FMT_I420, lumacore::FMT_UYVY>, s, I420Bytes(s), UyvyBytes(s),
         2 * s.width, s.width);
}
void I420ToYuy2(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::MergeFrame<lumacore::FMT_I420, lumacore::FMT_YUY2>, s, I420Bytes(s), UyvyBytes(s),
         2 * s.width, s.width);
}
void UyvyToI420(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::SplitFrame<lumacore::FMT_UYVY, lumacore::FMT_I420>, s, UyvyBytes(s), I420Bytes(s), s.width,
         2 * s.width);
}
void UyvyToV210(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::PackUyvyFrame, s, UyvyBytes(s), V210Bytes(s), V210Pitch(s.width), 2 * s.width);
}
void V210ToUyvy(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::UnpackUyvyFrame, s, V210Bytes(s), UyvyBytes(s), 2 * s.width, V210Pitch(s.width));
}
void V210ToI420(benchmark::State& state, FrameSize s) {
    Ours(state, lumacore::UnpackFrame<lumacore::FMT_I420>, s, V210Bytes(s), I420Bytes(s), s.width,
         V210Pitch(s.width));
}

// libyuv's planar <-> packed functions.
void LibyuvFromI420(benchmark::State& state, FrameSize s, bool uyvy) {
    const int w = int(s.width), h = int(s.height);
    std::vector<std::uint8_t> src = Pattern(I420Bytes(s)), dst(UyvyBytes(s));
    const std::uint8_t *y = src.data(), *u = y + std::size_t(w) * h, *v = u + std::size_t(w / 2) * (h / 2);
    for (auto _ : state) {
        if (uyvy)
            libyuv::I420ToUYVY(y, w, u, w / 2, v, w / 2, dst.data(), 2 * w, w, h);
        else
            libyuv::I420ToYUY2(y, w, u, w / 2, v, w / 2, dst.data(), 2 * w, w, h);
        benchmark::ClobberMemory();
    }
    Report(state, dst.size());
}
void LibyuvI420ToUyvy(benchmark::State& state, FrameSize s) { LibyuvFromI420(state, s, true); }
void LibyuvI420ToYuy2(benchmark::State& state, FrameSize s) { LibyuvFromI420(state, s, false); }

void LibyuvUyvyToI420(benchmark::State& state, FrameSize s) {
    const int w = int(s.width), h = int(s.height);
    std::vector<std::uint8_t> src = Pattern(UyvyBytes(s)), dst(I420Bytes(s));
    std::uint8_t *y = dst.data(), *u = y + std::size_t(w) * h, *v = u + std::size_t(w / 2) * (h / 2);
    for (auto _ : state) {
        libyuv::UYVYToI420(src.data(), 2 * w, y, w, u, w / 2, v, w / 2, w, h);
        benchmark::ClobberMemory();
    }
    Report(state, dst.size());
}

// libavcodec's v210 encoder on 8-bit 4:2:2 planes.
void AvcodecV210Encode(benchmark::State& state, FrameSize s) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_V210);
    AVCodecContext* ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    if (!ctx || !frame || !packet) {
        state.SkipWithError("no v210 encoder");
        return;
    }
    ctx->width = int(s.width);
    ctx->height = int(s.height);
    ctx->pix_fmt = AV_PIX_FMT_YUV422P;
    ctx->time_base = AVRational{1, 25};
    ctx->thread_count = 1;
    frame->format = AV_PIX_FMT_YUV422P;
    frame->width = int(s.width);
    frame->height = int(s.height);
    if (avcodec_open2(ctx, codec, nullptr) < 0 || av_frame_get_buffer(frame, 0) < 0) {
        state.SkipWithError("v210 encoder did not open");
        return;
    }
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < frame->height; ++i)
            for (int x = 0; x < frame->linesize[p]; ++x) frame->data[p][i * frame->linesize[p] + x] = std::uint8_t(i + x);
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (avcodec_send_frame(ctx, frame) < 0 || avcodec_receive_packet(ctx, packet) < 0) {
            state.SkipWithError("v210 encoder failed");
            break;
        }
        bytes = std::size_t(packet->size);
        av_packet_unref(packet);
    }
    Report(state, bytes);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
}

// libavcodec's v210 decoder, to 10-bit 4:2:2 planes.
void AvcodecV210Decode(benchmark::State& state, FrameSize s) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_V210);
    AVCodecContext* ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    if (!ctx || !frame || !packet) {
        state.SkipWithError("no v210 decoder");
        return;
    }
    ctx->width = int(s.width);
    ctx->height = int(s.height);
    ctx->thread_count = 1;
    const std::vector<std::uint8_t> v210 = Pattern(V210Bytes(s));
    if (avcodec_open2(ctx, codec, nullptr) < 0 || av_new_packet(packet, int(v210.size())) < 0) {
        state.SkipWithError("v210 decoder did not open");
        return;
    }
    std::memcpy(packet->data, v210.data(), v210.size());
    for (auto _ : state) {
        if (avcodec_send_packet(ctx, packet) < 0 || avcodec_receive_frame(ctx, frame) < 0) {
            state.SkipWithError("v210 decoder failed");
            break;
        }
        av_frame_unref(frame);
    }
    // Its output: three planes of 16-bit samples.
    Report(state, std::size_t(s.width) * s.height * 2 * 2);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
}

// With --benchmark_repetitions, the fastest repetition as well: on a shared
// machine it is the figure least disturbed by other work.
double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
#define US ->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest)
#define PATH_BENCHMARKS(label, size)                                                               \
    BENCHMARK_CAPTURE(I420ToUyvy, label, size) US;                                                 \
    BENCHMARK_CAPTURE(LibyuvI420ToUyvy, label, size) US;                                           \
    BENCHMARK_CAPTURE(I420ToYuy2, label, size) US;                                                 \
    BENCHMARK_CAPTURE(LibyuvI420ToYuy2, label, size) US;                                           \
    BENCHMARK_CAPTURE(Memcpy, uyvy_bytes_##label, UyvyBytes(size)) US;                             \
    BENCHMARK_CAPTURE(UyvyToI420, label, size) US;                                                 \
    BENCHMARK_CAPTURE(LibyuvUyvyToI420, label, size) US;                                           \
    BENCHMARK_CAPTURE(Memcpy, i420_bytes_##label, I420Bytes(size)) US;                             \
    BENCHMARK_CAPTURE(UyvyToV210, label, size) US;                                                 \
    BENCHMARK_CAPTURE(AvcodecV210Encode, label, size) US;                                          \
    BENCHMARK_CAPTURE(Memcpy, v210_bytes_##label, V210Bytes(size)) US;                             \
    BENCHMARK_CAPTURE(V210ToUyvy, label, size) US;                                                 \
    BENCHMARK_CAPTURE(V210ToI420, label, size) US;                                                 \
    BENCHMARK_CAPTURE(AvcodecV210Decode, label, size) US

PATH_BENCHMARKS(1080p, kHd);
PATH_BENCHMARKS(2160p, kUhd);


}  // namespace

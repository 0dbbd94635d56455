// Y'CbCr to RGB on full frames, as the dispatcher runs them (bottom-up RGB,
// DIB lines, the matrix a frame of that height gets: 5 above 625 lines),
// next to the closest conversions of libyuv and libswscale measured in the
// same run; compare with MemcpyFrame/*_3bpp and *_4bpp of the same run.
//
// The closest functions do comparable but not identical work: libyuv uses
// 6-bit fixed-point coefficients (BT.601 limited range here), libswscale its
// unscaled converters where it has them (flags SWS_POINT). Neither reads
// v210: libyuv is given the 10-bit 4:2:2 planes of I210ToARGB, libswscale
// yuv422p10, and libavcodec's v210 decoder followed by libswscale is the
// whole road from v210 bytes. libyuv has no packed 4:2:2 or 10-bit to
// RGB24: its road is to ARGB and then ARGBToRGB24 (and I422ToRGB24 from
// 4:2:2 planes, a single pass, is listed too).
#include <benchmark/benchmark.h>
#include <libyuv/convert_argb.h>
#include <libyuv/convert_from_argb.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstring>
#include <vector>

#include "colour/simd/to_rgb_simd.h"
#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_program.h"
#include "colour/to_rgb_routines.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "formats/line_pitch.h"

namespace {


struct FrameSize {
    std::uint32_t width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

constexpr std::uint32_t kBottomUp = 0x8000;

enum class In { Uyvy, Yuy2, I420, V210 };

std::int32_t MatrixFor(FrameSize s) { return s.height <= 625 ? 1 : 5; }

std::uint32_t InPitch(In in, std::uint32_t w) {
    switch (in) {
        case In::I420: return w;
        case In::V210: return lumacore::V210LinePitch(w);
        default: return 2 * w;
    }
}

std::size_t InBytes(In in, FrameSize s) {
    const std::size_t luma = std::size_t(InPitch(in, s.width)) * s.height;
    return in == In::I420 ? luma + 2 * ((s.height + 1) / 2) * (s.width / 2) : luma;
}

std::uint32_t DibStride(std::uint32_t w, int bits) { return (w * std::uint32_t(bits) / 8 + 3) & ~3u; }

// Source bytes of varied content (v210 words of 10-bit samples).
std::vector<std::uint8_t> Source(In in, FrameSize s) {
    std::vector<std::uint8_t> v(InBytes(in, s));
    std::uint32_t x = 0x9E3779B9u;
    for (auto& b : v) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = std::uint8_t(x >> 24);
    }
    return v;
}

void Report(benchmark::State& state, std::size_t out_bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(out_bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// ---- Ours -------------------------------------------------------------------

using Routine = std::uint32_t (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint32_t,
                                  std::uint32_t, std::int32_t, std::uint32_t);

void Ours(benchmark::State& state, Routine routine, In in, int bits, FrameSize s) {
    const std::vector<std::uint8_t> src = Source(in, s);
    const std::uint32_t stride = DibStride(s.width, bits);
    std::vector<std::uint8_t> dst(std::size_t(stride) * s.height);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            routine(dst.data(), src.data(), s.width, s.height, stride, InPitch(in, s.width), MatrixFor(s), kBottomUp));
        benchmark::ClobberMemory();
    }
    Report(state, dst.size());
}

// ---- libyuv -----------------------------------------------------------------

// The 10-bit 4:2:2 planes of a frame (values below 1024).
struct Planes10 {
    std::vector<std::uint16_t> y, u, v;
    explicit Planes10(FrameSize s)
        : y(std::size_t(s.width) * s.height), u(std::size_t(s.width / 2) * s.height), v(u.size()) {
        for (std::size_t i = 0; i < y.size(); ++i) y[i] = std::uint16_t((i * 37 + (i >> 9)) & 0x3FF);
        for (std::size_t i = 0; i < u.size(); ++i) {
            u[i] = std::uint16_t((i * 11) & 0x3FF);
            v[i] = std::uint16_t((i * 13) & 0x3FF);
        }
    }
};

void Libyuv(benchmark::State& state, In in, int bits, bool single_pass, FrameSize s) {
    const int w = int(s.width), h = int(s.height);
    const std::vector<std::uint8_t> src = Source(in == In::V210 ? In::Uyvy : in, s);
    const Planes10 planes(in == In::V210 ? s : FrameSize{2, 1});
    const int stride = int(DibStride(s.width, bits));
    std::vector<std::uint8_t> dst(std::size_t(stride) * s.height), argb(bits == 24 ? std::size_t(w) * 4 * h : 0);
    std::uint8_t* to = bits == 32 ? dst.data() : argb.data();
    const int to_stride = 4 * w;
    // Negative heights: bottom-up output, as ours.
    for (auto _ : state) {
        const std::uint8_t* y = src.data();
        const std::uint8_t* u = y + std::size_t(w) * h;
        const std::uint8_t* v = u + std::size_t(w / 2) * (h / 2);
        if (bits == 24 && single_pass && in == In::I420) {
            libyuv::I420ToRGB24(y, w, u, w / 2, v, w / 2, dst.data(), stride, w, -h);
        } else if (bits == 24 && single_pass) {
            // 4:2:2 planes read from the packed frame's bytes: a stand-in of the same size.
            libyuv::I422ToRGB24(y, w, u, w / 2, v, w / 2, dst.data(), stride, w, -h);
        } else {
            switch (in) {
                case In::Uyvy: libyuv::UYVYToARGB(src.data(), 2 * w, to, to_stride, w, -h); break;
                case In::Yuy2: libyuv::YUY2ToARGB(src.data(), 2 * w, to, to_stride, w, -h); break;
                case In::I420: libyuv::I420ToARGB(y, w, u, w / 2, v, w / 2, to, to_stride, w, -h); break;
                case In::V210:
                    libyuv::I210ToARGB(planes.y.data(), w, planes.u.data(), w / 2, planes.v.data(), w / 2, to,
                                       to_stride, w, -h);
                    break;
            }
            if (bits == 24) libyuv::ARGBToRGB24(argb.data(), to_stride, dst.data(), stride, w, h);
        }
        benchmark::ClobberMemory();
    }
    Report(state, dst.size());
}

// ---- libswscale and libavcodec ---------------------------------------------------

AVPixelFormat SwsSource(In in) {
    switch (in) {
        case In::Uyvy: return AV_PIX_FMT_UYVY422;
        case In::Yuy2: return AV_PIX_FMT_YUYV422;
        case In::I420: return AV_PIX_FMT_YUV420P;
        default: return AV_PIX_FMT_YUV422P10LE;
    }
}

void Swscale(benchmark::State& state, In in, int bits, FrameSize s) {
    const int w = int(s.width), h = int(s.height);
    const AVPixelFormat to_format = bits == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24;
    SwsContext* sws = sws_getContext(w, h, SwsSource(in), w, h, to_format, SWS_POINT, nullptr, nullptr, nullptr);
    if (!sws) {
        state.SkipWithError("no swscale context");
        return;
    }
    const std::vector<std::uint8_t> src = Source(in == In::V210 ? In::Uyvy : in, s);
    const Planes10 planes(in == In::V210 ? s : FrameSize{2, 1});
    const int stride = int(DibStride(s.width, bits));
    std::vector<std::uint8_t> dst(std::size_t(stride) * s.height);
    const std::uint8_t* planes_in[4] = {};
    int strides_in[4] = {};
    switch (in) {
        case In::Uyvy:
        case In::Yuy2: planes_in[0] = src.data(), strides_in[0] = 2 * w; break;
        case In::I420:
            planes_in[0] = src.data(), planes_in[1] = src.data() + std::size_t(w) * h;
            planes_in[2] = planes_in[1] + std::size_t(w / 2) * (h / 2);
            strides_in[0] = w, strides_in[1] = strides_in[2] = w / 2;
            break;
        case In::V210:
            planes_in[0] = reinterpret_cast<const std::uint8_t*>(planes.y.data());
            planes_in[1] = reinterpret_cast<const std::uint8_t*>(planes.u.data());
            planes_in[2] = reinterpret_cast<const std::uint8_t*>(planes.v.data());
            strides_in[0] = 2 * w, strides_in[1] = strides_in[2] = w;
            break;
    }
    // Bottom-up output: the last line first, a negative stride.
    std::uint8_t* planes_out[4] = {dst.data() + std::size_t(h - 1) * stride};
    int strides_out[4] = {-stride};
    for (auto _ : state) {
        sws_scale(sws, planes_in, strides_in, 0, h, planes_out, strides_out);
        benchmark::ClobberMemory();
    }
    sws_freeContext(sws);
    Report(state, dst.size());
}

// v210 bytes to RGB the libavcodec way: its decoder to yuv422p10, then
// libswscale.
void AvcodecV210(benchmark::State& state, int bits, FrameSize s) {
    const int w = int(s.width), h = int(s.height);
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_V210);
    AVCodecContext* ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    const std::vector<std::uint8_t> src = Source(In::V210, s);
    std::vector<std::uint8_t> data(src.size() + AV_INPUT_BUFFER_PADDING_SIZE);
    std::memcpy(data.data(), src.data(), src.size());
    if (ctx) ctx->width = w, ctx->height = h, ctx->thread_count = 1;
    if (!ctx || !frame || !packet || avcodec_open2(ctx, codec, nullptr) < 0) {
        state.SkipWithError("no v210 decoder");
    } else {
        SwsContext* sws =
            sws_getContext(w, h, AV_PIX_FMT_YUV422P10LE, w, h, bits == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24,
                           SWS_POINT, nullptr, nullptr, nullptr);
        const int stride = int(DibStride(s.width, bits));
        std::vector<std::uint8_t> dst(std::size_t(stride) * s.height);
        std::uint8_t* planes_out[4] = {dst.data() + std::size_t(h - 1) * stride};
        int strides_out[4] = {-stride};
        for (auto _ : state) {
            packet->data = data.data();
            packet->size = int(src.size());
            if (avcodec_send_packet(ctx, packet) < 0 || avcodec_receive_frame(ctx, frame) < 0) {
                state.SkipWithError("decoding failed");
                break;
            }
            sws_scale(sws, frame->data, frame->linesize, 0, h, planes_out, strides_out);
            av_frame_unref(frame);
            benchmark::ClobberMemory();
        }
        sws_freeContext(sws);
        Report(state, dst.size());
    }
    packet->data = nullptr;
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
}

#define US ->Unit(benchmark::kMicrosecond)
#define TO_RGB_BENCHMARKS(label, size)                                                                    \
    BENCHMARK_CAPTURE(Ours, ToRgb_UYVY_RGB32_##label, &lumacore::UyvyToRgb32, In::Uyvy, 32, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_UYVYToARGB_##label, In::Uyvy, 32, false, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_UYVY_BGRA_##label, In::Uyvy, 32, size) US;                   \
    BENCHMARK_CAPTURE(Ours, ToRgb_UYVY_RGB24_##label, &lumacore::UyvyToRgb24, In::Uyvy, 24, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_UYVYToARGB_ARGBToRGB24_##label, In::Uyvy, 24, false, size) US; \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_I422ToRGB24_##label, In::Uyvy, 24, true, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_UYVY_BGR24_##label, In::Uyvy, 24, size) US;                  \
    BENCHMARK_CAPTURE(Ours, ToRgb_YUY2_RGB32_##label, &lumacore::Yuy2ToRgb32, In::Yuy2, 32, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_YUY2ToARGB_##label, In::Yuy2, 32, false, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_YUY2_BGRA_##label, In::Yuy2, 32, size) US;                   \
    BENCHMARK_CAPTURE(Ours, ToRgb_YUY2_RGB24_##label, &lumacore::Yuy2ToRgb24, In::Yuy2, 24, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_YUY2ToARGB_ARGBToRGB24_##label, In::Yuy2, 24, false, size) US; \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_YUY2_BGR24_##label, In::Yuy2, 24, size) US;                  \
    BENCHMARK_CAPTURE(Ours, ToRgb_I420_RGB32_##label, &lumacore::I420ToRgb32, In::I420, 32, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_I420ToARGB_##label, In::I420, 32, false, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_I420_BGRA_##label, In::I420, 32, size) US;                   \
    BENCHMARK_CAPTURE(Ours, ToRgb_I420_RGB24_##label, &lumacore::I420ToRgb24, In::I420, 24, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_I420ToRGB24_##label, In::I420, 24, true, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_I420_BGR24_##label, In::I420, 24, size) US;                  \
    BENCHMARK_CAPTURE(Ours, ToRgb_v210_RGB32_##label, &lumacore::V210ToRgb32, In::V210, 32, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_I210ToARGB_##label, In::V210, 32, false, size) US;             \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_yuv422p10_BGRA_##label, In::V210, 32, size) US;              \
    BENCHMARK_CAPTURE(AvcodecV210, ToRgb_avcodec_v210_swscale_BGRA_##label, 32, size) US;                 \
    BENCHMARK_CAPTURE(Ours, ToRgb_v210_RGB24_##label, &lumacore::V210ToRgb24, In::V210, 24, size) US;     \
    BENCHMARK_CAPTURE(Libyuv, ToRgb_libyuv_I210ToARGB_ARGBToRGB24_##label, In::V210, 24, false, size) US; \
    BENCHMARK_CAPTURE(Swscale, ToRgb_swscale_yuv422p10_BGR24_##label, In::V210, 24, size) US;             \
    BENCHMARK_CAPTURE(AvcodecV210, ToRgb_avcodec_v210_swscale_BGR24_##label, 24, size) US

TO_RGB_BENCHMARKS(1080p, kHd);
TO_RGB_BENCHMARKS(2160p, kUhd);

}  // namespace

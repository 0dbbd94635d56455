// RGB to Y'CbCr on full frames (RGB24 and RGB32 read bottom-up, as the
// dispatcher hands them over) next to the closest conversions of libyuv and
// libswscale measured in the same run, and memcpy of the same output bytes.
//
// The closest functions do comparable but not identical work: libyuv
// averages chroma over 2 x 2 pixels with 8-bit fixed-point coefficients;
// libswscale converts through its 15-bit intermediate; neither has RGB to
// v210, so v210 is compared with libswscale to planar 10-bit 4:2:2 alone and
// followed by libavcodec's v210 encoder. libyuv has no RGB24 to packed
// 4:2:2; its route is RGB24ToARGB then ARGBToUYVY / ARGBToYUY2.
#include <benchmark/benchmark.h>
#include <libyuv/convert.h>
#include <libyuv/convert_argb.h>
#include <libyuv/convert_from_argb.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstring>
#include <vector>

#include "colour/rgb_to_v210.h"
#include "colour/rgb_to_ycbcr8.h"
#include "colour/rgb_to_ycbcr_routines.h"
#include "formats/line_pitch.h"

namespace {


struct FrameSize {
    std::uint32_t width, height;
};
constexpr FrameSize kHd{1920, 1080};
constexpr FrameSize kUhd{3840, 2160};

constexpr std::int32_t kMatrix = 1;  // CCIR 601 standard range
constexpr std::uint32_t kBottomUp = 0x8000;

enum class Out { Uyvy, Yuy2, Yv12, V210 };

std::uint32_t OutPitch(Out out, std::uint32_t w) {
    switch (out) {
        case Out::Yv12:
            return w;
        case Out::V210:
            return lumacore::V210LinePitch(w);
        default:
            return 2 * w;
    }
}

std::size_t OutBytes(Out out, FrameSize s) {
    const std::size_t luma = std::size_t(OutPitch(out, s.width)) * s.height;
    return out == Out::Yv12 ? luma + 2 * ((s.height + 1) / 2) * (s.width / 2) : luma;
}

struct Frames {
    std::vector<std::uint8_t> src, dst;
    std::uint32_t src_pitch;
    Frames(FrameSize s, int bits, std::size_t out_bytes)
        : src(std::size_t(s.width) * (bits / 8) * s.height), dst(out_bytes), src_pitch(s.width * (bits / 8)) {
        for (std::size_t i = 0; i < src.size(); ++i) src[i] = std::uint8_t(i * 7 + (i >> 11) + (i >> 17));
    }
    // The last line in memory, for readers that step backwards.
    const std::uint8_t* LastLine(FrameSize s) const { return src.data() + std::size_t(s.height - 1) * src_pitch; }
};

void Report(benchmark::State& state, std::size_t out_bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(out_bytes));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// ---- Ours -------------------------------------------------------------------

using Routine = std::uint32_t (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint32_t,
                                  std::uint32_t, std::int32_t, std::uint32_t);

void Ours(benchmark::State& state, Routine routine, int bits, Out out, FrameSize s) {
    Frames f(s, bits, OutBytes(out, s));
    const std::uint32_t pitch = OutPitch(out, s.width);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            routine(f.dst.data(), f.src.data(), s.width, s.height, pitch, f.src_pitch, kMatrix, kBottomUp));
        benchmark::ClobberMemory();
    }
    Report(state, f.dst.size());
}

void MemcpyOut(benchmark::State& state, Out out, FrameSize s) {
    const std::size_t bytes = OutBytes(out, s);
    std::vector<std::uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    Report(state, bytes);
}

// ---- libyuv (a negative height reads the source bottom-up) -----------------

void Libyuv(benchmark::State& state, int bits, Out out, FrameSize s) {
    Frames f(s, bits, OutBytes(out, s));
    const int w = int(s.width), h = -int(s.height), pitch = int(OutPitch(out, s.width));
    std::uint8_t* y = f.dst.data();
    std::uint8_t* v = y + std::size_t(s.width) * s.height;  // YV12: Cr plane first
    std::uint8_t* u = v + std::size_t(s.width / 2) * ((s.height + 1) / 2);
    std::vector<std::uint8_t> argb(bits == 24 ? std::size_t(s.width) * 4 * s.height : 0);
    for (auto _ : state) {
        const std::uint8_t* src = f.src.data();
        int src_pitch = int(f.src_pitch);
        if (bits == 24 && out != Out::Yv12) {
            libyuv::RGB24ToARGB(src, src_pitch, argb.data(), w * 4, w, int(s.height));
            src = argb.data();
            src_pitch = w * 4;
        }
        switch (out) {
            case Out::Uyvy:
                libyuv::ARGBToUYVY(src, src_pitch, y, pitch, w, h);
                break;
            case Out::Yuy2:
                libyuv::ARGBToYUY2(src, src_pitch, y, pitch, w, h);
                break;
            case Out::Yv12:
                if (bits == 24)
                    libyuv::RGB24ToI420(src, src_pitch, y, w, u, w / 2, v, w / 2, w, h);
                else
                    libyuv::ARGBToI420(src, src_pitch, y, w, u, w / 2, v, w / 2, w, h);
                break;
            case Out::V210:
                break;
        }
        benchmark::ClobberMemory();
    }
    Report(state, f.dst.size());
}

// ---- libswscale (a negative stride from the last line reads bottom-up) ------

AVPixelFormat SwsOut(Out out) {
    switch (out) {
        case Out::Uyvy:
            return AV_PIX_FMT_UYVY422;
        case Out::Yuy2:
            return AV_PIX_FMT_YUYV422;
        case Out::Yv12:
            return AV_PIX_FMT_YUV420P;
        case Out::V210:
            return AV_PIX_FMT_YUV422P10LE;
    }
    return AV_PIX_FMT_NONE;
}

void Swscale(benchmark::State& state, int bits, Out out, FrameSize s, bool encode_v210) {
    const int w = int(s.width), h = int(s.height);
    Frames f(s, bits, OutBytes(out, s));
    SwsContext* sws = sws_getContext(w, h, bits == 24 ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_BGRA, w, h, SwsOut(out),
                                     SWS_POINT, nullptr, nullptr, nullptr);
    AVFrame* frame = av_frame_alloc();
    frame->format = SwsOut(out);
    frame->width = w;
    frame->height = h;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    if (!sws || av_frame_get_buffer(frame, 64) < 0) {
        state.SkipWithError("libswscale setup failed");
    } else if (encode_v210) {
        const AVCodec* v210 = avcodec_find_encoder(AV_CODEC_ID_V210);
        codec = v210 ? avcodec_alloc_context3(v210) : nullptr;
        if (codec) {
            codec->width = w;
            codec->height = h;
            codec->pix_fmt = AV_PIX_FMT_YUV422P10LE;
            codec->time_base = {1, 25};
        }
        if (!codec || avcodec_open2(codec, v210, nullptr) < 0) state.SkipWithError("v210 encoder unavailable");
    }
    const std::uint8_t* src[4] = {f.LastLine(s)};
    const int src_stride[4] = {-int(f.src_pitch)};
    std::size_t out_bytes = f.dst.size();
    for (auto _ : state) {
        sws_scale(sws, src, src_stride, 0, h, frame->data, frame->linesize);
        if (codec) {
            avcodec_send_frame(codec, frame);
            if (avcodec_receive_packet(codec, packet) == 0) {
                out_bytes = std::size_t(packet->size);
                av_packet_unref(packet);
            }
        }
        benchmark::ClobberMemory();
    }
    Report(state, out_bytes);
    avcodec_free_context(&codec);
    av_packet_free(&packet);
    av_frame_free(&frame);
    sws_freeContext(sws);
}

#define US ->Unit(benchmark::kMicrosecond)
#define FROM_RGB_BENCHMARKS(label, size)                                                                   \
    BENCHMARK_CAPTURE(MemcpyOut, uyvy_##label, Out::Uyvy, size) US;                                        \
    BENCHMARK_CAPTURE(MemcpyOut, yv12_##label, Out::Yv12, size) US;                                        \
    BENCHMARK_CAPTURE(MemcpyOut, v210_##label, Out::V210, size) US;                                        \
    BENCHMARK_CAPTURE(Ours, Rgb32ToUyvy_##label, &lumacore::Rgb32ToUyvy, 32, Out::Uyvy, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_ARGBToUYVY_##label, 32, Out::Uyvy, size) US;                          \
    BENCHMARK_CAPTURE(Swscale, swscale_BGRA_UYVY422_##label, 32, Out::Uyvy, size, false) US;               \
    BENCHMARK_CAPTURE(Ours, Rgb24ToUyvy_##label, &lumacore::Rgb24ToUyvy, 24, Out::Uyvy, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_RGB24ToARGB_ARGBToUYVY_##label, 24, Out::Uyvy, size) US;              \
    BENCHMARK_CAPTURE(Swscale, swscale_BGR24_UYVY422_##label, 24, Out::Uyvy, size, false) US;              \
    BENCHMARK_CAPTURE(Ours, Rgb32ToYuy2_##label, &lumacore::Rgb32ToYuy2, 32, Out::Yuy2, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_ARGBToYUY2_##label, 32, Out::Yuy2, size) US;                          \
    BENCHMARK_CAPTURE(Swscale, swscale_BGRA_YUYV422_##label, 32, Out::Yuy2, size, false) US;               \
    BENCHMARK_CAPTURE(Ours, Rgb24ToYuy2_##label, &lumacore::Rgb24ToYuy2, 24, Out::Yuy2, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_RGB24ToARGB_ARGBToYUY2_##label, 24, Out::Yuy2, size) US;              \
    BENCHMARK_CAPTURE(Swscale, swscale_BGR24_YUYV422_##label, 24, Out::Yuy2, size, false) US;              \
    BENCHMARK_CAPTURE(Ours, Rgb32ToYv12_##label, &lumacore::Rgb32ToYv12, 32, Out::Yv12, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_ARGBToI420_##label, 32, Out::Yv12, size) US;                          \
    BENCHMARK_CAPTURE(Swscale, swscale_BGRA_YUV420P_##label, 32, Out::Yv12, size, false) US;               \
    BENCHMARK_CAPTURE(Ours, Rgb24ToYv12_##label, &lumacore::Rgb24ToYv12, 24, Out::Yv12, size) US;          \
    BENCHMARK_CAPTURE(Libyuv, libyuv_RGB24ToI420_##label, 24, Out::Yv12, size) US;                         \
    BENCHMARK_CAPTURE(Swscale, swscale_BGR24_YUV420P_##label, 24, Out::Yv12, size, false) US;              \
    BENCHMARK_CAPTURE(Ours, Rgb32ToV210_##label, &lumacore::Rgb32ToV210, 32, Out::V210, size) US;          \
    BENCHMARK_CAPTURE(Swscale, swscale_BGRA_YUV422P10_##label, 32, Out::V210, size, false) US;             \
    BENCHMARK_CAPTURE(Swscale, swscale_BGRA_YUV422P10_avcodec_v210_##label, 32, Out::V210, size, true) US; \
    BENCHMARK_CAPTURE(Ours, Rgb24ToV210_##label, &lumacore::Rgb24ToV210, 24, Out::V210, size) US;          \
    BENCHMARK_CAPTURE(Swscale, swscale_BGR24_YUV422P10_##label, 24, Out::V210, size, false) US;            \
    BENCHMARK_CAPTURE(Swscale, swscale_BGR24_YUV422P10_avcodec_v210_##label, 24, Out::V210, size, true) US

FROM_RGB_BENCHMARKS(1080p, kHd);
FROM_RGB_BENCHMARKS(2160p, kUhd);

}  // namespace

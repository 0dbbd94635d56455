// make bench: every conversion path of the codec on whole frames, as the
// driver runs it (ConvertFrame, the matrix a frame of that height gets, RGB
// stored bottom-up), in one band and in the bands the driver would use on
// this machine, next to libyuv, libswscale and memcpy measured in the same
// run. Prints one table; with --write FILE also writes it as a Markdown page.
//
// Peers are timed the fastest way they can produce the layout we produce: a
// bottom-up RGB frame is written through a negative destination stride or
// read/written with libyuv's negative height (which flips the source),
// whichever is faster. Where a peer has no such conversion the cell says so.
#include <libyuv/convert.h>
#include <libyuv/convert_argb.h>
#include <libyuv/convert_from.h>
#include <libyuv/convert_from_argb.h>
#include <libyuv/planar_functions.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <emmintrin.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "dispatch/convert_frame.h"
#include "formats/line_pitch.h"
#include "formats/fourcc_catalogue.h"
#include "platform/thread_pool.h"

namespace {

using namespace lumacore;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

struct Size {
    std::uint32_t w, h;
    const char* name;
};
constexpr Size kSizes[] = {{320, 240, "320x240"},
                           {720, 486, "720x486"},
                           {1920, 1080, "1080p"},
                           {3840, 2160, "2160p"}};

// ---- Frames -------------------------------------------------------------------

bool IsRgb(int code) { return code == FMT_RGB24 || code == FMT_RGB32; }

const char* Name(int code) {
    switch (code) {
        case FMT_UYVY: return "UYVY";
        case FMT_YUY2: return "YUY2";
        case FMT_YV12: return "YV12";
        case FMT_I420: return "I420";
        case FMT_V210: return "v210";
        case FMT_P422: return "P422";
        case FMT_RGB24: return "RGB24";
        case FMT_RGB32: return "RGB32";
        default: return "?";
    }
}

std::uint32_t FourccOf(int code) {
    for (int i = 0; i < kFourccCatalogueSize; ++i)
        if (kFourccCatalogue[i].code == code && kFourccCatalogue[i].known) return kFourccCatalogue[i].fourcc;
    return 0;
}

BITMAPINFOHEADER Header(int code, Size s) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = std::int32_t(s.w);
    b.biHeight = std::int32_t(s.h);
    b.biPlanes = 1;
    b.biBitCount = code == FMT_RGB24 ? 24 : code == FMT_RGB32 ? 32 : code == FMT_YV12 || code == FMT_I420 ? 12 : 16;
    b.biCompression = IsRgb(code) ? BI_RGB : FourccOf(code);
    return b;
}

// The bytes of a frame of `code` at its natural pitch.
std::size_t FrameBytes(int code, Size s) {
    switch (code) {
        case FMT_RGB24: return std::size_t((s.w * 3 + 3) & ~3u) * s.h;
        case FMT_RGB32: return std::size_t(s.w) * 4 * s.h;
        case FMT_YV12:
        case FMT_I420: return std::size_t(s.w) * s.h + 2 * std::size_t(s.w / 2) * ((s.h + 1) / 2);
        case FMT_V210: return std::size_t(V210LinePitch(s.w)) * s.h;
        default: return std::size_t(s.w) * 2 * s.h;
    }
}

Bytes Noise(std::size_t n, std::uint32_t seed) {
    Bytes v(n);
    std::uint32_t x = seed;
    for (auto& b : v) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = std::uint8_t(x >> 24);
    }
    return v;
}

// ---- Timing -------------------------------------------------------------------

// Microseconds a call takes: the median of eleven rounds of at least 15 ms
// each (many short rounds: the median rides out bursts of other load).
struct Timer {
    std::function<void()> run;
    std::vector<double> rounds;
    void Round() {
        run();  // warm
        std::uint32_t n = 0;
        const auto start = Clock::now();
        double elapsed = 0;
        do {
            run();
            ++n;
            elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        } while (elapsed < 15000.0);
        rounds.push_back(elapsed / n);
    }
    double Median() {
        if (rounds.empty()) return 0;
        std::sort(rounds.begin(), rounds.end());
        return rounds[rounds.size() / 2];
    }
};

// ---- Peers --------------------------------------------------------------------

// One way a peer makes the frame; null when it has none.
using Way = std::function<void()>;

struct PeerFrame {
    const Bytes& src;
    Bytes& dst;
    Size s;
};

// A libyuv conversion into or out of a bottom-up RGB frame: `call(src, src
// stride, dst, dst stride, height)` with the RGB side flipped by a negative
// stride, and with libyuv's own negative height.
template <class Call>
std::vector<Way> RgbFlips(const std::uint8_t* src, int src_stride, std::uint8_t* dst, int dst_stride, int h,
                          bool rgb_is_dst, Call call) {
    std::vector<Way> ways;
    ways.push_back([=] { call(src, src_stride, dst, dst_stride, -h); });
    if (rgb_is_dst)
        ways.push_back([=] { call(src, src_stride, dst + std::ptrdiff_t(h - 1) * dst_stride, -dst_stride, h); });
    else
        ways.push_back([=] { call(src + std::ptrdiff_t(h - 1) * src_stride, -src_stride, dst, dst_stride, h); });
    return ways;
}

struct Planes8 {
    const std::uint8_t *y, *u, *v;
};
Planes8 I420Planes(const std::uint8_t* p, Size s, bool v_first) {
    const std::uint8_t* y = p;
    const std::uint8_t* a = y + std::size_t(s.w) * s.h;
    const std::uint8_t* b = a + std::size_t(s.w / 2) * ((s.h + 1) / 2);
    return v_first ? Planes8{y, b, a} : Planes8{y, a, b};
}

// libyuv's ways for a path, with what they compute.
std::vector<Way> LibyuvWays(int from, int to, PeerFrame f, std::string* what,
                            std::vector<std::uint16_t>* planes10) {
    const int w = int(f.s.w), h = int(f.s.h);
    const std::uint8_t* src = f.src.data();
    std::uint8_t* dst = f.dst.data();
    const int rgb_stride = to == FMT_RGB24 || from == FMT_RGB24 ? (w * 3 + 3) & ~3 : 4 * w;
    if (from == FMT_UYVY && to == FMT_RGB32) {
        *what = "UYVYToARGB";
        return RgbFlips(src, 2 * w, dst, rgb_stride, h, true, [=](auto s, int ss, auto d, int ds, int hh) {
            libyuv::UYVYToARGB(s, ss, d, ds, w, hh);
        });
    }
    if (from == FMT_YUY2 && to == FMT_RGB32) {
        *what = "YUY2ToARGB";
        return RgbFlips(src, 2 * w, dst, rgb_stride, h, true, [=](auto s, int ss, auto d, int ds, int hh) {
            libyuv::YUY2ToARGB(s, ss, d, ds, w, hh);
        });
    }
    if (from == FMT_I420 && (to == FMT_RGB32 || to == FMT_RGB24)) {
        const Planes8 p = I420Planes(src, f.s, false);
        *what = to == FMT_RGB32 ? "I420ToARGB" : "I420ToRGB24";
        return RgbFlips(p.y, w, dst, rgb_stride, h, true, [=](auto, int, auto d, int ds, int hh) {
            if (to == FMT_RGB32)
                libyuv::I420ToARGB(p.y, w, p.u, w / 2, p.v, w / 2, d, ds, w, hh);
            else
                libyuv::I420ToRGB24(p.y, w, p.u, w / 2, p.v, w / 2, d, ds, w, hh);
        });
    }
    if (from == FMT_V210 && to == FMT_RGB32) {
        // No v210 reader: its 10-bit 4:2:2 planes.
        *what = "I210ToARGB (10-bit planes in)";
        planes10->assign(std::size_t(w) * h * 2, 0);
        for (std::size_t i = 0; i < planes10->size(); ++i) (*planes10)[i] = std::uint16_t((i * 37) & 0x3FF);
        const std::uint16_t* y = planes10->data();
        const std::uint16_t* u = y + std::size_t(w) * h;
        const std::uint16_t* v = u + std::size_t(w / 2) * h;
        return RgbFlips(src, 0, dst, rgb_stride, h, true, [=](auto, int, auto d, int ds, int hh) {
            libyuv::I210ToARGB(y, w, u, w / 2, v, w / 2, d, ds, w, hh);
        });
    }
    if (from == FMT_RGB32 && (to == FMT_UYVY || to == FMT_YUY2)) {
        *what = to == FMT_UYVY ? "ARGBToUYVY" : "ARGBToYUY2";
        return RgbFlips(src, rgb_stride, dst, 2 * w, h, false, [=](auto s, int ss, auto d, int ds, int hh) {
            if (to == FMT_UYVY)
                libyuv::ARGBToUYVY(s, ss, d, ds, w, hh);
            else
                libyuv::ARGBToYUY2(s, ss, d, ds, w, hh);
        });
    }
    if ((from == FMT_RGB32 || from == FMT_RGB24) && to == FMT_YV12) {
        const Planes8 p = I420Planes(dst, f.s, true);
        auto* y = const_cast<std::uint8_t*>(p.y);
        auto* u = const_cast<std::uint8_t*>(p.u);
        auto* v = const_cast<std::uint8_t*>(p.v);
        *what = from == FMT_RGB32 ? "ARGBToI420" : "RGB24ToI420";
        return RgbFlips(src, rgb_stride, y, w, h, false, [=](auto s, int ss, auto, int, int hh) {
            if (from == FMT_RGB32)
                libyuv::ARGBToI420(s, ss, y, w, u, w / 2, v, w / 2, w, hh);
            else
                libyuv::RGB24ToI420(s, ss, y, w, u, w / 2, v, w / 2, w, hh);
        });
    }
    if (from == FMT_I420 && (to == FMT_UYVY || to == FMT_YUY2)) {
        const Planes8 p = I420Planes(src, f.s, false);
        *what = to == FMT_UYVY ? "I420ToUYVY" : "I420ToYUY2";
        return {[=] {
            if (to == FMT_UYVY)
                libyuv::I420ToUYVY(p.y, w, p.u, w / 2, p.v, w / 2, dst, 2 * w, w, h);
            else
                libyuv::I420ToYUY2(p.y, w, p.u, w / 2, p.v, w / 2, dst, 2 * w, w, h);
        }};
    }
    if ((from == FMT_UYVY || from == FMT_YUY2) && to == FMT_YV12) {
        const Planes8 p = I420Planes(dst, f.s, true);
        auto* y = const_cast<std::uint8_t*>(p.y);
        auto* u = const_cast<std::uint8_t*>(p.u);
        auto* v = const_cast<std::uint8_t*>(p.v);
        *what = from == FMT_UYVY ? "UYVYToI420" : "YUY2ToI420";
        return {[=] {
            if (from == FMT_UYVY)
                libyuv::UYVYToI420(src, 2 * w, y, w, u, w / 2, v, w / 2, w, h);
            else
                libyuv::YUY2ToI420(src, 2 * w, y, w, u, w / 2, v, w / 2, w, h);
        }};
    }
    if (from == FMT_I420 && to == FMT_YV12) {
        const Planes8 p = I420Planes(src, f.s, false), q = I420Planes(dst, f.s, true);
        *what = "I420Copy";
        return {[=] {
            libyuv::I420Copy(p.y, w, p.u, w / 2, p.v, w / 2, const_cast<std::uint8_t*>(q.y), w,
                             const_cast<std::uint8_t*>(q.u), w / 2, const_cast<std::uint8_t*>(q.v), w / 2, w, h);
        }};
    }
    return {};
}

AVPixelFormat SwsFormat(int code) {
    switch (code) {
        case FMT_UYVY: return AV_PIX_FMT_UYVY422;
        case FMT_YUY2: return AV_PIX_FMT_YUYV422;
        case FMT_I420:
        case FMT_YV12: return AV_PIX_FMT_YUV420P;
        case FMT_RGB24: return AV_PIX_FMT_BGR24;
        case FMT_RGB32: return AV_PIX_FMT_BGR0;
        default: return AV_PIX_FMT_NONE;
    }
}

// libswscale's planes and strides of a frame, the RGB lines bottom-up.
void SwsPlanes(int code, std::uint8_t* p, Size s, std::uint8_t* planes[4], int strides[4]) {
    const int w = int(s.w), h = int(s.h);
    if (IsRgb(code)) {
        const int stride = code == FMT_RGB24 ? (w * 3 + 3) & ~3 : 4 * w;
        planes[0] = p + std::ptrdiff_t(h - 1) * stride;
        strides[0] = -stride;
    } else if (code == FMT_I420 || code == FMT_YV12) {
        const Planes8 q = I420Planes(p, s, code == FMT_YV12);
        planes[0] = const_cast<std::uint8_t*>(q.y), planes[1] = const_cast<std::uint8_t*>(q.u);
        planes[2] = const_cast<std::uint8_t*>(q.v);
        strides[0] = w, strides[1] = strides[2] = w / 2;
    } else {
        planes[0] = p;
        strides[0] = 2 * w;
    }
}

// ---- Paths --------------------------------------------------------------------

struct Path {
    int from, to;
};

// The paths the gap table is judged on first, then every other the codec has
// a routine of its own for.
constexpr Path kPaths[] = {
    {FMT_UYVY, FMT_RGB32}, {FMT_YUY2, FMT_RGB32}, {FMT_I420, FMT_RGB32}, {FMT_I420, FMT_RGB24},
    {FMT_V210, FMT_RGB32}, {FMT_RGB32, FMT_UYVY}, {FMT_RGB32, FMT_YUY2}, {FMT_RGB32, FMT_YV12},
    {FMT_RGB24, FMT_YV12}, {FMT_UYVY, FMT_RGB24}, {FMT_V210, FMT_RGB24}, {FMT_RGB24, FMT_UYVY},
    {FMT_RGB32, FMT_V210}, {FMT_UYVY, FMT_YUY2},  {FMT_UYVY, FMT_UYVY},  {FMT_UYVY, FMT_YV12},
    {FMT_I420, FMT_UYVY},  {FMT_I420, FMT_YV12},  {FMT_UYVY, FMT_V210},  {FMT_V210, FMT_UYVY},
    {FMT_V210, FMT_P422},
};

struct Row {
    std::string path, size;
    double one = 0, banded = 0, yuv = 0, sws = 0, memcpy_us = 0;
    std::uint32_t bands = 1;
    std::string yuv_what;
};

Row Measure(Path p, Size s, std::uint32_t most) {
    Row row;
    row.path = std::string(Name(p.from)) + " → " + Name(p.to);
    row.size = s.name;
    const Bytes src = Noise(FrameBytes(p.from, s), 0x9E3779B9u ^ s.w);
    Bytes dst(FrameBytes(p.to, s) + 64), peer_dst(FrameBytes(p.to, s) + 64);
    const BITMAPINFOHEADER in = Header(p.from, s), out = Header(p.to, s);
    const std::int32_t matrix = s.h <= 625 ? 1 : 5;
    const BoardAlignment alignment{};
    row.bands = BandsFor(p.from, p.to, in, most);
    auto ours = [&](std::uint32_t bands) {
        return [&, bands] {
            ConvertFrame(alignment, p.from, &in, src.data(), 0, p.to, &out, dst.data(), 0, matrix, bands);
        };
    };
    if (!ConvertFrame(alignment, p.from, &in, src.data(), 0, p.to, &out, dst.data(), 0, matrix, 1)) {
        std::fprintf(stderr, "no conversion %s %s\n", row.path.c_str(), s.name);
        return row;
    }
    std::vector<Timer> timers;
    timers.push_back({ours(1), {}});
    timers.push_back({ours(row.bands), {}});
    const std::size_t copy_bytes = src.size() + FrameBytes(p.to, s);
    Bytes copy_from(copy_bytes, 0x5A), copy_to(copy_bytes);
    timers.push_back({[&] { std::memcpy(copy_to.data(), copy_from.data(), copy_bytes); }, {}});

    std::vector<std::uint16_t> planes10;
    const std::vector<Way> yuv_ways = LibyuvWays(p.from, p.to, {src, peer_dst, s}, &row.yuv_what, &planes10);
    const std::size_t first_yuv = timers.size();
    for (const Way& way : yuv_ways) timers.push_back({way, {}});

    SwsContext* sws = nullptr;
    std::uint8_t *sp[4] = {}, *dp[4] = {};
    int ss[4] = {}, ds[4] = {};
    if (SwsFormat(p.from) != AV_PIX_FMT_NONE && SwsFormat(p.to) != AV_PIX_FMT_NONE && p.from != p.to) {
        sws = sws_getContext(int(s.w), int(s.h), SwsFormat(p.from), int(s.w), int(s.h), SwsFormat(p.to), SWS_POINT,
                             nullptr, nullptr, nullptr);
        SwsPlanes(p.from, const_cast<std::uint8_t*>(src.data()), s, sp, ss);
        SwsPlanes(p.to, peer_dst.data(), s, dp, ds);
    }
    const std::size_t sws_at = timers.size();
    if (sws) timers.push_back({[&] { sws_scale(sws, sp, ss, 0, int(s.h), dp, ds); }, {}});

    for (int round = 0; round < 11; ++round)
        for (Timer& t : timers) t.Round();
    row.one = timers[0].Median();
    row.banded = timers[1].Median();
    row.memcpy_us = timers[2].Median();
    for (std::size_t i = first_yuv; i < first_yuv + yuv_ways.size(); ++i) {
        const double t = timers[i].Median();
        row.yuv = row.yuv == 0 ? t : std::min(row.yuv, t);
    }
    if (sws) {
        row.sws = timers[sws_at].Median();
        sws_freeContext(sws);
    }
    return row;
}

// What the memory takes to be written: one 2160p RGB32 frame's bytes with
// streaming stores, by the calling thread alone and in the driver's bands on
// the same pool. A conversion whose one band already writes near this speed
// cannot gain from bands, however many.
struct WriteCeiling {
    double bytes = 0, one = 0, banded = 0;
};

struct Streamed {
    std::uint8_t* to;
    std::size_t part;
};

void StreamBand(void* context, std::uint32_t band) {
    const Streamed& s = *static_cast<const Streamed*>(context);
    const __m128i v = _mm_set1_epi8(0x5A);
    std::uint8_t* p = s.to + band * s.part;
    for (std::size_t i = 0; i < s.part; i += 16) _mm_stream_si128(reinterpret_cast<__m128i*>(p + i), v);
    _mm_sfence();
}

WriteCeiling MeasureWriteCeiling(std::uint32_t most) {
    constexpr std::size_t kBytes = std::size_t(3840) * 2160 * 4;
    Bytes frame(kBytes + 64);
    auto* aligned = reinterpret_cast<std::uint8_t*>((reinterpret_cast<std::uintptr_t>(frame.data()) + 63) & ~std::uintptr_t(63));
    auto in_bands = [aligned](std::uint32_t bands) {
        return [aligned, bands] {
            Streamed s{aligned, kBytes / bands & ~std::size_t(63)};
            RunBands(bands, bands, StreamBand, &s);
        };
    };
    Timer one{in_bands(1), {}}, banded{in_bands(most), {}};
    for (int round = 0; round < 11; ++round) {
        one.Round();
        banded.Round();
    }
    return {double(kBytes), one.Median(), banded.Median()};
}

std::string Fixed(double v, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", digits, v);
    return text;
}

std::string Table(const std::vector<Row>& rows, std::uint32_t most) {
    std::ostringstream t;
    t << "| path | frame | ours µs, 1 band | ours µs, " << most
      << " bands (used) | bands ÷ 1 band speed-up | libyuv µs"
      << " | libyuv ÷ ours (1 band) | libswscale µs | libswscale ÷ ours | memcpy of in+out µs | ours ÷ memcpy |"
      << " libyuv function |\n|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n";
    for (const Row& r : rows) {
        t << "| " << r.path << " | " << r.size << " | " << Fixed(r.one, 0) << " | " << Fixed(r.banded, 0) << " ("
          << r.bands << ") | " << Fixed(r.one / r.banded, 2) << " | " << (r.yuv ? Fixed(r.yuv, 0) : "—") << " | "
          << (r.yuv ? Fixed(r.yuv / r.one, 2) : "—") << " | " << (r.sws ? Fixed(r.sws, 0) : "—") << " | "
          << (r.sws ? Fixed(r.sws / r.one, 2) : "—") << " | " << Fixed(r.memcpy_us, 0) << " | "
          << Fixed(r.one / r.memcpy_us, 2) << " | " << (r.yuv_what.empty() ? "—" : r.yuv_what) << " |\n";
    }
    return t.str();
}

std::string ProcessorName() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

}  // namespace

int main(int argc, char** argv) {
    std::string write_to, only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--write") == 0 && i + 1 < argc) write_to = argv[++i];
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) only = argv[++i];
    }
    const std::uint32_t most = std::min<std::uint32_t>(LogicalProcessors(), 16);
    std::vector<Row> rows;
    for (const Path& p : kPaths) {
        for (const Size& s : kSizes) {
            Row r;
            r.path = std::string(Name(p.from)) + " → " + Name(p.to);
            if (!only.empty() && (r.path + " " + s.name).find(only) == std::string::npos) continue;
            rows.push_back(Measure(p, s, most));
            std::fprintf(stderr, "%s %s: %.0f us, %u bands %.0f us\n", rows.back().path.c_str(), s.name,
                         rows.back().one, rows.back().bands, rows.back().banded);
        }
    }
    const std::string table = Table(rows, most);
    std::printf("%s", table.c_str());
    const WriteCeiling ceiling = MeasureWriteCeiling(most);
    std::ostringstream ceiling_text;
    ceiling_text << "Writing the memory: " << Fixed(ceiling.bytes / 1048576.0, 1)
                 << " MiB (one 2160p RGB32 frame) with streaming stores takes " << Fixed(ceiling.one, 0)
                 << " µs on one thread and " << Fixed(ceiling.banded, 0) << " µs in " << most
                 << " bands (" << Fixed(ceiling.one / ceiling.banded, 2)
                 << "x). A 2160p conversion to RGB32 that writes at nearly this speed in one band is bounded by "
                    "the memory, not the processors, and gains little from bands.\n";
    std::printf("\n%s", ceiling_text.str().c_str());
    if (write_to.empty()) return 0;
    std::ofstream page(write_to);
    page << "# Benchmarks\n\n"
         << "What `make bench` measured on " << ProcessorName() << ", " << LogicalProcessors()
         << " logical processors, in one run (native-release build). `make bench` rewrites this page.\n\n"
         << "- Ours: `ConvertFrame` as the driver calls it, RGB stored bottom-up, the matrix a frame of that height "
            "gets (CCIR 601 up to 625 lines, SMPTE 274M above). \"1 band\" converts on the calling thread alone; "
            "the next column uses the bands the driver would use for that frame here (frames too small to gain "
            "stay in one band). Frames whose source and destination reach 24 MiB (2160p here) are written to "
            "32-bit RGB with streaming stores, in one band as in bands.\n"
         << "- Peers are timed the fastest way they produce our layout (bottom-up RGB through a negative "
            "destination stride or libyuv's negative height, whichever is faster). They do comparable, not "
            "identical, work: libyuv computes with 6- to 8-bit fixed-point coefficients and averages 4:2:0 "
            "chroma; libswscale runs its unscaled converters (`SWS_POINT`). Neither reads or writes v210: for "
            "v210 → RGB32 libyuv is given 10-bit 4:2:2 planes (`I210ToARGB`).\n"
         << "- \"÷ ours\" is the peer's time divided by ours (above 1, ours is faster); \"ours ÷ memcpy\" is our "
            "one-band time divided by one `memcpy` of as many bytes as the frame's input and output together.\n"
         << "- Each figure is the median of eleven rounds of at least 15 ms, the contenders of a row interleaved.\n\n"
         << "Every byte we write is the one our plain reference defines (the kernel harness proves each tier "
            "equal to it), so the arithmetic differs by path, and so does what it costs:\n\n"
         << "| paths | arithmetic | what the vector code does |\n|---|---|---|\n"
         << "| YUY2 → RGB32, packed → RGB24 | 6-bit gains, sums shifted by 6 | 16-bit lanes, one saturating "
            "addition a channel (exact: each term fits a word) |\n"
         << "| UYVY → RGB32, v210 → RGB32 | 13-bit gains, sums shifted by 13 | exact 32-bit sums (VNNI "
            "multiply-adds), high halves |\n"
         << "| I420 → RGB, P422 → RGB, YVYU → RGB | exact coefficients, sums divided by 10000, truncated | "
            "exact 32-bit chroma sums; per pixel one fused multiply-add of Y' and the gain over 10000 onto the "
            "chroma term over 10000, truncated (proved over every Y', Cb, Cr); 4:2:0 lines two at a time, "
            "sharing the chroma terms |\n"
         << "| v210 → RGB24 | the same, 10-bit samples | exact 32-bit sums, the division in single precision "
            "(proved over every reachable sum) |\n"
         << "| RGB → Y'CbCr | exact coefficients, sums divided by 10000, truncated | exact 32-bit sums, the "
            "division as one fused multiply-add (proved over every reachable sum) |\n\n"
         << "libyuv computes in 16-bit lanes with 6- to 8-bit coefficients, half the lanes' width of an "
            "exact 32-bit sum; where our bytes need such sums (the 13-bit and 10000 rows) a frame costs "
            "more operations than libyuv's, however the kernels are written.\n\n"
         << table << "\n"
         << ceiling_text.str()
         << "\nKernel-level timings, plain against each instruction-set tier, follow in `make bench`'s output "
            "(`kernel_harness --bench`).\n";
    return 0;
}

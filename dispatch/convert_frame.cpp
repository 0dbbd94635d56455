#include "dispatch/convert_frame.h"

#include <algorithm>
#include <cstring>

#include "dispatch/conversion_table.h"
#include "colour/to_rgb_pixels.h"
#include "convert/copy_bytes.h"
#include "formats/format_descriptor.h"
#include "formats/line_pitch.h"
#include "platform/thread_pool.h"

namespace lumacore {
namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;

// The layouts of BI_RGB headers (the 16-bit RGB codes have no header of
// their own: their unstated sizes are the codec's, as for Y'CbCr).
bool IsRgb(int code) { return code == FMT_RGB24 || code == FMT_RGB32; }
bool IsPlanar(int code) { return DescriptorOf(code).kind == LayoutKind::Planar; }

// A stated size of 0 is no statement: the size a writer of that header would
// have used stands in.
std::uint64_t StatedSize(std::uint32_t stated, const BITMAPINFOHEADER& header, int code) {
    if (stated != 0) return stated;
    if (IsRgb(code)) return DibImageSize(header.biWidth, header.biHeight, header.biBitCount);
    if (header.biWidth <= 0) return 0;
    const std::int64_t h = header.biHeight;
    return CodecFrameSize(code, std::uint32_t(header.biWidth), std::uint32_t(h < 0 ? -h : h));
}

std::uint32_t SourcePitch(int code, std::uint64_t stated, std::uint32_t w, std::uint32_t h, std::uint32_t dw) {
    switch (code) {
        case FMT_YV12:
        case FMT_I420:
        case FMT_P422:
            return w;
        case FMT_AUV2:
            return 2u * w;
        case FMT_A12V:
            return V210LinePitch(w);  // one pitch for reading and writing alike
        case FMT_RGB32:
            return 4u * dw;
        default:
            return std::uint32_t(stated / h);
    }
}

struct LineExtent {
    std::uint32_t read, write;
};

// Bytes of every line that the cell's routine reads from the source and
// writes to the destination.
LineExtent LineBytes(LineUse use, int s, int d, std::uint32_t w, std::uint32_t dp, std::uint32_t sp) {
    switch (use) {
        case LineUse::Pairs:
            return {4u * (w / 2u), 4u * (w / 2u)};
        case LineUse::Units:
            if (dp == sp) return {dp, dp};
            return {4u * (w / 2u), 4u * (w / 2u)};
        case LineUse::Natural:
            return {NaturalLineBytes(s, w), NaturalLineBytes(d, w)};
        case LineUse::V210Lines:
            return {sp, NaturalLineBytes(d, w)};
        case LineUse::Prefix:
        default: {
            const std::uint32_t n = dp < sp ? dp : sp;
            return {n, n};
        }
    }
}

// Bytes from the start of a frame that h lines of `line` bytes, `pitch`
// apart, cover (the whole frame for planar layouts).
std::uint64_t FrameReach(int code, std::uint32_t h, std::uint32_t pitch, std::uint32_t line) {
    if (IsPlanar(code)) return ColourPartSize(code, pitch, h);
    return std::uint64_t(h - 1u) * pitch + line;
}

// The flags word of the alpha transfers: the 8-bit plane's routines are
// handed 0x8000 as the 32-bit value -32768; both mean a bottom-up RGB image.
std::uint32_t AlphaFlags(int alpha_code) {
    return alpha_code == FMT_AUV2 ? std::uint32_t(-32768) : kRgbBottomUp;
}

// A frame's geometry, worked out once from the headers and the layouts:
// the pitches the routine is given and how far it reads and writes, which the
// bounds checks hold against the sizes the host states.
struct FrameGeometry {
    std::uint32_t w = 0, h = 0, dw = 0;
    std::uint32_t sp = 0, dp = 0;
    std::uint64_t stated = 0, capacity = 0;  // the buffers as the host states them
    std::uint64_t colour = 0;                // the destination's colour part
    LineExtent line{};                       // bytes of each line read and written
    std::uint64_t src_alpha_offset = 0;      // the source's alpha area, after its colour lines
};

// False when the headers describe no frame.
bool GeometryOf(const BoardAlignment& alignment, const ConversionCell& cell, int s, int d,
                const BITMAPINFOHEADER& src_header, std::uint32_t src_size, const BITMAPINFOHEADER& dst_header,
                std::uint32_t dst_capacity, FrameGeometry* g) {
    if (src_header.biWidth <= 0 || src_header.biHeight == 0 || dst_header.biWidth <= 0) return false;
    g->w = std::uint32_t(src_header.biWidth);
    const std::int64_t signed_h = src_header.biHeight;
    g->h = std::uint32_t(signed_h < 0 ? -signed_h : signed_h);
    g->dw = std::uint32_t(dst_header.biWidth);
    if (g->w > kMaxFrameWidth || g->dw > kMaxFrameWidth) return false;
    g->stated = StatedSize(src_size, src_header, s);
    g->capacity = StatedSize(dst_capacity, dst_header, d);
    g->sp = SourcePitch(s, g->stated, g->w, g->h, g->dw);
    g->dp = DestinationLinePitch(alignment, d, g->dw);
    g->colour = ColourPartSize(d, g->dp, g->h);
    g->line = LineBytes(cell.line_use, s, d, g->w, g->dp, g->sp);
    g->src_alpha_offset = std::uint64_t(g->h) * g->sp;
    return true;
}

// Whether the route stays within both buffers: every byte it writes within
// the capacity, every byte it reads within the stated source.
bool FitsTheBuffers(const FrameGeometry& g, const ConversionCell& cell, int s, int d) {
    // A destination narrower than the source cannot hold its lines.
    if (g.dw < g.w) return false;
    // The v210 readers step through lines of at least (16 x w) / 6 bytes; a
    // source whose pitch is shorter cannot hold h such lines.
    if (cell.line_use == LineUse::V210Lines && g.sp < (16u * g.w) / 6u) return false;
    // Routes other than the plain copies read every source line whole, one
    // pitch after the other. A pitch shorter than that line (a stated size
    // that is not h whole lines) would make the lines overlap and the frame's
    // true lines run past the stated size: no frame of this width.
    if (cell.line_use != LineUse::Prefix && g.sp < g.line.read) return false;
    if (g.colour > kMax32 || g.colour > g.capacity || FrameReach(d, g.h, g.dp, g.line.write) > g.capacity)
        return false;
    if (FrameReach(s, g.h, g.sp, g.line.read) > g.stated) return false;
    if (cell.alpha == AlphaRule::ToRgb32 && g.src_alpha_offset + AlphaAreaSize(s, g.w, g.h) > g.stated) return false;
    return true;
}

// Lines stored bottom line first: cyuv, and RGB, which the routines are
// handed bottom-up. Source line i lands on destination line h - 1 - i when
// one side is and the other is not.
bool BottomUp(int code) {
    const FormatDescriptor& f = DescriptorOf(code);
    return f.kind == LayoutKind::Rgb || f.bottom_up;
}

// Whether a cell's lines convert each on their own, so that any run of
// source lines can be converted apart from the rest: neither side planar
// (4:2:0 chroma rows serve two lines, planes sit at offsets of the whole
// frame), no v210 source line shorter than its groups (its last group runs
// into the next line).
bool LinesStandAlone(const FrameGeometry& g, int s, int d, bool bottom_up) {
    const FormatDescriptor &in = DescriptorOf(s), &out = DescriptorOf(d);
    if (in.kind == LayoutKind::Planar || out.kind == LayoutKind::Planar) return false;
    // Routes with a side stored bottom line first may reverse the lines of
    // the destination after converting: bytes of a line they do not write
    // (padding, an odd width's last pixel) then move with the whole frame's
    // reversal, which bands would not repeat.
    if (bottom_up && (g.w % 2 || g.dp != g.line.write)) return false;
    return in.kind != LayoutKind::TenBit || g.sp >= 16 * ((std::uint64_t(g.w) + 5) / 6);
}

// Frames whose source and destination together reach this size are written
// with streaming stores where the kernels can (32-bit RGB). Through the cache,
// a frame this large no longer stays there, and every store first fetches the
// line it overwrites. Measured on one core with a 32 MiB last-level cache,
// UYVY -> RGB32: at 1080p (12 MiB) as fast either way on one band, 1.5x
// slower streamed in two bands; at 2160p (50 MiB) 2x faster streamed.
constexpr std::uint64_t kStreamFrameBytes = 24u << 20;

bool StreamsTheFrame(const FrameGeometry& g) {
    return std::uint64_t(g.h) * g.sp + g.colour >= kStreamFrameBytes;
}

constexpr std::uint32_t kBandsPerThread = 4;

struct BandJob {
    const ConversionCell* cell;
    std::uint8_t* out;
    const std::uint8_t* in;
    const FrameGeometry* g;
    std::int32_t matrix;
    std::uint32_t count;
    bool reverse;
    std::uint32_t rgb_flags;  // of the Y'CbCr to RGB routines
};

// Band k: source lines [h k / n, h (k + 1) / n), converted as a frame of
// their own into the destination lines they land on.
void ConvertBand(void* context, std::uint32_t band) {
    const BandJob& j = *static_cast<const BandJob*>(context);
    const FrameGeometry& g = *j.g;
    const std::uint32_t first = std::uint32_t(std::uint64_t(g.h) * band / j.count);
    const std::uint32_t end = std::uint32_t(std::uint64_t(g.h) * (band + 1) / j.count);
    if (first == end) return;
    std::uint8_t* out = j.out + std::size_t(j.reverse ? g.h - end : first) * g.dp;
    const std::uint8_t* in = j.in + std::size_t(first) * g.sp;
    if (j.cell->routine)
        j.cell->routine(out, in, g.w, end - first, g.dp, g.sp);
    else
        j.cell->rgb_routine(out, in, g.w, end - first, g.dp, g.sp, j.matrix, j.rgb_flags);
}

// Band k of a cell that converts lines of a frame apart: its bounds on
// multiples of four lines.
void ConvertLines(void* context, std::uint32_t band) {
    const BandJob& j = *static_cast<const BandJob*>(context);
    const FrameGeometry& g = *j.g;
    const std::uint32_t first = std::uint32_t(std::uint64_t(g.h) * band / j.count) & ~3u;
    const std::uint32_t end =
        band + 1 == j.count ? g.h : std::uint32_t(std::uint64_t(g.h) * (band + 1) / j.count) & ~3u;
    if (first < end) j.cell->rgb_lines(j.out, j.in, g.w, g.h, g.dp, g.sp, j.matrix, j.rgb_flags, first, end);
}

}  // namespace

std::uint32_t ConvertFrame(const BoardAlignment& alignment, FormatCode src_code, const BITMAPINFOHEADER* src_header,
                           const void* src, std::uint32_t src_size, FormatCode dst_code,
                           const BITMAPINFOHEADER* dst_header, void* dst, std::uint32_t dst_capacity,
                           std::int32_t matrix, std::uint32_t threads) {
    if (!src_header || !dst_header || !src || !dst) return 0;
    const int s = src_code & 0xFF, d = dst_code & 0xFF;
    if (s >= kFormatCount || d >= kFormatCount) return 0;
    const ConversionCell& cell = CellFor(s, d);
    if (!cell.routine && !cell.rgb_routine && cell.alpha != AlphaRule::WholeCopy) return 0;

    FrameGeometry g;
    if (!GeometryOf(alignment, cell, s, d, *src_header, src_size, *dst_header, dst_capacity, &g)) return 0;
    auto* out = static_cast<std::uint8_t*>(dst);
    const auto* in = static_cast<const std::uint8_t*>(src);

    if (cell.alpha == AlphaRule::WholeCopy) {
        const std::uint64_t count = ColourPartSize(s, g.sp, g.h) + AlphaAreaSize(s, g.w, g.h);
        if (count > g.capacity || count > g.stated || count > kMax32) return 0;
        CopyBytes(out, in, std::uint32_t(count));
        return std::uint32_t(count);
    }
    if (!FitsTheBuffers(g, cell, s, d)) return 0;

    // Several bands a thread: a pool thread that wakes late finds bands left
    // instead of keeping the others waiting for its one band.
    if (threads > g.h) threads = g.h;
    const std::uint32_t count = threads > 1 ? std::min(threads * kBandsPerThread, g.h) : 1;
    const std::uint32_t rgb_flags = kRgbBottomUp | (StreamsTheFrame(g) ? FLAG_STREAM_STORES : 0u);
    if (cell.rgb_lines && count > 1) {
        BandJob job{&cell, out, in, &g, matrix, count, false, rgb_flags};
        RunBands(count, threads, ConvertLines, &job);
    } else {
        const bool any_bottom_up = BottomUp(s) || BottomUp(d);
        BandJob job{&cell, out, in, &g, matrix, count > 1 && LinesStandAlone(g, s, d, any_bottom_up) ? count : 1,
                    BottomUp(s) != BottomUp(d), rgb_flags};
        RunBands(job.count, threads, ConvertBand, &job);
    }
    std::uint64_t written = g.colour;

    switch (cell.alpha) {
        case AlphaRule::Zero:
        case AlphaRule::FromRgb32: {
            // The alpha area follows the colour part only if all of it fits.
            const std::uint64_t alpha = AlphaAreaSize(d, g.w, g.h);
            if (written + alpha > g.capacity || written + alpha > kMax32) break;
            if (cell.alpha == AlphaRule::Zero)
                std::memset(out + written, 0, std::size_t(alpha));
            else
                cell.alpha_routine(out + written, in, g.w, g.h, g.dp, g.sp, matrix, AlphaFlags(d));
            written += alpha;
            break;
        }
        case AlphaRule::ToRgb32:
            cell.alpha_routine(out, in + g.src_alpha_offset, g.w, g.h, g.dp, g.sp, matrix, AlphaFlags(s));
            break;
        default:
            break;
    }
    return std::uint32_t(written);
}

std::uint32_t BandsFor(FormatCode src_code, FormatCode dst_code, const BITMAPINFOHEADER& src_header,
                       std::uint32_t most) {
    // Measured on two cores (1080p, 2 bands): UYVY -> RGB32 1.65x, v210 ->
    // RGB32 1.8x, RGB32 -> UYVY 1.8x; UYVY -> YUY2 at 1080p 0.9x, at 2160p
    // 1.45x. A 720 x 486 colour frame (55-125 us in one band) gained 1.3-1.45x
    // when the pool thread was awake, and lost 10-20% in runs where it woke
    // late, which is how a host calling one frame at a time finds it: such
    // frames, and 720 x 576, stay in one band; 1280 x 720 takes two. RGB to
    // 10-bit frames cost four times as much a pixel (290 us at 720 x 486 in
    // one band) and gained 1.1-1.75x there in bands.
    constexpr std::uint64_t kColourPixels = 450000, kTenBitFromRgbPixels = 120000, kRepackPixels = 2000000;
    const int s = src_code & 0xFF, d = dst_code & 0xFF;
    if (s >= kFormatCount || d >= kFormatCount || src_header.biWidth <= 0) return 1;
    const bool from_rgb = DescriptorOf(s).kind == LayoutKind::Rgb;
    const bool colour = from_rgb || DescriptorOf(d).kind == LayoutKind::Rgb;
    const bool ten_bit_from_rgb = from_rgb && DescriptorOf(d).kind == LayoutKind::TenBit;
    const std::uint64_t per_band = !colour ? kRepackPixels : ten_bit_from_rgb ? kTenBitFromRgbPixels : kColourPixels;
    const std::int64_t h = src_header.biHeight < 0 ? -std::int64_t(src_header.biHeight) : src_header.biHeight;
    const std::uint64_t pixels = std::uint64_t(src_header.biWidth) * std::uint64_t(h);
    const std::uint64_t bands = pixels / per_band;
    return bands < 1 ? 1 : bands < most ? std::uint32_t(bands) : most;
}

}  // namespace lumacore

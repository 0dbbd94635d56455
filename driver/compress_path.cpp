#include "driver/compress_path.h"

#include <cstring>

#include "dispatch/convert_frame.h"
#include "driver/decompress_path.h"
#include "formats/format_code.h"
#include "formats/fourcc_catalogue.h"
#include "formats/line_pitch.h"

namespace lumacore {
namespace {

constexpr std::int64_t kNoSize = -1;
// Dimensions beyond this give sizes past 32 bits whatever the layout; the
// limit keeps the table's products inside 64 bits.
constexpr std::int64_t kDimensionLimit = std::int64_t(1) << 26;
constexpr std::int64_t kTooLarge = std::int64_t(1) << 40;

// Bottom-up RGB24 and RGB32, and the FourCCs with a layout at the bit
// counts their layout allows (packed 16; planar 12 or 16; v210 also 20,
// as other software writes it).
bool IsCompressionFormat(const BITMAPINFOHEADER& h) { return FormatCodeOfHeader(&h) != FMT_NONE; }

std::int64_t Magnitude(LONG v) { return v < 0 ? -std::int64_t(v) : std::int64_t(v); }

// The codec's size table: by the output's FourCC, with the input's width
// and height rounded up to even numbers.
std::int64_t TableSize(const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    const std::int64_t w = (std::int64_t(in.biWidth) + 1) / 2 * 2;
    const std::int64_t h = (Magnitude(in.biHeight) + 1) / 2 * 2;
    if (w > kDimensionLimit || h > kDimensionLimit) return kTooLarge;
    // v210 at 1280 is sized as 1283 pixels wide.
    const std::int64_t v210_w = w == 1280 ? 1283 : w;
    const FourccEntry* entry = FindFourcc(out.biCompression);
    switch (entry ? entry->code : FMT_NONE) {
        case FMT_UYVY:
        case FMT_CYUV:
        case FMT_YUY2:
        case FMT_YVYU:
        case FMT_P422:
            return w * h * 2;
        case FMT_YV12:
        case FMT_I420:
            return w * h + w * h / 2;
        case FMT_V210:
            return h * v210_w * 16 / 6;
        case FMT_A12V: {
            const std::int64_t x = h * v210_w * 16;
            return x / 12 + x / 6;
        }
        case FMT_AUV2:
            return w * h * 3;
        default: {
            // RGB and unknown outputs: the output's own signed size.
            const std::int64_t product = std::int64_t(out.biHeight) * out.biWidth;
            if (product < 0) return product;
            return product > kDimensionLimit * kDimensionLimit ? kTooLarge : product * 3;
        }
    }
}

// The bytes ICM_COMPRESS writes into this output: the colour part at the
// dispatcher's pitch (board alignments and padded v210 lines included) and
// the alpha area. 0 where it writes nothing.
std::int64_t WrittenSize(const CodecSettings& settings, const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    // A FourCC output by its catalogue row (whatever bit count the header
    // carries); an RGB one by its header.
    const FourccEntry* entry = FindFourcc(out.biCompression);
    const FormatCode header_code = FormatCodeOfHeader(&out);
    const int code = entry ? entry->code : header_code == FMT_NONE ? -1 : header_code & 0xFF;
    if (code < 0 || in.biWidth <= 0 || out.biWidth <= 0) return 0;
    // RGB to RGB is no conversion of this codec: nothing is written.
    const FormatCode in_code = FormatCodeOfHeader(&in);
    const auto is_rgb = [](int c) { return c == FMT_RGB24 || c == FMT_RGB32; };
    if (is_rgb(code) && in_code != FMT_NONE && is_rgb(in_code & 0xFF)) return 0;
    const std::uint32_t w = std::uint32_t(in.biWidth), dw = std::uint32_t(out.biWidth);
    if (w > kMaxFrameWidth || dw > kMaxFrameWidth) return 0;
    const std::uint32_t h = std::uint32_t(Magnitude(in.biHeight));
    return std::int64_t(ColourPartSize(code, DestinationLinePitch(AlignmentOf(settings), code, dw), h) + AlphaAreaSize(code, w, h));
}

// The size to report, or kNoSize when it is negative or beyond 32 bits.
std::int64_t FrameSizeBound(const CodecSettings& settings, const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    const std::int64_t table = TableSize(in, out), written = WrittenSize(settings, in, out);
    if (table < 0) return kNoSize;
    const std::int64_t size = table > written ? table : written;
    return size > std::int64_t(0xFFFFFFFFu) ? kNoSize : size;
}

}  // namespace

LRESULT CompressQuery(const CodecInstance&, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!in || !IsCompressionFormat(*in)) return ICERR_BADFORMAT;
    if (!out) return ICERR_OK;
    if (!IsCompressionFormat(*out)) return ICERR_BADFORMAT;
    if (out->biWidth != in->biWidth || out->biHeight != in->biHeight) return ICERR_BADFORMAT;  // no scaling
    return ICERR_OK;
}

LRESULT CompressGetFormat(const CodecInstance& instance, BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
    if (!out) return sizeof(BITMAPINFOHEADER);
    if (!in || !IsCompressionFormat(*in)) return ICERR_BADFORMAT;
    if (in->biSize == 0) in->biSize = sizeof(BITMAPINFOHEADER);

    BITMAPINFOHEADER proposal{};
    std::memcpy(&proposal, in, in->biSize < sizeof proposal ? in->biSize : sizeof proposal);
    proposal.biSize = sizeof(BITMAPINFOHEADER);
    proposal.biCompression = DWORD(instance.settings.fourcc_used);
    proposal.biBitCount = WORD(instance.settings.fourcc_bitcount & 0xFFFF);
    proposal.biPlanes = 1;
    proposal.biClrUsed = 0;
    proposal.biClrImportant = 0;
    // Hosts allocate what is proposed: it must hold the whole frame.
    const std::int64_t size = FrameSizeBound(instance.settings, *in, proposal);
    if (size == kNoSize) return ICERR_BADFORMAT;
    proposal.biSizeImage = DWORD(size);
    std::memcpy(out, &proposal, sizeof proposal);
    return ICERR_OK;
}

LRESULT CompressGetSize(const CodecInstance& instance, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!in || !out) return ICERR_BADPARAM;
    const std::int64_t size = FrameSizeBound(instance.settings, *in, *out);
    if (size == kNoSize) return ICERR_BADFORMAT;
    // A size above 2^31 reaches a 32-bit host as the same DWORD.
    return LRESULT(DWORD(size));
}

LRESULT Compress(const CodecInstance& instance, const ICCOMPRESS* frame) {
    if (!frame || !frame->lpbiInput || !frame->lpbiOutput) return ICERR_BADPARAM;
    const BITMAPINFOHEADER& in = *frame->lpbiInput;
    BITMAPINFOHEADER& out = *frame->lpbiOutput;
    const std::uint32_t written = ConvertFrame(AlignmentOf(instance.settings), FormatCodeOfHeader(&in), &in, frame->lpInput,
                                               in.biSizeImage, FormatCodeOfHeader(&out), &out, frame->lpOutput,
                                               out.biSizeImage, MatrixForHeight(instance.settings, in.biHeight),
                                               BandsFor(FormatCodeOfHeader(&in), FormatCodeOfHeader(&out), in,
                                                        instance.bands));
    out.biSizeImage = written;
    if (!written) return ICERR_ERROR;
    // Every frame stands alone.
    if (frame->lpdwFlags) *frame->lpdwFlags = AVIIF_KEYFRAME;
    if (frame->lpckid) *frame->lpckid = CompressedChunkId(*frame->lpckid);
    return ICERR_OK;
}

DWORD CompressedChunkId(DWORD ckid) {
    // A character below 'A' counts as a decimal digit, any other as a letter
    // digit (so 'a' counts 42); the stream number wraps at 256.
    const auto digit = [](DWORD c) { return c < 'A' ? c - '0' : c - ('A' - 10); };
    const DWORD stream = (16 * digit(ckid & 0xFF) + digit((ckid >> 8) & 0xFF)) & 0xFF;
    const auto hex = [](DWORD n) { return n > 9 ? n - 10 + 'A' : n + '0'; };
    return hex(stream >> 4) | (hex(stream & 0xF) << 8) | (DWORD('d') << 16) | (DWORD('c') << 24);
}

}  // namespace lumacore

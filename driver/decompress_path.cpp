#include "driver/decompress_path.h"

#include <cstring>

#include "dispatch/convert_frame.h"
#include "formats/fourcc_catalogue.h"
#include "formats/line_pitch.h"

namespace lumacore {
namespace {

// Anything the codec knows by name, at any bit count, or RGB of 15 to 32 bits.
bool IsDecompressionInput(const BITMAPINFOHEADER& h) {
    if (h.biHeight < 0) return false;
    if (h.biCompression == BI_RGB)
        return h.biBitCount == 15 || h.biBitCount == 16 || h.biBitCount == 24 || h.biBitCount == 32;
    return FindFourcc(h.biCompression) != nullptr;
}

// Exactly the headers that have a layout.
bool IsDecompressionOutput(const BITMAPINFOHEADER& h) { return FormatCodeOfHeader(&h) != FMT_NONE; }

}  // namespace

std::int32_t MatrixForHeight(const CodecSettings& settings, LONG source_height) {
    return source_height <= 625 ? settings.enc_matrix : settings.enc_matrix_hd;
}

LRESULT DecompressQuery(const CodecInstance&, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!in || !IsDecompressionInput(*in)) return ICERR_BADFORMAT;
    if (!out) return ICERR_OK;
    if (!IsDecompressionOutput(*out)) return ICERR_BADFORMAT;
    if (out->biWidth != in->biWidth || out->biHeight != in->biHeight) return ICERR_BADFORMAT;  // no scaling
    return ICERR_OK;
}

LRESULT DecompressGetFormat(const CodecInstance& instance, const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
    if (!out) return sizeof(BITMAPINFOHEADER);
    if (!in || !IsDecompressionInput(*in)) return ICERR_BADFORMAT;

    // What the frame message will write: h DIB lines, widened by the board
    // alignment where the settings ask for it. Hosts allocate exactly this.
    std::uint64_t size = 0;
    if (in->biWidth > 0 && std::uint32_t(in->biWidth) <= kMaxFrameWidth) {
        const std::uint32_t pitch = DestinationLinePitch(AlignmentOf(instance.settings), FMT_RGB24, std::uint32_t(in->biWidth));
        size = std::uint64_t(pitch) * std::uint32_t(in->biHeight);
    }
    if (size > 0xFFFFFFFFu) return ICERR_BADFORMAT;

    BITMAPINFOHEADER proposal;
    std::memcpy(&proposal, in, sizeof proposal);
    proposal.biSize = sizeof(BITMAPINFOHEADER);
    proposal.biCompression = BI_RGB;
    proposal.biBitCount = 24;
    proposal.biPlanes = 1;
    proposal.biSizeImage = DWORD(size);
    proposal.biXPelsPerMeter = 0;
    proposal.biYPelsPerMeter = 0;
    proposal.biClrUsed = 0;
    proposal.biClrImportant = 0;
    std::memcpy(out, &proposal, sizeof proposal);
    return ICERR_OK;
}

LRESULT Decompress(const CodecInstance& instance, const ICDECOMPRESS* frame) {
    if (!frame || !frame->lpbiInput || !frame->lpbiOutput) return ICERR_BADPARAM;
    const BITMAPINFOHEADER& in = *frame->lpbiInput;
    BITMAPINFOHEADER& out = *frame->lpbiOutput;
    const std::uint32_t written =
        ConvertFrame(AlignmentOf(instance.settings), FormatCodeOfHeader(&in), &in, frame->lpInput, in.biSizeImage,
                     FormatCodeOfHeader(&out), &out, frame->lpOutput, out.biSizeImage,
                     MatrixForHeight(instance.settings, in.biHeight),
                     BandsFor(FormatCodeOfHeader(&in), FormatCodeOfHeader(&out), in, instance.bands));
    out.biSizeImage = written;
    return written ? ICERR_OK : ICERR_ERROR;
}

}  // namespace lumacore

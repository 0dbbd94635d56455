// Fuzzes the conversion dispatcher directly: every cell, any dimensions,
// pitches implied by any stated sizes, capacities around the edges, every
// matrix and alignment setting; buffers exactly as large as claimed.
#include "dispatch/convert_frame.h"
#include "settings/codec_settings.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    lumacore::CodecSettings settings = lumacore::DefaultSettings();
    settings.board_align_720 = in.ConsumeIntegralInRange<std::int32_t>(-1, 3);
    settings.board_align_VESA = in.ConsumeIntegralInRange<std::int32_t>(-1, 2);
    const std::int32_t matrix = in.ConsumeIntegralInRange<std::int32_t>(-2, 7);

    auto pick_code = [&in]() -> lumacore::FormatCode {
        const int code = in.ConsumeIntegralInRange<int>(-1, 14);
        if (code == lumacore::FMT_RGB24 || code == lumacore::FMT_RGB32)
            return lumacore::FormatCode(lumacore::FMT_FLAG_RGB | std::uint32_t(code));
        return code;
    };
    const lumacore::FormatCode s = pick_code(), d = pick_code();

    BITMAPINFOHEADER src_header = fuzz::PickHeader(in);
    BITMAPINFOHEADER dst_header = src_header;
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0) dst_header.biWidth = fuzz::PickDimension(in);
    // What a host that states no size has: the DIB size of an RGB header,
    // the codec's own frame size of a Y'CbCr one.
    auto natural = [](int code, const BITMAPINFOHEADER& h) -> std::uint64_t {
        code &= 0xFF;
        if (code == lumacore::FMT_RGB24 || code == lumacore::FMT_RGB32)
            return lumacore::DibImageSize(h.biWidth, h.biHeight, h.biBitCount);
        if (h.biWidth <= 0) return 0;
        const std::int64_t height = h.biHeight < 0 ? -std::int64_t(h.biHeight) : h.biHeight;
        return lumacore::CodecFrameSize(code, std::uint32_t(h.biWidth), std::uint32_t(height));
    };
    // Mostly headers that agree with their codes.
    auto agree = [&in](lumacore::FormatCode code, BITMAPINFOHEADER* h) {
        if (in.ConsumeIntegralInRange<int>(0, 3) == 0) return;
        if ((code & 0xFF) == lumacore::FMT_RGB24) h->biBitCount = 24;
        if ((code & 0xFF) == lumacore::FMT_RGB32) h->biBitCount = 32;
    };
    agree(s, &src_header);
    agree(d, &dst_header);

    const std::uint64_t src_natural = natural(s, src_header), dst_natural = natural(d, dst_header);
    const std::uint32_t src_claim = fuzz::PickClaim(in, src_natural);
    const std::uint32_t dst_claim = fuzz::PickClaim(in, dst_natural);
    const std::uint64_t src_real = src_claim ? src_claim : src_natural;
    const std::uint64_t dst_real = dst_claim ? dst_claim : dst_natural;
    if (src_real > fuzz::kMaxBuffer || dst_real > fuzz::kMaxBuffer) return 0;
    src_header.biSizeImage = src_claim;
    dst_header.biSizeImage = dst_claim;

    fuzz::Buffer src = fuzz::MakeBuffer(std::uint32_t(src_real), 0x3C);
    fuzz::Buffer dst = fuzz::MakeBuffer(std::uint32_t(dst_real), 0x96);
    const std::uint32_t written = lumacore::ConvertFrame(AlignmentOf(settings), s, &src_header, src.data(), src_claim, d,
                                                         &dst_header, dst.data(), dst_claim, matrix);
    // What is reported was written into the buffer the host gave.
    if (written > dst_real) __builtin_trap();
    // A stated size that is not h whole lines leaves a pitch shorter than a
    // line. Reading such lines stays inside the buffer (they overlap), so no
    // sanitizer sees it; the frame must be refused all the same. Checked for
    // the routes that read 8-bit packed lines whole into RGB.
    const int sc = s & 0xFF, dc = d & 0xFF;
    const bool packed = sc == lumacore::FMT_YUY2 || sc == lumacore::FMT_UYVY || sc == lumacore::FMT_CYUV ||
                        sc == lumacore::FMT_YVYU;
    const bool rgb = dc == lumacore::FMT_RGB24 || dc == lumacore::FMT_RGB32;
    if (written && packed && rgb && src_claim && src_header.biWidth > 0 && src_header.biHeight > 0 &&
        src_claim / std::uint32_t(src_header.biHeight) < 2u * std::uint32_t(src_header.biWidth))
        __builtin_trap();
    return 0;
}

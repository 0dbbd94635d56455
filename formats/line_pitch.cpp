#include "formats/line_pitch.h"

#include "formats/format_descriptor.h"

namespace lumacore {
namespace {

std::uint32_t RoundUp128(std::uint32_t bytes) { return (bytes + 127u) & ~127u; }

}  // namespace

std::uint32_t V210LinePitch(std::uint32_t width) { return (width + 47u) / 48u * 128u; }

std::uint32_t DestinationLinePitch(const BoardAlignment& settings, int code, std::uint32_t width) {
    if (code == FMT_V210 || code == FMT_A12V) {
        // Padded lines already are a multiple of 128 bytes: the board
        // alignments have nothing left to do.
        return V210LinePitch(width);
    }
    if (code == FMT_RGB32) return 4u * width;
    if (code == FMT_AUV2) return 2u * width;

    std::uint32_t pitch = DefaultLinePitch(code, width);
    if (code == FMT_RGB24) pitch = (pitch + 3u) & ~3u;  // DIB lines

    // Only the value 1 of either setting asks for 128-byte lines.
    if ((width == 640 || width == 800) && settings.board_align_VESA == 1) pitch = RoundUp128(pitch);
    if (width == 1280 && settings.board_align_720 == 1) pitch = RoundUp128(pitch);
    return pitch;
}

std::uint64_t AlphaAreaSize(int code, std::uint32_t width, std::uint32_t height) {
    if (code < 0 || code >= kFormatCount) return 0;
    switch (DescriptorOf(code).alpha) {
        case AlphaArea::Plane8:
            return std::uint64_t(width) * height;
        case AlphaArea::Packed10:
            return std::uint64_t(height) * 4u * ((std::uint64_t(width) + 2u) / 3u);
        default:
            return 0;
    }
}

std::uint64_t ColourPartSize(int code, std::uint32_t pitch, std::uint32_t height) {
    const std::uint64_t luma = std::uint64_t(pitch) * height;
    if (code < 0 || code >= kFormatCount) return luma;
    switch (DescriptorOf(code).chroma_rows) {
        case ChromaRows::PerTwoLines:
            return luma + 2u * (std::uint64_t(height + 1u) / 2u) * (pitch / 2u);
        case ChromaRows::PerLine:
            return luma + 2u * (luma / 2u);
        default:
            return luma;
    }
}

std::uint64_t DibImageSize(std::int32_t width, std::int32_t height, std::uint32_t bit_count) {
    if (width <= 0) return 0;
    const std::uint64_t stride = (std::uint64_t(width) * bit_count + 31u) / 32u * 4u;
    const std::uint64_t lines = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    // Absurd headers saturate instead of wrapping to a small size.
    constexpr std::uint64_t kLimit = std::uint64_t(1) << 62;
    if (lines != 0 && stride > kLimit / lines) return kLimit;
    return stride * lines;
}

std::uint32_t CodecFrameSize(int code, std::uint32_t width, std::uint32_t height) {
    if (code < 0 || code >= kFormatCount || width > kMaxFrameWidth) return 0;
    const BoardAlignment no_alignment{};
    const std::uint64_t size = ColourPartSize(code, DestinationLinePitch(no_alignment, code, width), height) +
                               AlphaAreaSize(code, width, height);
    return size > 0xFFFFFFFFu ? 0 : std::uint32_t(size);
}

}  // namespace lumacore

#include "colour/rgb_to_ycbcr_routines.h"

#include <cstddef>

#include "colour/rgb_to_v210.h"
#include "colour/rgb_to_ycbcr8.h"
#include "colour/rgb_to_ycbcr_pixel.h"
#include "engine/reverse_lines.h"
#include "engine/sample_positions.h"

namespace lumacore {
namespace {

std::uint32_t Uyvy(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                   std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits) {
    return RgbToYCbCr8(dst + 1, dst, dst + 2, src, w, h, p, sp, matrix, flags, true, false, bits, 0);
}

std::uint32_t Yuy2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                   std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits) {
    return RgbToYCbCr8(dst, dst + 1, dst + 3, src, w, h, p, sp, matrix, flags, true, false, bits, 0);
}

std::uint32_t Yvyu(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                   std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits) {
    return RgbToYCbCr8(dst, dst + 3, dst + 1, src, w, h, p, sp, matrix, flags, true, false, bits, 0);
}

std::uint32_t Cyuv(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                   std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits) {
    // When the pairs fill every line, writing each line at its mirrored
    // place gives the flipped frame's bytes in one pass: the same as
    // converting with the opposite line order. Otherwise line padding moves
    // with the flip, so convert, then reverse.
    if (p == 4 * (w / 2)) return Uyvy(dst, src, w, h, p, sp, matrix, flags ^ FLAG_SOURCE_BOTTOM_UP, bits);
    const std::uint32_t count = Uyvy(dst, src, w, h, p, sp, matrix, flags, bits);
    ReverseLines(dst, p, h);
    return count;
}

// Planar: lines [first, end) of the frame, `first` a multiple of 4 (4:2:0
// chroma rows come from lines 4k and 4k + 3). `code` places the planes.
std::uint32_t Planar(int code, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h,
                     std::uint32_t p, std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits,
                     std::uint32_t first, std::uint32_t end) {
    const Planes<std::uint8_t> out = PlanesOf(code, dst, p, h);
    const std::uint32_t row = out.RowOfLine(first);
    const std::uint8_t* in = src + std::size_t((flags & FLAG_SOURCE_BOTTOM_UP) ? h - end : first) * sp;
    RgbToYCbCr8(out.Luma(first), out.CbRow(row), out.CrRow(row), in, w, end - first, p, sp, matrix, flags,
                out.is422, true, bits, out.chroma_pitch);
    const std::uint32_t area = w * h;
    return out.is422 ? 2 * area : area + 2 * (area / 4);
}

}  // namespace

std::uint32_t Rgb24ToUyvy(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Uyvy(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToUyvy(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Uyvy(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
}
std::uint32_t Rgb24ToYuy2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Yuy2(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToYuy2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Yuy2(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
}
std::uint32_t Rgb24ToYvyu(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Yvyu(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToYvyu(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Yvyu(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
}
std::uint32_t Rgb24ToCyuv(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Cyuv(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToCyuv(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Cyuv(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
}
std::uint32_t Rgb24ToI420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_I420, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, 0, height);
}
std::uint32_t Rgb24ToI420Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_I420, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, first, end);
}
std::uint32_t Rgb32ToI420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_I420, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, 0, height);
}
std::uint32_t Rgb32ToI420Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_I420, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, first, end);
}
std::uint32_t Rgb24ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_YV12, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, 0, height);
}
std::uint32_t Rgb24ToYv12Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_YV12, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, first, end);
}
std::uint32_t Rgb32ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_YV12, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, 0, height);
}
std::uint32_t Rgb32ToYv12Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_YV12, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, first, end);
}
std::uint32_t Rgb24ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_P422, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, 0, height);
}
std::uint32_t Rgb24ToP422Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_P422, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, first, end);
}
std::uint32_t Rgb32ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar(FMT_P422, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, 0, height);
}
std::uint32_t Rgb32ToP422Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end) {
    return Planar(FMT_P422, dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, first, end);
}
std::uint32_t Rgb24ToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return RgbToV210(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return RgbToV210(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
}

}  // namespace lumacore

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

// 4:2:0: Cb (or Cr, with `cr_first`) plane after the luma, the other after it.
std::uint32_t Planar420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                        std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits, bool cr_first) {
    const Planes<std::uint8_t> out = PlanesOf(cr_first ? FMT_YV12 : FMT_I420, dst, p, h);
    return RgbToYCbCr8(dst, out.cb, out.cr, src, w, h, p, sp, matrix, flags, false, true, bits, out.chroma_pitch);
}

std::uint32_t P422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t w, std::uint32_t h, std::uint32_t p,
                   std::uint32_t sp, std::int32_t matrix, std::uint32_t flags, int bits) {
    const Planes<std::uint8_t> out = PlanesOf(FMT_P422, dst, p, h);
    return RgbToYCbCr8(dst, out.cb, out.cr, src, w, h, p, sp, matrix, flags, true, true, bits, out.chroma_pitch);
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
    return Planar420(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, false);
}
std::uint32_t Rgb32ToI420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar420(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, false);
}
std::uint32_t Rgb24ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar420(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24, true);
}
std::uint32_t Rgb32ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return Planar420(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32, true);
}
std::uint32_t Rgb24ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return P422(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 24);
}
std::uint32_t Rgb32ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags) {
    return P422(dst, src, width, height, dst_pitch, src_pitch, matrix, flags, 32);
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

// The RGB to Y'CbCr routines of the conversion table, one per destination
// layout for 3-byte (RGB24) and 4-byte (RGB32) pixels. Each has the RGB
// routine shape: (dst, src, w, h, dst pitch P, src pitch, matrix, flags).
//
// Planar frames: Y' plane of h lines at pitch P, then the chroma planes at
// pitch P / 2, each of h rows for 4:2:2 and (h + 1) / 2 rows for 4:2:0;
// I420 and P422 put Cb first, YV12 Cr.
#pragma once

#include <cstdint>

namespace lumacore {

// Packed 4:2:2; each returns 2 x w x h.
std::uint32_t Rgb24ToUyvy(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToUyvy(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb24ToYuy2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToYuy2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb24ToYvyu(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToYvyu(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);

// UYVY with the finished frame (h lines of pitch P) reversed in place;
// returns 2 x w x h.
std::uint32_t Rgb24ToCyuv(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToCyuv(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);

// Planar 4:2:0; each returns w x h + 2 x ((w x h) / 4). The Lines forms
// convert lines [first, end) of the frame only (`first` a multiple of 4).
std::uint32_t Rgb24ToI420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb24ToI420Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);
std::uint32_t Rgb32ToI420(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToI420Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);
std::uint32_t Rgb24ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb24ToYv12Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);
std::uint32_t Rgb32ToYv12(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToYv12Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);

// Planar 4:2:2; returns 2 x w x h.
std::uint32_t Rgb24ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb24ToP422Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);
std::uint32_t Rgb32ToP422(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToP422Lines(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width,
                               std::uint32_t height, std::uint32_t dst_pitch, std::uint32_t src_pitch,
                               std::int32_t matrix, std::uint32_t flags, std::uint32_t first, std::uint32_t end);

// v210; returns h x P.
std::uint32_t Rgb24ToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);
std::uint32_t Rgb32ToV210(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                          std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags);

}  // namespace lumacore

// The Y'CbCr to RGB routines of the conversion table, one per pair of a
// Y'CbCr source layout and an RGB destination (5-5-5, 5-6-5, 24-bit and
// 32-bit). Each runs the first-use rule of processor detection, then picks a
// kernel by the processor level, or the generic converter:
//   UYVY (and the colour of auv2), cyuv, YUY2 to 16-, 24- and 32-bit RGB:
//     at level 1 the table kernels, at levels 2 to 5 the 6-bit kernels, when
//     the channel order is B G R; from UYVY order to 32-bit RGB at levels 2
//     to 5 the 13-bit kernel, in any channel order;
//   v210 (and the colour of a12v) to 32-bit RGB at levels 2 to 5: the 10-bit
//     13-bit kernel;
//   everything else, and frames narrower than a pixel pair: the generic
//     converter (5-5-5 destinations always).
// cyuv frames are UYVY frames stored bottom line first: the kernels write
// them top-down, the generic path converts and then reverses the lines.
// Source lines are read at the source pitch. A routine that used a kernel
// returns h x destination pitch, one that used the generic converter its
// count (w x h x bytes per pixel).
#pragma once

#include <cstdint>

namespace lumacore {

#define LUMACORE_TO_RGB_LINES_ROUTINE(name)                                                                      \
    std::uint32_t name(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,   \
                       std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags, \
                       std::uint32_t first, std::uint32_t end)

#define LUMACORE_TO_RGB_ROUTINE(name)                                                                            \
    std::uint32_t name(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,   \
                       std::uint32_t dst_pitch, std::uint32_t src_pitch, std::int32_t matrix, std::uint32_t flags)

LUMACORE_TO_RGB_ROUTINE(UyvyToRgb555);
LUMACORE_TO_RGB_ROUTINE(UyvyToRgb565);
LUMACORE_TO_RGB_ROUTINE(UyvyToRgb24);
LUMACORE_TO_RGB_ROUTINE(UyvyToRgb32);
LUMACORE_TO_RGB_ROUTINE(CyuvToRgb555);
LUMACORE_TO_RGB_ROUTINE(CyuvToRgb565);
LUMACORE_TO_RGB_ROUTINE(CyuvToRgb24);
LUMACORE_TO_RGB_ROUTINE(CyuvToRgb32);
LUMACORE_TO_RGB_ROUTINE(Yuy2ToRgb555);
LUMACORE_TO_RGB_ROUTINE(Yuy2ToRgb565);
LUMACORE_TO_RGB_ROUTINE(Yuy2ToRgb24);
LUMACORE_TO_RGB_ROUTINE(Yuy2ToRgb32);
LUMACORE_TO_RGB_ROUTINE(YvyuToRgb555);
LUMACORE_TO_RGB_ROUTINE(YvyuToRgb565);
LUMACORE_TO_RGB_ROUTINE(YvyuToRgb24);
LUMACORE_TO_RGB_ROUTINE(YvyuToRgb32);

// Planar sources: luma lines `src_pitch` apart, then the chroma planes with
// rows of src_pitch / 2 bytes: P422 Cb (h rows) then Cr; I420 Cb then Cr and
// YV12 Cr then Cb, (h + 1) / 2 rows each, one row for two lines.
LUMACORE_TO_RGB_ROUTINE(P422ToRgb555);
LUMACORE_TO_RGB_LINES_ROUTINE(P422ToRgb555Lines);
LUMACORE_TO_RGB_ROUTINE(P422ToRgb565);
LUMACORE_TO_RGB_LINES_ROUTINE(P422ToRgb565Lines);
LUMACORE_TO_RGB_ROUTINE(P422ToRgb24);
LUMACORE_TO_RGB_LINES_ROUTINE(P422ToRgb24Lines);
LUMACORE_TO_RGB_ROUTINE(P422ToRgb32);
LUMACORE_TO_RGB_LINES_ROUTINE(P422ToRgb32Lines);
LUMACORE_TO_RGB_ROUTINE(I420ToRgb555);
LUMACORE_TO_RGB_LINES_ROUTINE(I420ToRgb555Lines);
LUMACORE_TO_RGB_ROUTINE(I420ToRgb565);
LUMACORE_TO_RGB_LINES_ROUTINE(I420ToRgb565Lines);
LUMACORE_TO_RGB_ROUTINE(I420ToRgb24);
LUMACORE_TO_RGB_LINES_ROUTINE(I420ToRgb24Lines);
LUMACORE_TO_RGB_ROUTINE(I420ToRgb32);
LUMACORE_TO_RGB_LINES_ROUTINE(I420ToRgb32Lines);
LUMACORE_TO_RGB_ROUTINE(Yv12ToRgb555);
LUMACORE_TO_RGB_LINES_ROUTINE(Yv12ToRgb555Lines);
LUMACORE_TO_RGB_ROUTINE(Yv12ToRgb565);
LUMACORE_TO_RGB_LINES_ROUTINE(Yv12ToRgb565Lines);
LUMACORE_TO_RGB_ROUTINE(Yv12ToRgb24);
LUMACORE_TO_RGB_LINES_ROUTINE(Yv12ToRgb24Lines);
LUMACORE_TO_RGB_ROUTINE(Yv12ToRgb32);
LUMACORE_TO_RGB_LINES_ROUTINE(Yv12ToRgb32Lines);

LUMACORE_TO_RGB_ROUTINE(V210ToRgb555);
LUMACORE_TO_RGB_ROUTINE(V210ToRgb565);
LUMACORE_TO_RGB_ROUTINE(V210ToRgb24);
LUMACORE_TO_RGB_ROUTINE(V210ToRgb32);

// The alpha of the 4:2:2:4 layouts into the fourth byte of a 32-bit RGB frame
// whose colour is already converted (the other bytes are not touched); the
// destination line follows bit 15 of `flags`. Standard-range (odd) matrices
// stretch video-range alpha to 0..255; the others keep its top eight bits.
// auv2: one byte per pixel, lines of `width` bytes back to back; returns
// width x height.
LUMACORE_TO_RGB_ROUTINE(Plane8AlphaToRgb32);
// a12v: 32-bit words of three 10-bit samples, line y at y x 4 x ((w + 2) / 3)
// bytes; returns (width x height x 4) / 3.
LUMACORE_TO_RGB_ROUTINE(Packed10AlphaToRgb32);

#undef LUMACORE_TO_RGB_ROUTINE
#undef LUMACORE_TO_RGB_LINES_ROUTINE

}  // namespace lumacore

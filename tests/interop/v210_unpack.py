#!/usr/bin/env python3
"""Unpacks v210 frames into planar 4:2:2 10-bit little-endian (Y, Cb, Cr).

An implementation of its own, so that it checks the codec's packing rather
than repeating it: v210_unpack.py WIDTH HEIGHT IN OUT
"""
import struct
import sys


def main():
    width, height = int(sys.argv[1]), int(sys.argv[2])
    pitch = (width + 47) // 48 * 128
    data = open(sys.argv[3], "rb").read()
    frame_size = pitch * height
    if len(data) == 0 or len(data) % frame_size:
        sys.exit(f"v210_unpack: {len(data)} bytes is not a whole number of {frame_size}-byte frames")
    cwidth = (width + 1) // 2
    words_per_line = pitch // 4
    out = open(sys.argv[4], "wb")
    for f in range(len(data) // frame_size):
        ys, cbs, crs = [], [], []
        for line in range(height):
            start = f * frame_size + line * pitch
            words = struct.unpack_from(f"<{words_per_line}I", data, start)
            samples = []
            for w in words:
                samples += (w & 0x3FF, (w >> 10) & 0x3FF, (w >> 20) & 0x3FF)
            # Each group of six pixels: Cb Y Cr Y Cb Y Cr Y Cb Y Cr Y.
            ys += samples[1:2 * width:2]
            cbs += samples[0:4 * cwidth:4]
            crs += samples[2:4 * cwidth:4]
        out.write(struct.pack(f"<{len(ys)}H", *ys))
        out.write(struct.pack(f"<{len(cbs)}H", *cbs))
        out.write(struct.pack(f"<{len(crs)}H", *crs))


if __name__ == "__main__":
    main()

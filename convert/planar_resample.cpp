#include "convert/planar_resample.h"

#include <cstddef>

#include "convert/copy_bytes.h"
#include "convert/frame_copy.h"
#include "engine/sample_positions.h"

namespace lumacore {
namespace {

// Same subsampling on both sides: every plane copied with its pitches.
void CopySameShape(const Planes<std::uint8_t>& out, const Planes<const std::uint8_t>& in, std::uint32_t height) {
    // Each plane as a frame of rows: one block when the pitches are equal,
    // else the shorter pitch of every row (CopyFrame needs no width).
    CopyFrame(out.y, in.y, 0, height, out.pitch, in.pitch);
    CopyFrame(out.cb, in.cb, 0, out.chroma_rows, out.chroma_pitch, in.chroma_pitch);
    CopyFrame(out.cr, in.cr, 0, out.chroma_rows, out.chroma_pitch, in.chroma_pitch);
}

}  // namespace

std::uint32_t CopyPlanes420(int src_code, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                            std::uint32_t /*width*/, std::uint32_t height, std::uint32_t dst_pitch,
                            std::uint32_t src_pitch) {
    CopySameShape(PlanesOf(dst_code, dst, dst_pitch, height), PlanesOf(src_code, src, src_pitch, height), height);
    const std::uint32_t luma = height * dst_pitch;
    return luma + luma / 2;
}

std::uint32_t ResamplePlanes(int src_code, int dst_code, std::uint8_t* dst, const std::uint8_t* src,
                             std::uint32_t width, std::uint32_t height, std::uint32_t dst_pitch,
                             std::uint32_t src_pitch) {
    const Planes<std::uint8_t> out = PlanesOf(dst_code, dst, dst_pitch, height);
    const Planes<const std::uint8_t> in = PlanesOf(src_code, src, src_pitch, height);
    const std::uint32_t luma = height * dst_pitch;
    const std::uint32_t count = out.is422 ? luma + 2 * (luma / 2) : luma + luma / 2;
    if (!in.is422 && !out.is422) return CopyPlanes420(src_code, dst_code, dst, src, width, height, dst_pitch, src_pitch);
    if (in.is422 && out.is422) {
        // Equal pitches: the whole frame as one block, including the byte
        // between the chroma planes that odd pitches leave.
        if (dst_pitch == src_pitch)
            CopyBytes(dst, src, count);
        else
            CopySameShape(out, in, height);
        return count;
    }

    // w luma bytes and w / 2 chroma bytes a line, within the destination's
    // lines and rows.
    const std::uint32_t luma_bytes = width < dst_pitch ? width : dst_pitch;
    const std::uint32_t chroma_bytes = width / 2 < out.chroma_pitch ? width / 2 : out.chroma_pitch;
    for (std::uint32_t i = 0; i < height; ++i) {
        CopyBytes(out.Luma(i), in.Luma(i), luma_bytes);
        if (out.is422) {
            // Each source row serves two destination rows.
            CopyBytes(out.CbRow(i), in.CbRow(i / 2), chroma_bytes);
            CopyBytes(out.CrRow(i), in.CrRow(i / 2), chroma_bytes);
        } else if (i % 2 == 0) {
            // Even lines' rows are kept, odd lines' rows dropped.
            CopyBytes(out.CbRow(i / 2), in.CbRow(i), chroma_bytes);
            CopyBytes(out.CrRow(i / 2), in.CrRow(i), chroma_bytes);
        }
    }
    return count;
}

}  // namespace lumacore

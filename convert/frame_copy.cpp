#include "convert/frame_copy.h"

#include <algorithm>
#include <cstddef>

#include "convert/copy_bytes.h"

namespace lumacore {

std::uint32_t CopyFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t /*width*/, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const std::uint32_t written = height * dst_pitch;
    if (dst_pitch == src_pitch) {
        // Padding included, the frame is one run.
        CopyBytes(dst, src, written);
        return written;
    }
    CopyLines(dst, dst_pitch, src, src_pitch, std::min(dst_pitch, src_pitch), height);
    return written;
}

std::uint32_t FlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t /*width*/, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    if (height == 0) return 0;
    CopyLines(dst, dst_pitch, src + std::size_t(height - 1) * src_pitch, -std::ptrdiff_t(src_pitch),
              std::min(dst_pitch, src_pitch), height);
    return height * dst_pitch;
}

}  // namespace lumacore

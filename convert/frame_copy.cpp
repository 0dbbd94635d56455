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
    const std::uint32_t line = std::min(dst_pitch, src_pitch);
    for (std::uint32_t y = 0; y < height; ++y) {
        CopyBytes(dst + std::size_t(y) * dst_pitch, src + std::size_t(y) * src_pitch, line);
    }
    return written;
}

std::uint32_t FlipFrame(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t /*width*/, std::uint32_t height,
                        std::uint32_t dst_pitch, std::uint32_t src_pitch) {
    const std::uint32_t line = std::min(dst_pitch, src_pitch);
    for (std::uint32_t y = 0; y < height; ++y) {
        CopyBytes(dst + std::size_t(y) * dst_pitch, src + std::size_t(height - 1 - y) * src_pitch, line);
    }
    return height * dst_pitch;
}

}  // namespace lumacore

#include "colour/rgb_to_alpha.h"

#include <cstddef>

#include "colour/rgb_to_ycbcr_pixel.h"

namespace lumacore {
namespace {

const std::uint8_t* SourceLine(const std::uint8_t* src, std::uint32_t line, std::uint32_t height,
                               std::uint32_t src_pitch, std::uint32_t flags) {
    const bool bottom_up = (flags & FLAG_SOURCE_BOTTOM_UP) != 0;
    return src + std::size_t(bottom_up ? height - 1 - line : line) * src_pitch;
}

bool VideoRange(std::int32_t matrix) { return (matrix & 1) != 0; }

// The 10-bit alpha of every 8-bit alpha: a x 876 / 255 + 64 in video range,
// a x 4 in full range.
struct Alpha10Map {
    std::uint16_t video[256], full[256];
};
constexpr Alpha10Map kAlpha10 = [] {
    Alpha10Map m{};
    for (std::uint32_t a = 0; a < 256; ++a) {
        m.video[a] = std::uint16_t(a * 876 / 255 + 64);
        m.full[a] = std::uint16_t(a * 4);
    }
    return m;
}();

void StoreWord(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

}  // namespace

std::uint32_t RgbAlphaToPlane8(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                               std::uint32_t /*dst_pitch*/, std::uint32_t src_pitch, std::int32_t matrix,
                               std::uint32_t flags) {
    const bool video = VideoRange(matrix);
    for (std::uint32_t line = 0; line < height; ++line) {
        const std::uint8_t* in = SourceLine(src, line, height, src_pitch, flags) + 3;
        std::uint8_t* out = dst + std::size_t(line) * width;
        if (video) {
            for (std::uint32_t x = 0; x < width; ++x) out[x] = std::uint8_t(in[4 * std::size_t(x)] * 219u / 255u + 16u);
        } else {
            for (std::uint32_t x = 0; x < width; ++x) out[x] = in[4 * std::size_t(x)];
        }
    }
    return width * height;
}

std::uint32_t RgbAlphaToPacked10(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t width, std::uint32_t height,
                                 std::uint32_t /*dst_pitch*/, std::uint32_t src_pitch, std::int32_t matrix,
                                 std::uint32_t flags) {
    const std::uint16_t* map = VideoRange(matrix) ? kAlpha10.video : kAlpha10.full;
    const std::uint32_t words = (width + 2) / 3, whole = width / 3;
    for (std::uint32_t line = 0; line < height; ++line) {
        const std::uint8_t* in = SourceLine(src, line, height, src_pitch, flags) + 3;
        std::uint8_t* out = dst + std::size_t(line) * 4 * words;
        for (std::uint32_t w = 0; w < whole; ++w, in += 12, out += 4)
            StoreWord(out, map[in[0]] | std::uint32_t(map[in[4]]) << 10 | std::uint32_t(map[in[8]]) << 20);
        // A last word of one or two samples: the missing fields stay 0.
        if (whole < words) {
            std::uint32_t word = map[in[0]];
            if (width % 3 == 2) word |= std::uint32_t(map[in[4]]) << 10;
            StoreWord(out, word);
        }
    }
    return height * 4 * words;
}

}  // namespace lumacore

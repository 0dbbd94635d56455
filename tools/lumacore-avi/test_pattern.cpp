#include "test_pattern.h"

#include <cstddef>

namespace lumacore_avi {

bool ParsePattern(const std::string& name, Pattern* pattern) {
    if (name == "bars") *pattern = Pattern::kBars;
    else if (name == "ramp") *pattern = Pattern::kRamp;
    else if (name == "noise") *pattern = Pattern::kNoise;
    else return false;
    return true;
}

void FillPattern(Pattern pattern, int frame, int width, int height, int bit_count, std::uint8_t* dib) {
    // 75% colour bars, white to black, in B, G, R order.
    static const std::uint8_t kBars[8][3] = {{191, 191, 191}, {0, 191, 191}, {191, 191, 0}, {0, 191, 0},
                                             {191, 0, 191},   {0, 0, 191},   {191, 0, 0},   {0, 0, 0}};
    const size_t step = size_t(bit_count) / 8u;
    const size_t stride = (size_t(width) * step + 3u) & ~size_t(3);
    std::uint32_t seed = 0x9E3779B9u * std::uint32_t(frame + 1);
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;  // bottom-up: row 0 is the last picture line
        std::uint8_t* p = dib + size_t(row) * stride;
        for (int x = 0; x < width; ++x, p += step) {
            switch (pattern) {
            case Pattern::kBars: {
                const int bar = ((x + frame * 16) % width) * 8 / width;
                // The lowest eighth is a grey ramp, so the picture also has
                // every luma level.
                if (y >= height - height / 8) {
                    const std::uint8_t g = std::uint8_t(x * 255 / (width > 1 ? width - 1 : 1));
                    p[0] = p[1] = p[2] = g;
                } else {
                    p[0] = kBars[bar][0];
                    p[1] = kBars[bar][1];
                    p[2] = kBars[bar][2];
                }
                break;
            }
            case Pattern::kRamp:
                p[0] = std::uint8_t((x + frame * 8) * 255 / (width > 1 ? width : 1));
                p[1] = std::uint8_t(y * 255 / (height > 1 ? height : 1));
                p[2] = std::uint8_t((x + y + frame * 8) & 0xFF);
                break;
            case Pattern::kNoise:
                for (int c = 0; c < 3; ++c) {
                    seed = seed * 1664525u + 1013904223u;
                    p[c] = std::uint8_t(seed >> 24);
                }
                break;
            }
            if (step == 4) p[3] = 0xFF;
        }
        for (size_t pad = size_t(width) * step; pad < stride; ++pad) dib[size_t(row) * stride + pad] = 0;
    }
}

}  // namespace lumacore_avi

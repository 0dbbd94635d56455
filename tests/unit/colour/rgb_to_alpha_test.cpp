// Alpha from 32-bit pixels into the alpha areas of auv2 and a12v.
#include "colour/rgb_to_alpha.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumacore {
namespace {

constexpr std::uint8_t kCanary = 0xA5;

// A w x h RGB32 frame whose alpha bytes are `alpha` in memory order.
std::vector<std::uint8_t> Pixels(const std::vector<std::uint8_t>& alpha) {
    std::vector<std::uint8_t> px(4 * alpha.size(), 0x33);
    for (std::size_t i = 0; i < alpha.size(); ++i) px[4 * i + 3] = alpha[i];
    return px;
}

std::uint32_t Word(const std::vector<std::uint8_t>& v, std::size_t at) {
    return std::uint32_t(v[at]) | std::uint32_t(v[at + 1]) << 8 | std::uint32_t(v[at + 2]) << 16 |
           std::uint32_t(v[at + 3]) << 24;
}

TEST(RgbAlphaToPlane8, MapsAlphaByMatrixParityAndReadsBottomUp) {
    // Two lines of three pixels: memory line 0 is 0, 255, 128; line 1 is 1, 2, 254.
    const auto src = Pixels({0, 255, 128, 1, 2, 254});
    for (std::int32_t matrix : {1, 3, 5, -1}) {
        std::vector<std::uint8_t> out(6 + 4, kCanary);
        // The destination pitch is not used: alpha lines are w bytes.
        EXPECT_EQ(RgbAlphaToPlane8(out.data(), src.data(), 3, 2, 999, 12, matrix, std::uint32_t(-32768)), 6u);
        // Output line 0 is memory line 1.
        EXPECT_EQ(out, (std::vector<std::uint8_t>{16, 17, 234, 16, 235, 125, kCanary, kCanary, kCanary, kCanary}))
            << matrix;
    }
    for (std::int32_t matrix : {0, 2, 4}) {
        std::vector<std::uint8_t> out(6, kCanary);
        RgbAlphaToPlane8(out.data(), src.data(), 3, 2, 6, 12, matrix, 0);  // top-down
        EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 255, 128, 1, 2, 254})) << matrix;
    }
}

TEST(RgbAlphaToPacked10, WritesWholeWordsPerLine) {
    // Four pixels a line: two words a line, the second with one sample.
    const auto src = Pixels({0, 255, 128, 64, 255, 0, 1, 2});
    std::vector<std::uint8_t> out(16 + 8, kCanary);
    EXPECT_EQ(RgbAlphaToPacked10(out.data(), src.data(), 4, 2, 0, 16, 1, 0x8000), 16u);
    // Line 0 from memory line 1 (255, 0, 1, 2), video range.
    EXPECT_EQ(Word(out, 0), 940u | 64u << 10 | 67u << 20);
    EXPECT_EQ(Word(out, 4), 70u);
    EXPECT_EQ(Word(out, 8), 64u | 940u << 10 | 503u << 20);
    EXPECT_EQ(Word(out, 12), 283u);
    for (std::size_t i = 16; i < out.size(); ++i) EXPECT_EQ(out[i], kCanary);

    // Full range is alpha x 4: 0 and 255 become 0 and 1020.
    std::vector<std::uint8_t> full(16, kCanary);
    RgbAlphaToPacked10(full.data(), src.data(), 4, 2, 0, 16, 4, 0);
    EXPECT_EQ(Word(full, 0), 0u | 1020u << 10 | 512u << 20);
    EXPECT_EQ(Word(full, 4), 256u);

    // Three pixels fill a word exactly: lines are (4 x w x h) / 3 bytes together.
    const auto three = Pixels({10, 20, 30, 40, 50, 60});
    std::vector<std::uint8_t> packed(8, kCanary);
    EXPECT_EQ(RgbAlphaToPacked10(packed.data(), three.data(), 3, 2, 0, 12, 0, 0), 8u);
    EXPECT_EQ(Word(packed, 4), 160u | 200u << 10 | 240u << 20);
}

}  // namespace
}  // namespace lumacore

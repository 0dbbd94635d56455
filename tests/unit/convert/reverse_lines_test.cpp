// Reversing an image's line order in place: every tier against the line
// order written out plainly, with canaries on both sides of the image.
#include "engine/reverse_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/unit/test_bytes.h"
namespace lumacore_test {
namespace {

using lumacore::SimdTier;

std::vector<SimdTier> HostTiers() {
    std::vector<SimdTier> tiers;
    for (int t = 0; t <= int(lumacore::HostSimdTier()); ++t) tiers.push_back(SimdTier(t));
    return tiers;
}

constexpr std::size_t kGuard = 64;

// Reverses `count` lines of `line_bytes` starting `offset` bytes into a
// buffer; returns the first wrong byte of the buffer (canaries included) or -1.
long ReverseAndCheck(SimdTier tier, std::uint32_t line_bytes, std::uint32_t count, std::size_t offset) {
    const std::size_t image = std::size_t(line_bytes) * count;
    Bytes buffer = Random(kGuard + offset + image + kGuard, line_bytes * 977 + count * 31 + std::uint32_t(offset));
    Bytes want = buffer;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto from = buffer.begin() + long(kGuard + offset + std::size_t(count - 1 - i) * line_bytes);
        std::copy(from, from + line_bytes, want.begin() + long(kGuard + offset + std::size_t(i) * line_bytes));
    }
    lumacore::ReverseLinesWith(tier, buffer.data() + kGuard + offset, line_bytes, count);
    const auto diff = std::mismatch(want.begin(), want.end(), buffer.begin());
    return diff.first == want.end() ? -1 : long(diff.first - want.begin());
}

// Line counts 0 to 7: nothing to exchange, one pair, and odd counts whose
// middle line stays where it is.
TEST(ReverseLines, EveryTierReversesAtEveryShortLineLength) {
    for (SimdTier tier : HostTiers()) {
        for (std::uint32_t line_bytes = 1; line_bytes <= 64; ++line_bytes) {
            for (std::uint32_t count = 0; count <= 7; ++count) {
                for (std::size_t offset : {0, 1, 3, 8}) {
                    ASSERT_EQ(ReverseAndCheck(tier, line_bytes, count, offset), -1)
                        << "tier " << int(tier) << " line " << line_bytes << " count " << count << " offset " << offset;
                }
            }
        }
    }
}

// Lines of packed 4:2:2 frames at the common widths, and lines on both sides
// of the longest that once fitted a scratch buffer on the stack.
TEST(ReverseLines, EveryTierReversesLongLines) {
    std::vector<std::uint32_t> lengths = {5461, 5462, 20000};
    for (std::uint32_t width : {352u, 640u, 704u, 720u, 800u, 1280u, 1920u, 2048u, 3840u}) lengths.push_back(width * 2);
    for (SimdTier tier : HostTiers()) {
        for (std::uint32_t line_bytes : lengths) {
            for (std::uint32_t count : {2u, 5u, 8u}) {
                ASSERT_EQ(ReverseAndCheck(tier, line_bytes, count, 5), -1)
                    << "tier " << int(tier) << " line " << line_bytes << " count " << count;
            }
        }
    }
}

TEST(ReverseLines, ActiveTierReversesAndReversingTwiceRestores) {
    const Bytes original = Random(1442 * 9, 3);
    Bytes image = original;
    lumacore::ReverseLines(image.data(), 1442, 9);
    for (std::size_t i = 0; i < 9; ++i) {
        ASSERT_TRUE(std::equal(image.begin() + long(i * 1442), image.begin() + long(i * 1442 + 1442),
                               original.begin() + long((8 - i) * 1442)))
            << "line " << i;
    }
    lumacore::ReverseLines(image.data(), 1442, 9);
    EXPECT_EQ(image, original);
}

}  // namespace
}  // namespace lumacore_test

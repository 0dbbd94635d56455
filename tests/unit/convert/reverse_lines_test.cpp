// Reversing an image's line order in place, against the line order written
// out plainly, with canaries on both sides of the image.
#include "engine/reverse_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/unit/convert/layout_model.h"

namespace lumacore_test {
namespace {

// Line counts 0 to 7: nothing to exchange, one pair, and odd counts whose
// middle line stays where it is; at the plain and the widest tier and through
// ReverseLines (-1).
TEST(ReverseLines, ReversesEveryLineCountAndLength) {
    std::vector<int> tiers = {-1};
    for (lumacore::SimdTier t : PlainAndWidest(lumacore::HostSimdTier())) tiers.push_back(int(t));
    for (int tier : tiers) {
        for (std::uint32_t line_bytes : {1u, 3u, 4u, 5u, 15u, 16u, 17u, 31u, 32u, 33u, 63u, 64u, 65u, 1442u, 7681u}) {
            for (std::uint32_t count = 0; count <= 7; ++count) {
                const std::size_t image = std::size_t(line_bytes) * count;
                Bytes buffer = Random(64 + image + 64, line_bytes * 977 + count);
                Bytes want = buffer;
                for (std::uint32_t i = 0; i < count; ++i)
                    std::copy_n(&buffer[64 + std::size_t(count - 1 - i) * line_bytes], line_bytes,
                                &want[64 + std::size_t(i) * line_bytes]);
                if (tier < 0)
                    lumacore::ReverseLines(&buffer[64], line_bytes, count);
                else
                    lumacore::ReverseLinesWith(lumacore::SimdTier(tier), &buffer[64], line_bytes, count);
                ASSERT_EQ(FirstDifference(buffer, want), -1)
                    << "tier " << tier << " line " << line_bytes << " count " << count;
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test

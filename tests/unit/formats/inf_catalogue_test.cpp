// The INF installs the driver under exactly the FourCCs the catalogue
// answers under, in both registry views, in the catalogue's order.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "formats/fourcc_catalogue.h"

namespace lumacore {
namespace {

TEST(FourccCatalogue, TheInfInstallsEveryKnownFourccAndNothingElse) {
    std::vector<std::string> known;
    for (int i = 0; i < kFourccCatalogueSize; ++i) {
        if (!kFourccCatalogue[i].known) continue;
        const std::uint32_t f = kFourccCatalogue[i].fourcc;
        known.push_back({char(f), char(f >> 8), char(f >> 16), char(f >> 24)});
    }
    ASSERT_EQ(known.size(), std::size_t(kKnownFourccCount));

    std::ifstream inf(LUMACORE_SOURCE_DIR "/packaging/lumacore.inf");
    ASSERT_TRUE(inf) << "packaging/lumacore.inf";
    const std::regex line(R"re(^HKLM,%(Drivers32|Drivers32_WoW64)%,"vidc\.(....)",0,%Driver%)re");
    std::vector<std::string> view64, view32;
    for (std::string text; std::getline(inf, text);) {
        std::smatch m;
        if (!std::regex_search(text, m, line)) continue;
        (m[1] == "Drivers32" ? view64 : view32).push_back(m[2]);
    }
    EXPECT_EQ(view64, known);
    EXPECT_EQ(view32, known);
}

}  // namespace
}  // namespace lumacore

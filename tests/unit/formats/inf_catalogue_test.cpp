// The INF installs the driver under exactly the FourCCs the catalogue
// answers under, in both registry views, in the catalogue's order.
#include <gtest/gtest.h>

#include <fstream>
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
    // HKLM,%Drivers32%,"vidc.XXXX",0,%Driver% and the same for the 32-bit view.
    const std::string view64_line = "HKLM,%Drivers32%,\"vidc.", view32_line = "HKLM,%Drivers32_WoW64%,\"vidc.";
    const std::string ours = "\",0,%Driver%";
    std::vector<std::string> view64, view32;
    for (std::string text; std::getline(inf, text);) {
        for (auto [prefix, view] : {std::pair{&view64_line, &view64}, std::pair{&view32_line, &view32}}) {
            if (text.rfind(*prefix, 0) != 0 || text.compare(prefix->size() + 4, ours.size(), ours) != 0) continue;
            view->push_back(text.substr(prefix->size(), 4));
        }
    }
    EXPECT_EQ(view64, known);
    EXPECT_EQ(view32, known);
}

}  // namespace
}  // namespace lumacore

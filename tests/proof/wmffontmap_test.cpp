#include <gtest/gtest.h>

#include <string>

#include "proof/wmffontmap.h"
#include "tempfolder.h"

namespace vg {
namespace {

using test::Quote;

TEST(WmfFontMap, NamesEveryFontByItsFile) {
    const std::string map =
        "% comment /Skipped (/x.t1) ;\n"
        "/Direct (/fonts/a.pfb) ;\n"
        "/Alias /Direct ;   % resolved\n"
        "/Chain /Alias ;\n"
        "/LoopA /LoopB ;\n/LoopB /LoopA ;\n"
        "/Dangling /Nowhere ;\n"
        "/Relative (fonts/b.pfb) ;\n"
        "/Parens (/fonts/(c).pfb) ;\n"
        "/NoEnd (/fonts/d.pfb)\n"
        "/Twinless (/usr/share/fonts/type1/urw-base35/NoSuchFont.t1) ;\n";
    EXPECT_EQ(DirectFontMap(map),
              "/Direct (/fonts/a.pfb) ;\n/Alias (/fonts/a.pfb) ;\n/Chain (/fonts/a.pfb) ;\n"
              "/Twinless (/usr/share/fonts/type1/urw-base35/NoSuchFont.t1) ;\n");
    EXPECT_EQ(DirectFontMap(""), "");
}

// libwmf reads metafiles with our map as with the system's: the same SVG.
TEST(WmfFontMap, MetafilesReadAsWithTheSystemsMap) {
    const std::string& map = WmfFontMapFile();
    if (map.empty() || test::RunShell("command -v wmf2svg").status != 0) GTEST_SKIP() << "no font map or wmf2svg";
    test::TempFolder t;
    const char* makes[] = {"-v 26 -d 400638133393", "-v 6 -d Ab12345xyz", "-v 11 -d ABC123 --set TextAbove=1"};
    int n = 0;
    for (const char* make : makes) {
        const std::string wmf = t.File(std::to_string(++n) + ".wmf");
        ASSERT_EQ(test::RunShell(Quote(VGLYPH_EXE) + " make " + make + " -o " + Quote(wmf)).status, 0) << make;
        ASSERT_EQ(test::RunShell("wmf2svg -o " + Quote(wmf + ".system.svg") + " " + Quote(wmf)).status, 0);
        ASSERT_EQ(test::RunShell("wmf2svg --wmf-gs-fontmap=" + Quote(map) + " -o " + Quote(wmf + ".own.svg") + " " +
                                 Quote(wmf))
                      .status,
                  0);
        const std::string system = test::ReadWholeFile(wmf + ".system.svg");
        EXPECT_NE(system.find("<text"), std::string::npos) << make;
        EXPECT_EQ(test::ReadWholeFile(wmf + ".own.svg"), system) << make;
    }
}

}  // namespace
}  // namespace vg

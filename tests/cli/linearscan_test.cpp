// ITF and Codabar files written by vglyph, rendered by Ghostscript and read
// back by ZXingReader and zbarimg at two rotations and two magnifications.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::Quote;
using vg::test::ShellResult;
using vg::test::TempFolder;

struct LinearScan {
    const char* name;
    const char* options;  // vglyph make options: variation, data, settings
    const char* zxing;    // expected ZXingReader line after the file name
    const char* zbar;     // expected zbarimg line
    const char* also;     // a second symbol both decoders may report ("" none)
    int dpi;
};

void PrintTo(const LinearScan& s, std::ostream* os) { *os << s.name; }

const LinearScan kSymbols[] = {
    {"ItfGeneral", "-v 39 -d 1234567890", "ITF \"1234567890\"", "I2/5:1234567890", "", 300},
    {"ItfMode10", "-v 40 -d 1234567", "ITF \"12345670\"", "I2/5:12345670", "", 300},
    {"Itf14Bearer", "-v 41 -d 1001234500001", "ITF \"10012345000017\"", "I2/5:10012345000017", "", 225},
    {"Itf14OpenBearer", "-v 42 -d 1001234500001", "ITF \"10012345000017\"", "I2/5:10012345000017", "", 225},
    {"Itf14TwoSymbols", "-v 41 -d 1001234500001 -a 12345", "ITF \"10012345000017\"", "I2/5:10012345000017", "123457",
     225},
    {"JisItf13", "-v 44 -d 1234567890123", "ITF \"12345678901231\"", "I2/5:12345678901231", "", 225},
    {"CanadianCoupon", "-v 98 -d 12345678", "ITF \"81234567\"", "I2/5:81234567", "", 300},
    {"ItfOpc", "-v 100 -d 123456789", "ITF \"1234567897\"", "I2/5:1234567897", "", 300},
    // Every Codabar data character, start A and stop B.
    {"CodabarGeneral", "-v 1 -d '0123456789$:/.+' --set StartCharacter=0 --set StopCharacter=1",
     "Codabar \"0123456789$:/.+\"", "Codabar:A0123456789$:/.+B", "", 300},
    {"CodabarMod16", "-v 5 -d 37859 --set StartCharacter=0 --set StopCharacter=1", "Codabar \"37859+\"",
     "Codabar:A37859+B", "", 300},
    {"CodabarLibrary", "-v 2 -d 1234567890123 --set StartCharacter=2 --set StopCharacter=3", "Codabar \"1234567890123",
     "Codabar:C1234567890123", "", 300},
};

struct Variant {
    int rotation;
    int magnification;
};
const Variant kVariants[] = {{0, 80}, {0, 200}, {90, 80}, {90, 200}};

// "" when both decoders read what they should.
std::string ScanOne(const LinearScan& s, const Variant& v, const std::string& dir, int index) {
    const std::string base = dir + "/case" + std::to_string(index);
    const vg::test::ToolResult made = vg::test::RunTool(
        std::string("make ") + s.options + " --no-preview --set Rotation=" + std::to_string(v.rotation) +
        " --set Magnification=" + std::to_string(v.magnification) + " -o " + Quote(base + ".eps"));
    if (made.status != 0) return "make failed: " + made.err;
    // Large modules need no more than 150 dpi; the small ones at 80 % want more.
    const ShellResult gs = vg::test::RenderEps(base + ".eps", base + ".png", s.dpi);
    if (gs.status != 0) return "Ghostscript failed: " + gs.out;

    std::string problems;
    // Each decoder reads the symbol (its line starts with the expected text), and nothing else.
    auto judge = [&](const char* who, const std::vector<std::string>& lines, const std::string& expected) {
        bool read = false;
        for (const std::string& line : lines) {
            if (line.rfind(expected, 0) == 0)
                read = true;
            else if (!*s.also || line.find(s.also) == std::string::npos)
                problems += std::string(who) + " read: " + line + "\n";
        }
        if (!read) problems += std::string(who) + " did not read " + expected + "\n";
    };
    // Unscaled: the downscaled pass of this ZXing release aborts on large bearer frames.
    const ShellResult zx = vg::test::ReadZxing(base + ".png", "-1 -noscale");
    std::vector<std::string> zxLines;
    for (const std::string& line : Lines(zx.out))
        zxLines.push_back(line.rfind(base + ".png ", 0) == 0 ? line.substr(base.size() + 5) : line);
    judge("ZXing", zxLines, s.zxing);
    const ShellResult zb = vg::test::ReadZbar(base + ".png", "-q -Scodabar.enable -Si25.enable");
    judge("zbar", Lines(zb.out), s.zbar);
    return problems;
}

class LinearScanTest : public testing::TestWithParam<LinearScan> {};

TEST_P(LinearScanTest, ReadsBackDataAndCheckCharacters) {
    VG_REQUIRE_SCAN_TOOLS();
    const LinearScan& symbol = GetParam();
    TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    std::vector<std::string> results(std::size(kVariants));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < results.size();)
            results[i] = ScanOne(symbol, kVariants[i], dir.Path(), static_cast<int>(i));
    };
    std::thread helper(work);
    work();
    helper.join();
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i], "") << symbol.name << " at " << kVariants[i].rotation << " degrees, "
                                  << kVariants[i].magnification << " %";
}

INSTANTIATE_TEST_SUITE_P(ItfCodabar, LinearScanTest, testing::ValuesIn(kSymbols),
                         [](const testing::TestParamInfo<LinearScan>& info) { return info.param.name; });

}  // namespace

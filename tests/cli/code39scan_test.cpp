// Code 39 and Code 93 files written by vglyph, rendered by Ghostscript and read
// by two decoders; Ghostscript also reads back the human-readable text.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::Quote;
using vg::test::ShellResult;

struct Code39Sample {
    const char* variation;
    const char* data;
    const char* zxingFormat;
    const char* zbarType;
    const char* decoded;       // what the symbol carries, check character included
    const char* readable;      // the human-readable text as Ghostscript finds it; null: not checked
    const char* options = "";  // further make options
};

// Every Code 39 and Code 93 variation. The decoders read Code 39 without the
// full-ASCII decoding (escape pairs as they stand) and Code 93 with it.
void PrintTo(const Code39Sample& s, std::ostream* os) { *os << "variation " << s.variation << " " << s.data; }

const Code39Sample kScans[] = {
    {"11", "CODE39", "Code39", "CODE-39", "CODE39", "CODE39"},
    {"12", "CODE39", "Code39", "CODE-39", "CODE39W", "CODE39W"},
    {"13", "ABC1234567", "Code39", "CODE-39", "ABC12345676", "ABC-1234567-6"},
    {"14", "DPS123", "Code39", "CODE-39", "DPS123", "DPS123"},
    {"15", "+A%V", "Code39", "CODE-39", "+A%V", "a@"},
    {"16", "+Ab12", "Code39", "CODE-39", "+AB12M", "aB12M"},
    {"17", "+A99912345/$$520015X3", "Code39", "CODE-39", "+A99912345/$$520015X32", "*+A99912345/$$520015X32*"},
    {"18", "+A99912345", "Code39", "CODE-39", "+A999123457", "*+A999123457*"},
    {"19", "+$$520015X3", "Code39", "CODE-39", "+$$520015X3$", "*+$$520015X3$*"},
    {"20", "LOG123", "Code39", "CODE-39", "LOG123", "LOG123"},
    {"21", "1234562", "Code39", "CODE-39", "-1234562", "PZN-1234562"},
    {"22", "1234562", "Code39", "CODE-39", "-1234562", "PZN-1234562"},
    {"23", "1234562", "Code39", "CODE-39", "-1234562", "PZN-1234562"},
    {"76", "12345", "Code39", "CODE-39", "12345", nullptr},
    {"103", "Ab+1", "Code39", "CODE-39", "A+B/K1", "Ab+1"},
    {"104", "Ab+1", "Code39", "CODE-39", "A+B/K1.", "Ab+1."},
    {"24", "TEST93", "Code93", "CODE-93", "TEST93", "TEST93"},
    {"25", "Code93!", "Code93", "CODE-93", "Code93!", "Code93!"},
};

struct Placement {
    int rotation;
    int magnification;
};
constexpr Placement kPlacements[] = {{0, 80}, {90, 80}, {0, 200}, {90, 200}};

// Writes, renders and decodes one case; the empty text when both decoders
// read exactly the carried text. Without bar width reduction: thinned bars
// (meant for ink spread on press) next to all-narrow bars of $ / + % put
// ZXing's narrow/wide threshold off on a clean raster. ZXing reads unscaled:
// its downscaled pass meets the bearer frame of 76 and aborts on an assertion.
std::string ScanOne(const Code39Sample& s, const Placement& p, const std::string& base) {
    const std::string make = "make -v " + Quote(s.variation) + " -d " + Quote(s.data) + " " + s.options +
                             " --no-preview --set BarWidthReduction=0 --set Rotation=" + std::to_string(p.rotation) +
                             " --set Magnification=" + std::to_string(p.magnification) + " -o " + Quote(base + ".eps");
    const vg::test::ToolResult made = vg::test::RunTool(make);
    if (made.status != 0) return "make failed (" + std::to_string(made.status) + "): " + made.err;
    const ShellResult gs = vg::test::RenderEps(base + ".eps", base + ".png", 300);
    if (gs.status != 0) return "Ghostscript failed: " + gs.out;

    std::string problems;
    const ShellResult zx = vg::test::ReadZxing(base + ".png", "-1 -noscale -format " + std::string(s.zxingFormat));
    const std::string expected = base + ".png " + s.zxingFormat + " \"" + s.decoded + "\"";
    if (vg::test::Lines(zx.out) != std::vector<std::string>{expected}) problems += "ZXing read: " + zx.out;
    if (s.readable) {
        const ShellResult text = vg::test::RunShell(
            "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=- " + Quote(base + ".eps") + " 2>&1");
        std::string shown = text.out;
        shown.erase(0, shown.find_first_not_of(' '));
        if (vg::test::TrimLineEnds(shown) != s.readable) problems += "text: " + text.out;
    }
    const ShellResult zb = vg::test::ReadZbar(base + ".png", "-q");
    if (vg::test::Lines(zb.out) != std::vector<std::string>{std::string(s.zbarType) + ":" + s.decoded})
        problems += "zbar read: " + zb.out;
    return problems;
}

class Code39Scan : public testing::TestWithParam<Code39Sample> {};

TEST_P(Code39Scan, ReadsBackAtTwoRotationsAndTwoSizes) {
    VG_REQUIRE_SCAN_TOOLS();
    vg::test::TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());

    const Code39Sample& scan = GetParam();
    constexpr std::size_t kCount = std::size(kPlacements);
    std::vector<std::string> results(kCount);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < kCount;)
            results[i] = ScanOne(scan, kPlacements[i], dir.File("case" + std::to_string(i)));
    };
    std::thread helper(work);
    work();
    helper.join();

    for (std::size_t i = 0; i < kCount; ++i)
        EXPECT_EQ(results[i], "") << "data " << scan.data << ", rotation " << kPlacements[i].rotation
                                  << ", magnification " << kPlacements[i].magnification << " %";
}

INSTANTIATE_TEST_SUITE_P(Code39AndCode93, Code39Scan, testing::ValuesIn(kScans),
                         [](const testing::TestParamInfo<Code39Sample>& info) {
                             return std::string("Variation") + info.param.variation;
                         });

// Direct input takes every printable character; hyphens and spaces typed as
// data reach bars and text alike whatever the ignore options say, and EAN-13
// still takes them out. The EPS text font keeps the standard encoding, where
// the backquote is the left quotation mark.
constexpr const char* kIgnoring = "--set IgnoreHyphens=1 --set IgnoreSpaces=1";
const Code39Sample kMended[] = {
    {"103", "!@`{~az", "Code39", "CODE-39", "/A%V%W%P%S+A+Z", "!@\u2018{~az"},
    {"104", "a!@`{~", "Code39", "CODE-39", "+A/A%V%W%P%S+", "a!@\u2018{~+"},
    {"11", "AB-1 2", "Code39", "CODE-39", "AB-1 2", "AB-1 2", kIgnoring},
    {"24", "AB-1 2", "Code93", "CODE-93", "AB-1 2", "AB-1 2", kIgnoring},
    {"6", "Hello-128 World", "Code128", "CODE-128", "Hello-128 World", "Hello-128 World", kIgnoring},
    {"26", "4006-3813-3393", "EAN-13", "EAN-13", "4006381333931", nullptr, kIgnoring},
};

class MendedScan : public testing::TestWithParam<Code39Sample> {};

TEST_P(MendedScan, ReadsBack) {
    VG_REQUIRE_SCAN_TOOLS();
    vg::test::TempFolder dir;
    EXPECT_EQ(ScanOne(GetParam(), {0, 200}, dir.File("mended")), "");
}

INSTANTIATE_TEST_SUITE_P(Mended, MendedScan, testing::ValuesIn(kMended),
                         [](const testing::TestParamInfo<Code39Sample>& info) {
                             return std::string("Variation") + info.param.variation;
                         });

}  // namespace

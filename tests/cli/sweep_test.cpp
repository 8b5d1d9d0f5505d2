// Every drawable variation of the catalogue with a valid sample: vglyph make
// writes an EPS that Ghostscript renders with ink, and vglyph pattern prints
// the bars of every variation that has bars.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "clitool.h"
#include "model/catalogue.h"

namespace {

using vg::test::Quote;
using vg::test::TempFolder;

// vglyph make/pattern data options of a valid sample for each variation.
std::map<int, std::string> SampleOptions() {
    std::map<int, std::string> m;
    auto set = [&](std::initializer_list<int> codes, const std::string& options) {
        for (int v : codes) m[v] = options;
    };
    auto range = [&](int first, int last, const std::string& options) {
        for (int v = first; v <= last; ++v) m[v] = options;
    };
    set({1, 5}, "-d 123456");
    set({2, 3, 4, 41, 42, 44}, "-d 1234567890123");
    set({115, 10, 39, 46, 47, 48}, "-d 0123456789");
    set({6}, "-d Code128");
    set({7}, "-d '+A9991234/$$3990228LOT1'");
    set({17}, "-d '+A99912345/12001LOT'");
    set({8, 18}, "-d +A9991234");
    set({9, 19}, "-d '+$$3990228LOT1'");
    set({40, 99}, "-d 12345");
    set({98}, "-d 12345678");
    set({11, 12, 14, 15, 16, 20, 76, 103, 104}, "-d CODE39");
    set({13}, "-d AB91234567");
    set({21, 22, 23, 27, 37, 38, 111, 138, 141}, "-d 1234567");
    set({24, 25}, "-d CODE93");
    set({26}, "-d 400638133393");
    set({114}, "-d 012345678905");
    set({28}, "-d 451234567890");
    set({29}, "-d 4912345");
    range(30, 33, "");
    set({34, 35, 36, 53, 54, 77, 78, 79, 80, 86, 87, 100, 105, 106, 107, 108, 109, 110, 134, 135, 136, 145, 146},
        "-d 123456789");
    set({43, 51, 52}, "-d 12345");
    set({45}, "-d 123456789012345");
    set({55, 56, 72}, "-d 12345678901");
    set({73}, "-d 31234567890");
    set({49, 97}, "-d 1234");
    set({50}, "-d 200");
    set({60}, "-d '(01)12345(10)AB'");
    const char* coupon128[5] = {"(8100)123456", "(8101)1234567890", "(8100)123456(21)12345678",
                                "(8101)1234567890(21)12345678", "(8102)12"};
    for (int i = 0; i < 5; ++i) {
        m[61 + i] = std::string("--upc-part 51234567890 --ucc-part '") + coupon128[i] + "'";
        m[81 + i] = std::string("--upc-part 991234567890 --ucc-part '") + coupon128[i] + "'";
    }
    set({66}, "-d '(01)12345678901234(240)ABC'");
    set({67}, "-d '(01)1234567890123'");
    set({68}, "-d '(22)3990228LOT1'");
    set({69}, "-d '(420)ABC'");
    set({70}, "-d '(421)123AB'");
    set({71}, "-d '(00)12345678901234567'");
    set({74, 101}, "-d 425261");
    set({75}, "-d 04210000526");
    set({102}, "-d 14210000526");
    set({88}, "-d =A12345678901234");
    set({89}, "-d '=%AB12'");
    set({90}, "-d '&*1234567890'");
    set({91}, "-d '=*123456'");
    set({92}, "-d '=>123456'");
    set({93}, "-d '&>1234567890'");
    set({94}, "-d '=)ABCDE12345'");
    set({95}, "-d '=<ABCD1234'");
    set({96}, "-d '&(AB123'");
    range(116, 123, "-d 019500");
    set({124}, "-d '(8018)12345678901234567'");
    for (int v = 125; v <= 130; ++v) m[v] = "-d '(" + std::to_string(410 + v - 125) + ")123456789012'";
    set({131}, "-d '(8003)12345678901234AB'");
    set({132}, "-d '(8004)1ABC'");
    return m;
}

// Dark pixels of a 72-dpi rendering; -1 when Ghostscript failed.
long InkOf(const std::string& eps, const std::string& pgm) {
    const vg::test::ShellResult gs =
        vg::test::RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r72 -sDEVICE=pgmraw -sOutputFile=" + Quote(pgm) +
                           " " + Quote(eps) + " 2>&1");
    if (gs.status != 0 || !gs.out.empty()) return -1;
    const std::string data = vg::test::ReadWholeFile(pgm);
    // Header: P5, width, height, maxval, each followed by white space (no comments from gs).
    std::size_t pos = 0;
    for (int fields = 0; fields < 4 && pos < data.size(); ++fields) {
        while (pos < data.size() && data[pos] == '#')
            while (pos < data.size() && data[pos++] != '\n') {
            }
        while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
        ++pos;
    }
    long dark = 0;
    for (std::size_t i = pos; i < data.size(); ++i) dark += static_cast<unsigned char>(data[i]) < 128;
    return dark;
}

std::string SweepOne(int v, const std::string& options, const std::string& dir) {
    const std::string eps = dir + "/v" + std::to_string(v) + ".eps";
    const std::string args = "-v " + std::to_string(v) + (options.empty() ? "" : " " + options);
    const vg::test::ToolResult made = vg::test::RunTool("make " + args + " --no-preview -o " + Quote(eps));
    if (made.status != 0) return "make failed: " + made.err;
    const long ink = InkOf(eps, dir + "/v" + std::to_string(v) + ".pgm");
    if (ink < 0) return "Ghostscript failed";
    if (ink == 0) return "no ink on the page";
    if (vg::IsBooklandTextClass(v)) return "";
    const vg::test::ToolResult pattern = vg::test::RunTool("pattern " + args);
    if (pattern.status != 0 || pattern.out.find("BarPattern: ") == std::string::npos ||
        pattern.out.find("BarPattern: \n") != std::string::npos)
        return "no bar pattern: " + pattern.out + pattern.err;
    return "";
}

TEST(Sweep, EveryDrawableVariationWritesAnEpsWithInk) {
    if (!vg::test::HaveTool("gs")) GTEST_SKIP() << "Ghostscript is not installed";
    const std::map<int, std::string> samples = SampleOptions();
    std::vector<int> codes;
    for (const vg::VariationInfo& row : vg::Catalogue())
        if (row.group != vg::SymbolGroup::None) codes.push_back(row.code);
    ASSERT_EQ(codes.size(), 134u);

    TempFolder dir;
    std::vector<std::string> results(codes.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < codes.size();) {
            auto at = samples.find(codes[i]);
            results[i] = at == samples.end() ? "no sample" : SweepOne(codes[i], at->second, dir.Path());
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    for (std::size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(results[i], "") << "variation " << codes[i] << " " << vg::VariationDisplayName(codes[i]);
}

}  // namespace

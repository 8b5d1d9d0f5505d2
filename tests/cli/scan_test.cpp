// Written EPS files rendered with Ghostscript and read back by two decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::Quote;
using vg::test::ShellResult;
using vg::test::TempFolder;

struct ScanSymbol {
    const char* name;
    const char* variation;
    const char* data;
    const char* zxingFormat;
    const char* zbarType;
    const char* decoded;  // the number the symbol carries, check digit included
};

void PrintTo(const ScanSymbol& s, std::ostream* os) { *os << s.name; }

const ScanSymbol kSymbols[] = {
    {"Ean13", "26", "400638133393", "EAN-13", "EAN-13", "4006381333931"},
    {"Jan13", "28", "490123456789", "EAN-13", "EAN-13", "4901234567894"},
    {"Ean8", "27", "9638507", "EAN-8", "EAN-8", "96385074"},
    {"UpcA", "72", "03600029145", "UPC-A", "UPC-A", "036000291452"},
    {"UpcE6", "74", "425261", "UPC-E", "UPC-E", "04252614"},
    {"UpcE11", "75", "04210000526", "UPC-E", "UPC-E", "04252614"},
    {"Isbn", "35", "030640615", "EAN-13", "EAN-13", "9780306406157"},
    {"Issn", "38", "0317847", "EAN-13", "EAN-13", "9770317847001"},
    {"Ismn", "78", "023067118", "EAN-13", "EAN-13", "9790230671187"},
};

struct Variant {
    std::string addOn;  // "" none
    int rotation;
    int magnification;
};

std::vector<Variant> Variants() {
    std::vector<Variant> all;
    for (const char* addOn : {"", "12", "51234"})
        for (int rotation : {0, 90})
            for (int magnification : {80, 200}) all.push_back({addOn, rotation, magnification});
    return all;
}

std::string Describe(const Variant& v) {
    return "add-on '" + v.addOn + "', rotation " + std::to_string(v.rotation) + ", magnification " +
           std::to_string(v.magnification) + " %";
}

// Writes, renders and decodes one case; the empty text when it read back right.
std::string ScanOne(const ScanSymbol& s, const Variant& v, const std::string& dir, int index) {
    const std::string base = dir + "/case" + std::to_string(index);
    std::string make = "make -v " + Quote(s.variation) + " -d " + Quote(s.data) +
                       " --no-preview --set Rotation=" + std::to_string(v.rotation) +
                       " --set Magnification=" + std::to_string(v.magnification) + " -o " + Quote(base + ".eps");
    if (!v.addOn.empty()) make += " -a " + Quote(v.addOn);
    vg::test::ToolResult made = vg::test::RunTool(make);
    if (made.status != 0) return "make failed (" + std::to_string(made.status) + "): " + made.err;

    ShellResult gs = vg::test::RenderEps(base + ".eps", base + ".png", 300);
    if (gs.status != 0) return "Ghostscript failed: " + gs.out;

    std::string problems;
    // ZXing: the main number must be read; every read must be the number, or
    // the number and its add-on.
    ShellResult zx = vg::test::ReadZxing(base + ".png", "-1");
    const std::string prefix = base + ".png " + s.zxingFormat + " \"";
    const std::string main = prefix + s.decoded + "\"";
    const std::string withAddOn = prefix + s.decoded + " " + v.addOn + "\"";
    bool mainRead = false;
    for (const std::string& line : Lines(zx.out)) {
        if (line == main || (!v.addOn.empty() && line == withAddOn))
            mainRead = true;
        else
            problems += "ZXing read: " + line + "\n";
    }
    if (!mainRead)
        problems += "ZXing did not read " + std::string(s.decoded) + " (status " + std::to_string(zx.status) + ")\n";

    // zbar: exactly the number and the add-on.
    ShellResult zb = vg::test::ReadZbar(base + ".png", "-q -Sean2.enable -Sean5.enable -Supca.enable -Supce.enable");
    std::set<std::string> expected{std::string(s.zbarType) + ":" + s.decoded};
    if (!v.addOn.empty()) expected.insert((v.addOn.size() == 2 ? "EAN-2:" : "EAN-5:") + v.addOn);
    std::vector<std::string> read = Lines(zb.out);
    std::set<std::string> got(read.begin(), read.end());
    if (got != expected || read.size() != expected.size()) {
        problems += "zbar read:";
        for (const std::string& line : read) problems += " [" + line + "]";
        problems += "\n";
    }
    return problems;
}

class Scan : public testing::TestWithParam<ScanSymbol> {};

TEST_P(Scan, ReadsBackDataAndCheckDigit) {
    VG_REQUIRE_SCAN_TOOLS();

    const ScanSymbol& symbol = GetParam();
    const std::vector<Variant> variants = Variants();
    std::vector<std::string> results(variants.size());
    TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());

    // Two workers: the cases are independent processes.
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < variants.size();)
            results[i] = ScanOne(symbol, variants[i], dir.Path(), static_cast<int>(i));
    };
    std::thread helper(work);
    work();
    helper.join();

    for (std::size_t i = 0; i < variants.size(); ++i)
        EXPECT_EQ(results[i], "") << symbol.name << " " << symbol.data << ", " << Describe(variants[i]);
}

INSTANTIATE_TEST_SUITE_P(EanUpc, Scan, testing::ValuesIn(kSymbols),
                         [](const testing::TestParamInfo<ScanSymbol>& info) { return info.param.name; });

}  // namespace

// Symbols no common reader decodes (MSI, Code 25, POSTNET, FIM, Pharmacode):
// vglyph writes the EPS, Ghostscript renders it, and the bars read off the
// raster must give the examples published with each symbology.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "clitool.h"
#include "raster.h"

namespace {

using vg::test::Bars;
using vg::test::DarkRun;
using vg::test::DarkRuns;
using vg::test::Quote;
using vg::test::Raster;
using vg::test::ReadPgm;
using vg::test::TempFolder;

// Writes the symbol and renders it; an empty raster when something failed.
Raster Render(const TempFolder& dir, const std::string& name, const std::string& options, int dpi) {
    const std::string eps = dir.File(name + ".eps"), pgm = dir.File(name + ".pgm");
    const vg::test::ToolResult made = vg::test::RunTool("make " + options + " --no-preview -o " + Quote(eps));
    EXPECT_EQ(made.status, 0) << name << ": " << made.err;
    const vg::test::ShellResult gs =
        vg::test::RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r" + std::to_string(dpi) +
                           " -sDEVICE=pgmraw -sOutputFile=" + Quote(pgm) + " " + Quote(eps) + " 2>&1");
    EXPECT_EQ(gs.status, 0) << name << ": " << gs.out;
    return ReadPgm(pgm);
}

// '1' narrow, '2' wide: split at the middle of the narrowest and widest run,
// or at 1.5 narrow widths when the narrow width is known.
std::string Widths(const std::vector<DarkRun>& runs, int narrow = 0) {
    if (runs.empty()) return {};
    auto [lo, hi] =
        std::minmax_element(runs.begin(), runs.end(), [](DarkRun a, DarkRun b) { return a.width < b.width; });
    const double split = narrow > 0 ? narrow * 1.5 : (lo->width + hi->width) / 2.0;
    std::string w;
    for (const DarkRun& run : runs) w += run.width > split ? '2' : '1';
    return w;
}

int DarkHeight(const Raster& r, int x) {
    int n = 0;
    for (int y = 0; y < r.height; ++y) n += r.Dark(x, y);
    return n;
}

TEST(PublishedPatterns, PostnetZipPlus4) {
    // USPS, POSTNET: ZIP+4 12345-6789 sums to 45 and takes the correction
    // character 5; 52 bars, each digit two full and three half bars weighted 7-4-2-1-0.
    VG_REQUIRE_TOOLS("gs");
    TempFolder dir;
    for (int magnification : {100, 200}) {
        SCOPED_TRACE(magnification);
        const Raster r = Render(dir, "postnet" + std::to_string(magnification),
                                "-v 54 -d 123456789 --set Magnification=" + std::to_string(magnification), 600);
        const std::vector<DarkRun> bars = Bars(r);
        ASSERT_EQ(bars.size(), 52u);
        std::string tall;
        int highest = 0;
        for (const DarkRun& b : bars) highest = std::max(highest, DarkHeight(r, b.start + b.width / 2));
        for (const DarkRun& b : bars) tall += DarkHeight(r, b.start + b.width / 2) > highest * 0.7 ? 'L' : 'S';
        ASSERT_EQ(tall.front(), 'L');
        ASSERT_EQ(tall.back(), 'L');
        static const char* const kDigits[10] = {"LLSSS", "SSSLL", "SSLSL", "SSLLS", "SLSSL",
                                                "SLSLS", "SLLSS", "LSSSL", "LSSLS", "LSLSS"};
        std::string digits;
        for (std::size_t i = 1; i + 5 < tall.size(); i += 5) {
            const std::string group = tall.substr(i, 5);
            const auto* at = std::find(std::begin(kDigits), std::end(kDigits), group);
            digits += at == std::end(kDigits) ? '?' : static_cast<char>('0' + (at - std::begin(kDigits)));
        }
        EXPECT_EQ(digits, "1234567895");
        // Bars 0.02 inch on a 0.0475-inch pitch, both magnified alike.
        const double pitch = (bars.back().start - bars.front().start) / 51.0;
        EXPECT_NEAR(pitch, 600 * 0.0475 * magnification / 100, 2);
        EXPECT_NEAR(bars[10].width / pitch, 0.02 / 0.0475, 0.12);
    }
}

TEST(PublishedPatterns, FacingIdentificationMarks) {
    // USPS, facing identification marks: nine bar positions, 1 = bar.
    VG_REQUIRE_TOOLS("gs");
    const struct {
        const char* variation;
        const char* positions;
    } marks[] = {{"30", "110010011"}, {"31", "101101101"}, {"32", "110101011"}, {"33", "111010111"}};
    TempFolder dir;
    // The marks keep their size whatever the magnification.
    for (const char* magnification : {"100", "200"}) {
        for (const auto& m : marks) {
            const Raster r = Render(dir, std::string("fim") + m.variation + "-" + magnification,
                                    std::string("-v ") + m.variation + " --set Magnification=" + magnification, 300);
            const std::vector<DarkRun> bars = Bars(r);
            ASSERT_GE(bars.size(), 2u) << m.variation;
            const double pitch = (bars.back().start - bars.front().start) / 8.0;
            std::string seen(9, '0');
            for (const DarkRun& b : bars) {
                const long slot = std::lround((b.start - bars.front().start) / pitch);
                if (slot >= 0 && slot < 9) seen[static_cast<std::size_t>(slot)] = '1';
            }
            EXPECT_EQ(seen, m.positions) << "FIM variation " << m.variation << " at " << magnification << " %";
            EXPECT_NEAR(pitch, 300 * 0.06, 1.5);
        }
    }
}

// Value of a one-track Pharmacode read left to right: bar d from the right is 2^d or 2^(d+1).
long PharmacodeValue(const std::string& widths) {
    long value = 0;
    const std::size_t n = widths.size();
    for (std::size_t i = 0; i < n; ++i) value += (widths[i] == '2' ? 2L : 1L) << (n - 1 - i);
    return value;
}

TEST(PublishedPatterns, PharmacodeValues) {
    // Laetus Pharmacode guide: one track of at most 16 bars, values 3 (two
    // narrow bars) to 131070 (sixteen wide bars).
    VG_REQUIRE_TOOLS("gs");
    const struct {
        const char* options;
        long value;
        const char* widths;
    } cases[] = {
        {"-v 49 -d 3", 3, "11"},
        {"-v 97 -d 4", 4, "12"},
        {"-v 49 -d 1234", 1234, "1122121122"},
        {"-v 49 -d 131070", 131070, "2222222222222222"},
        {"-v 50 -d 200", 311, "11222111"},  // the complement of the input to 511
    };
    TempFolder dir;
    int index = 0;
    int narrow = 0;  // from the two narrow bars of the first case
    for (const auto& c : cases) {
        const std::vector<DarkRun> bars = Bars(Render(dir, "pharma" + std::to_string(index++), c.options, 600));
        if (!narrow && !bars.empty()) narrow = bars.front().width;
        const std::string widths = Widths(bars, narrow);
        EXPECT_EQ(widths, c.widths) << c.options;
        EXPECT_EQ(PharmacodeValue(widths), c.value) << c.options;
    }
}

TEST(PublishedPatterns, MsiAndCode25) {
    // MSI/Plessey: 1234567 takes the modulo 10 check 4 (and, doubled, 1);
    // each digit four bits, most significant first, a 1 bit a wide bar.
    // Code 25 (industrial 2 of 5): bars only, two wide of five per digit.
    VG_REQUIRE_TOOLS("gs");
    TempFolder dir;
    const std::string msi = Widths(Bars(Render(dir, "msi", "-v 46 -d 1234567", 600)));
    ASSERT_EQ(msi.size(), 1u + 9 * 4 + 2) << msi;
    EXPECT_EQ(msi.front(), '2');  // start
    std::string digits;
    for (std::size_t i = 1; i + 4 <= msi.size() - 2; i += 4) {
        int d = 0;
        for (std::size_t k = 0; k < 4; ++k) d = d * 2 + (msi[i + k] == '2');
        digits += static_cast<char>('0' + d);
    }
    EXPECT_EQ(digits, "123456741");

    const std::string c25 = Widths(Bars(Render(dir, "c25", "-v 10 -d 1234567890", 600)));
    ASSERT_EQ(c25.size(), 3u + 10 * 5 + 3) << c25;
    EXPECT_EQ(c25.substr(0, 3), "221");
    EXPECT_EQ(c25.substr(c25.size() - 3), "212");
    static const char* const kDigits[10] = {"11221", "21112", "12112", "22111", "11212",
                                            "21211", "12211", "11122", "21121", "12121"};
    std::string decoded;
    for (std::size_t i = 3; i + 5 <= c25.size() - 3; i += 5) {
        const auto* at = std::find(std::begin(kDigits), std::end(kDigits), c25.substr(i, 5));
        decoded += at == std::end(kDigits) ? '?' : static_cast<char>('0' + (at - std::begin(kDigits)));
    }
    EXPECT_EQ(decoded, "1234567890");
}

}  // namespace

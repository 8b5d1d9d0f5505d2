// make --verify and verify: one line per file, exit 0 when every file scans or
// has no reader, 3 when one does not scan.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::Quote;
using vg::test::RunTool;
using vg::test::TempFolder;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

TEST(Verify, MakeAndVerifySayWhatWasRead) {
    TempFolder dir;
    const std::string eps = dir.File("ean.eps"), wmf = dir.File("c128.wmf"), msi = dir.File("msi.emf");
    const vg::test::ToolResult made = RunTool("make -v 26 -d 400638133393 -o " + Quote(eps) + " --verify");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(StartsWith(made.out, eps + ": scans: EAN-13 \"4006381333931\" (drawing and EPS file); widths within "))
        << made.out;
    ASSERT_EQ(RunTool("make -v 6 -d Ab12345xyz -f wmf -o " + Quote(wmf)).status, 0);
    ASSERT_EQ(RunTool("make -v 47 -d 123456 -f emf -o " + Quote(msi)).status, 0);

    const vg::test::ToolResult verified = RunTool("verify " + Quote(eps) + " " + Quote(wmf) + " " + Quote(msi));
    EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
    const std::vector<std::string> lines = Lines(verified.out);
    ASSERT_EQ(lines.size(), 3u) << verified.out;
    EXPECT_TRUE(StartsWith(lines[0], eps + ": scans: EAN-13 \"4006381333931\" (drawing and EPS file)")) << lines[0];
    EXPECT_TRUE(StartsWith(lines[1], wmf + ": scans: Code 128 \"Ab12345xyz\" (drawing)")) << lines[1];
    EXPECT_NE(lines[1].find("(settings from the trailer redrawn)"), std::string::npos) << lines[1];
    EXPECT_TRUE(StartsWith(lines[2], msi + ": no reader: no reader for MSI/Plessey; not proven")) << lines[2];
}

TEST(Verify, ABrokenFileDoesNotScan) {
    TempFolder dir;
    const std::string thin = dir.File("thin.eps"), good = dir.File("good.eps"), bad = dir.File("bad.eps");
    // Bars narrower than the reduction vanish: written, but not proven.
    const vg::test::ToolResult made =
        RunTool("make -v 26 -d 400638133393 --set BarWidthReduction=30 -o " + Quote(thin) + " --verify");
    EXPECT_EQ(made.status, 3) << made.out << made.err;
    EXPECT_TRUE(StartsWith(made.out, thin + ": does not scan: ")) << made.out;

    // An EPS file whose bar procedure was broken after writing.
    ASSERT_EQ(RunTool("make -v 6 -d Ab12345xyz --no-preview -o " + Quote(good)).status, 0);
    std::stringstream ss;
    ss << std::ifstream(good, std::ios::binary).rdbuf();
    std::string text = ss.str();
    const std::size_t at = text.find("/B2 {/bw ");
    ASSERT_NE(at, std::string::npos);
    text.replace(at + 9, 3, "0.0");
    std::ofstream(bad, std::ios::binary) << text;
    const vg::test::ToolResult verified = RunTool("verify " + Quote(good) + " " + Quote(bad));
    EXPECT_EQ(verified.status, 3);
    const std::vector<std::string> lines = Lines(verified.out);
    ASSERT_EQ(lines.size(), 2u) << verified.out;
    EXPECT_TRUE(StartsWith(lines[0], good + ": scans: ")) << lines[0];
    EXPECT_TRUE(StartsWith(lines[1], bad + ": does not scan: EPS file ")) << lines[1];

    const vg::test::ToolResult missing = RunTool("verify " + Quote(dir.File("none.eps")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(StartsWith(missing.out, dir.File("none.eps") + ": not verified: ")) << missing.out;
}

}  // namespace

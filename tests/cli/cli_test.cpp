#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "clitool.h"

namespace {

using vg::test::Lines;
using Result = vg::test::ToolResult;
using vg::test::RunTool;

TEST(Cli, ListsEveryVariationInCodeOrder) {
    Result r = RunTool("list");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 137u);
    EXPECT_EQ(lines.front(), "1\t1\tCodabar General");
    EXPECT_EQ(lines[93], "94\t2\tCode 128 ISBT Manufacturer's Information");
    EXPECT_EQ(lines[111], "114\t6\tConvert UPC to EAN");
    EXPECT_EQ(lines.back(), "146\t8\tISBN-13 EAN Adjusted 979");
    int previous = 0;
    for (const std::string& line : lines) {
        int code = std::atoi(line.c_str());
        EXPECT_GT(code, previous) << line;
        previous = code;
    }
}

TEST(Cli, VersionAndHelp) {
    Result v = RunTool("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "6.02\n");

    Result h = RunTool("--help");
    EXPECT_EQ(h.status, 0);
    EXPECT_NE(h.out.find("usage: vglyph"), std::string::npos);
    EXPECT_NE(h.out.find("list"), std::string::npos);
}

TEST(Cli, BadInvocationsExitWithUsage) {
    for (const char* args : {"bogus", "--bogus", "", "-x", "list extra", "--version now"}) {
        SCOPED_TRACE(args);
        Result r = RunTool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: vglyph"), std::string::npos) << r.err;
    }
}

TEST(Cli, FailedWritesToStandardOutputAreReported) {
    for (const char* args : {"list", "--help", "--version", "pattern -v 26 -d 400638133393"}) {
        SCOPED_TRACE(args);
        Result r = RunTool(std::string(args) + " >/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("vglyph: cannot write"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("\nNo space left on device\n"), std::string::npos) << r.err;
    }
}

}  // namespace

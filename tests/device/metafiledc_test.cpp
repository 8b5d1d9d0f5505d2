#include "device/metafiledc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "scantools.h"

namespace vg {
namespace {

TEST(DecodeUtf8, ValidAndMalformedBytes) {
    struct Case {
        std::string bytes;
        std::u32string expected;
    };
    const Case cases[] = {
        {"mm", U"mm"},
        {"\xC3\xA9", U"\u00E9"},
        {"\xE6\xAF\xAB\xE7\xB1\xB3", U"\u6BEB\u7C73"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xC0\xAF", U"\uFFFD\uFFFD"},            // overlong
        {"\xE6\xAF", U"\uFFFD\uFFFD"},            // cut short
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // surrogate
        {"a\xFFz", U"a\uFFFDz"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.bytes), c.expected) << c.bytes;
}

// An EMF with Chinese text, read by emf2svg: the characters arrive as written.
TEST(EmfDC, UnicodeTextReachesAReader) {
    if (!test::HaveTool("emf2svg-conv")) GTEST_SKIP() << "emf2svg-conv is not installed";
    EmfDC dc(2000, 1000);
    FontSpec font{"Arial", 200, 0, 400, false};
    ASSERT_TRUE(dc.SelectFont(font));
    EXPECT_GT(dc.GetTextExtentUtf8("\xE6\xAF\xAB\xE7\xB1\xB3").cx, 0);
    dc.TextOutUtf8({100, 100}, "X: \xE6\xAF\xAB\xE7\xB1\xB3");
    dc.TextOut({100, 500}, "caf\xE9");  // Windows-1252
    std::string bytes;
    ASSERT_TRUE(dc.Finish(bytes));
    char name[] = "/tmp/vglyph-emf-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string emf = std::string(name) + ".emf", svg = std::string(name) + ".svg";
    std::rename(name, emf.c_str());
    std::ofstream(emf, std::ios::binary) << bytes;
    ASSERT_EQ(test::RunShell("emf2svg-conv -i " + test::Quote(emf) + " -o " + test::Quote(svg)).status, 0);
    std::stringstream read;
    read << std::ifstream(svg).rdbuf();
    EXPECT_NE(read.str().find("X: \xE6\xAF\xAB\xE7\xB1\xB3"), std::string::npos) << read.str();
    EXPECT_NE(read.str().find("caf\xC3\xA9"), std::string::npos);
    std::remove(emf.c_str());
    std::remove(svg.c_str());
}

}  // namespace
}  // namespace vg

// vglyph --lang en: messages in English, files as they are without it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "clitool.h"

namespace vg {
namespace {

using test::ReadWholeFile;
using test::RunTool;

// A file's bytes without the EPS creation time.
std::string Undated(std::string bytes) {
    const std::size_t at = bytes.find("%%CreationDate:");
    if (at != std::string::npos) bytes.erase(at, bytes.find('\n', at) - at);
    return bytes;
}

TEST(CliEnglishTexts, RangeMessageInEnglishFilesUnchanged) {
    const std::string dir = std::filesystem::temp_directory_path() / ("vglyph-lang-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const test::ToolResult en = RunTool("--lang en make -v 50 -d 277 -o " + dir + "/x.eps");
    EXPECT_EQ(en.status, 2);
    EXPECT_NE(en.err.find("Out of range:  1 . . 276"), std::string::npos) << en.err;
    const test::ToolResult zh = RunTool("--lang=zh make -v 50 -d 277 -o " + dir + "/x.eps");
    EXPECT_NE(zh.err.find("超出范围:  1 . . 276"), std::string::npos) << zh.err;
    EXPECT_EQ(RunTool("--lang de list").status, 2);
    EXPECT_EQ(RunTool("--lang").status, 2);

    // A specification block with unit names: the same bytes in both languages.
    std::filesystem::create_directories(dir + "/en");
    std::filesystem::create_directories(dir + "/zh");
    for (const char* ext : {"emf", "wmf", "eps"}) {
        SCOPED_TRACE(ext);
        const std::string args = std::string(" make -v 26 -d 400638133393 --no-preview --set bXDimension=1 ") +
                                 "--set bBarHeight=1 --set UnitOfMeasure=1 -o x." + ext;
        ASSERT_EQ(RunTool("--lang en" + args, dir + "/en").status, 0);
        ASSERT_EQ(RunTool(args, dir + "/zh").status, 0);
        const std::string stored = Undated(ReadWholeFile(dir + "/zh/x." + ext));
        EXPECT_FALSE(stored.empty());
        EXPECT_EQ(Undated(ReadWholeFile(dir + "/en/x." + ext)), stored);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vg

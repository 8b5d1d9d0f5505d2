#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "device/fontmatches.h"
#include "tempfolder.h"

namespace vg {
namespace {

using test::TempFolder;
using test::WriteWholeFile;

TEST(FontMatches, StampChangesWithWhatDecidesTheMatch) {
    TempFolder t;
    const std::string alias = t.File("aliases.conf");
    const std::string fonts = t.File("fonts");
    WriteWholeFile(alias, "<fontconfig/>");
    ::mkdir(fonts.c_str(), 0755);
    ::mkdir((fonts + "/sub").c_str(), 0755);
    const std::string before = FontMatchStamp(alias, fonts);
    ASSERT_FALSE(before.empty());
    struct Change {
        const char* what;
        std::string path;
        std::string bytes;
    };
    const Change changes[] = {
        {"alias file rewritten", alias, "<fontconfig></fontconfig>"},
        {"font added to the folder", fonts + "/new.otf", "x"},
        {"font added below it", fonts + "/sub/deeper.ttf", "y"},
    };
    std::string last = before;
    for (const Change& c : changes) {
        ::usleep(10000);  // a later modification time on coarse clocks too
        WriteWholeFile(c.path, c.bytes);
        const std::string now = FontMatchStamp(alias, fonts);
        EXPECT_NE(now, last) << c.what;
        last = now;
    }
    EXPECT_EQ(FontMatchStamp(alias, fonts + ":" + t.File("missing")), "");
    EXPECT_EQ(FontMatchStamp(t.File("no-alias.conf"), fonts), "");
    EXPECT_EQ(FontMatchStamp(alias, ""), "");
}

TEST(FontMatches, ChoicesHoldWhileStampAndFileDo) {
    TempFolder t;
    const std::string font = t.File("face.otf");
    WriteWholeFile(font, "font bytes");
    std::string text = WithFontChoice("", "s", "ocrb 400", {font, 0});
    text = WithFontChoice(text, "s", "ocra 700 italic", {font, 3});
    ASSERT_EQ(FindFontChoice(text, "s", "ocra 700 italic")->index, 3);
    EXPECT_EQ(FindFontChoice(WithFontChoice(text, "s", "ocrb 400", {font, 2}), "s", "ocrb 400")->index, 2);
    EXPECT_FALSE(FindFontChoice(text, "s", "ocrb 700"));
    EXPECT_FALSE(FindFontChoice(text, "t", "ocrb 400"));
    EXPECT_FALSE(FindFontChoice(WithFontChoice(text, "t", "ocrb 400", {font, 1}), "t", "ocra 700 italic"));
    WriteWholeFile(font, "other, longer font bytes");
    EXPECT_FALSE(FindFontChoice(text, "s", "ocrb 400"));
    EXPECT_EQ(WithFontChoice(text, "s", "ocrb 400", {"relative.otf", 0}), "");
}

TEST(FontMatches, MalformedCachesFindNothing) {
    TempFolder t;
    const std::string font = t.File("face.otf");
    WriteWholeFile(font, "font bytes");
    const std::string good = WithFontChoice("", "s", "k", {font, 0});
    const std::string line = good.substr(good.find('\n') + 1);
    const std::string tail = line.substr(line.rfind('\t', line.rfind('\t') - 1));  // size and time
    const std::string texts[] = {
        "",
        "s",
        "s\n",
        "\ns\nk",
        "s\nk\t" + font,
        "s\nk\t" + font + "\t-1" + tail,
        "s\nk\t" + font + "\t70000" + tail,
        "s\nk\t" + font + "\t0x1" + tail,
        "s\nk\tface.otf\t0" + tail,
        "s\nk\t" + font + "\t0\t1\t2",
        good + "\textra",
        "S\n" + line,
    };
    for (const std::string& text : texts) EXPECT_FALSE(FindFontChoice(text, "s", "k")) << text;
    EXPECT_TRUE(FindFontChoice(good, "s", "k"));
}

}  // namespace
}  // namespace vg

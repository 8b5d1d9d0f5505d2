#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunTool;
using vg::test::TempFolder;
using vg::test::ToolResult;

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// The settings block of a written EPS file, each line without its "%%_" and CR.
std::vector<std::string> BlockLines(const std::string& file) {
    std::vector<std::string> block;
    bool in = false;
    for (std::string line : Lines(file)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "%_VornelGlyph Prefs") {
            in = true;
        } else if (line == "%_Fine") {
            break;
        } else if (in && line.rfind("%%_", 0) == 0) {
            block.push_back(line.substr(3));
        }
    }
    return block;
}

struct PatternCase {
    const char* args;
    const char* encoded;
    const char* check1;
    const char* check2;
};

TEST(Pattern, PrintsPatternEncodedTextAndChecks) {
    const PatternCase cases[] = {
        {"-v 26 -d 400638133393", "4006381333931", "1", ""},
        {"-v 26 -d 4006381333931", "4006381333931", "1", ""},  // given with its check digit
        {"-v EAN-13 -d 400638133393", "4006381333931", "1", ""},
        {"-v 26 -d '4006-3813 3393' -a 12", "4006381333931 12", "1", ""},
        {"-v 28 -d 490123456789 -a 51234", "4901234567894 51234", "4", ""},
        {"-v 27 -d 9638507", "96385074", "4", ""},
        {"-v 72 -d 03600029145", "036000291452", "2", ""},
        {"-v 74 -d 425261", "04252614", "4", ""},
        {"-v 74 -d 0425261", "04252614", "4", ""},  // typed with its number system
        {"-v 75 -d 04210000526", "04252614", "4", ""},
        {"-v 35 -d 030640615", "9780306406157", "2", "7"},
        {"-v 'ISBN-13 EAN Attached 978' -d 0-306-40615", "9780306406157", "2", "7"},
        {"-v 38 -d 0317847", "9770317847001", "1", "1"},
        {"-v 38 -d 0317847 --set ISSNExtraDigits=05", "9770317847056", "1", "6"},
        {"-v 78 -d 023067118", "9790230671187", "7", "7"},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(c.args);
        ToolResult r = RunTool(std::string("pattern ") + c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        auto lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 4u) << r.out;
        ASSERT_EQ(lines[0].rfind("BarPattern: B1S1B1", 0), 0u) << lines[0];
        EXPECT_EQ(lines[0].size() % 2, 0u);  // "BarPattern: " plus whole elements
        EXPECT_EQ(lines[1], std::string("EncodedText: ") + c.encoded);
        EXPECT_EQ(lines[2], std::string("CheckCharacter1: ") + c.check1);
        EXPECT_EQ(lines[3], std::string("CheckCharacter2: ") + c.check2);
    }
}

TEST(Pattern, AddOnExtendsTheMainPattern) {
    ToolResult plain = RunTool("pattern -v 26 -d 400638133393");
    ToolResult two = RunTool("pattern -v 26 -d 400638133393 -a 12");
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(two.status, 0);
    std::string p = Lines(plain.out)[0], q = Lines(two.out)[0];
    ASSERT_GT(q.size(), p.size());
    EXPECT_EQ(q.substr(0, p.size()), p);
    EXPECT_EQ(q.substr(p.size(), 2), "++");
}

struct RefusalCase {
    std::string args;
    const char* message;  // part of what standard error says
};

TEST(Make, RefusedInputWritesNothing) {
    TempFolder dir;
    const std::string out = dir.File("x.eps");
    const RefusalCase cases[] = {
        {"-v 26 -d 40063813339A", "character 'A' at position 12 is not accepted by EAN-13"},
        {"-v 26 -d 40063813", "too short: EAN-13 takes 12 characters here, 8 given"},
        {"-v 26 -d 4006381333932", "invalid check digit '2', expecting '1'"},
        {"-v 27 -d 96385074123", "too long: EAN-8 takes at most 7 characters, 11 given"},
        {"-v 26 -d 400638133393 -a 123", "Edit Control: Incomplete input."},
        {"-v 72 -d 03600029145 -a 1", "Edit Control: Incomplete input."},
        {"-v 26 -d 400638133393 -a 1234567", "Edit Control: Input too long"},
        {"-v 26 -d 1234567890123456789012345678901234567890123456789012345678901", "EAN-13 takes at most 12"},
        {"-v 6 -d " + std::string(70, 'A'), "Edit Control: Input too long"},
        {"-v 26 -d ''", "no EAN-13 symbol"},
        {"-v 26 -d 400638133393 --fact 12", "EAN-13 has no FACT data identifier field"},
        {"-v 26 -d 400638133393 --upc-part 5", "EAN-13 has no coupon UPC part field"},
        {"-v 26 -d 400638133393 --set Bogus=1", "unknown settings field 'Bogus'"},
        {"-v 26 -d 400638133393 --set =5", "needs the form FIELD=VALUE"},
        {"-v 26 -d 400638133393 --set Rotation", "needs the form FIELD=VALUE"},
        {"-v 999 -d 1", "unknown variation '999'"},
        {"-v 'No Such Variation' -d 1", "unknown variation 'No Such Variation'"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.args);
        ToolResult r = RunTool(std::string("make ") + c.args + " -o " + Quote(out));
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(Exists(out));
        std::remove(out.c_str());
    }
}

TEST(Make, BadInvocationsExitWithUsage) {
    const char* cases[] = {
        "make -d 400638133393 -o /tmp/never.eps",  // no variation
        "make -v 26 -d 400638133393 -o /tmp/never.eps -f tiff",
        "make -v 26 -d 400638133393 -o /tmp/never.eps --dpi 0",
        "make -v 26 -d 400638133393 -o /tmp/never.eps --dpi 300x",
        "make -v 26 -d",
        "make -v 26 -d 1 -o /tmp/never.eps --bogus",
        "pattern -v 26 -d 400638133393 -o /tmp/never.eps",
        "pattern -v 26 -d 400638133393 --level1",
        "open",
        "open a b",
    };
    for (const char* args : cases) {
        SCOPED_TRACE(args);
        ToolResult r = RunTool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: vglyph"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(Exists("/tmp/never.eps"));
}

TEST(Make, UnwritablePathReportsUnableToSaveWithTheReason) {
    TempFolder dir;
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("missing/x.eps"), "No such file or directory"},
        {dir.Path(), "Is a directory"},
        {"/dev/full", "No space left on device"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        ToolResult r = RunTool("make -v 26 -d 400638133393 -o " + Quote(path));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Unable to save " + path + "\n" + reason + "\n"), std::string::npos) << r.err;
    }
}

// Typed text stays in its own field; what a file could not hold whole is refused.
TEST(Make, SettingsAFileCannotHoldAreRefused) {
    TempFolder dir;
    const std::string out = dir.File("i.eps");
    ToolResult made = RunTool(
        "make -v 26 -d 400638133393 --set 'Comments=see %_Variation: 27' "
        "--set 'Company=%_Fine' -o " +
        Quote(out));
    ASSERT_EQ(made.status, 0) << made.err;
    ToolResult opened = RunTool("open " + Quote(out));
    ASSERT_EQ(opened.status, 0) << opened.err;
    auto lines = Lines(opened.out);
    for (const char* w : {"Variation: 26", "Comments: see %_Variation: 27", "Company: %_Fine", "Hidden: 0"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), w), lines.end()) << w;

    for (const char* setting : {"BarWidthReduction=1e308", "Magnification=1e300", "H=-1e299"}) {
        SCOPED_TRACE(setting);
        ToolResult r = RunTool("make -v 26 -d 400638133393 --set " + Quote(setting) + " -o " + Quote(out));
        EXPECT_EQ(r.status, 2);
        const std::string field = std::string(setting).substr(0, std::string(setting).find('='));
        // Refused by the field's range, or by what the file can hold.
        EXPECT_TRUE(r.err.find("the settings cannot be saved: " + field + " ") != std::string::npos ||
                    r.err.find("bad value for " + field + ": ") != std::string::npos)
            << r.err;
    }
    ToolResult longText =
        RunTool("make -v 26 -d 400638133393 --set Company=" + std::string(256, 'x') + " -o " + Quote(out));
    EXPECT_EQ(longText.status, 2);
    EXPECT_NE(longText.err.find("Company is longer than 255 characters"), std::string::npos) << longText.err;
    EXPECT_NE(ReadWholeFile(out).find("%%_Comments: see %_Variation: 27\r\n"), std::string::npos)
        << "the earlier file stays";
}

TEST(Make, UnknownFormatsAreNotWritten) {
    TempFolder dir;
    for (const char* format : {"--set Format=7", "--set Format=-1"}) {
        SCOPED_TRACE(format);
        const std::string out = dir.File("x.wmf");
        ToolResult r = RunTool("make -v 26 -d 400638133393 " + std::string(format) + " -o " + Quote(out));
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("bad value for Format: it follows from the output format"), std::string::npos) << r.err;
        EXPECT_FALSE(Exists(out));
    }
}

// Values at and beyond the edges of their fields: each is refused with a
// message naming its field and nothing is written, or the file is written and
// Ghostscript renders it.
TEST(Make, EdgeSettingsAreRefusedOrRender) {
    VG_REQUIRE_TOOLS("gs");
    TempFolder dir;
    const char* settings[] = {
        "Rotation=-90",
        "Magnification=-100",
        "Magnification=1e300",
        "Magnification=80",
        "Magnification=200",
        "CurRatio=0",
        "BarHeight=-5",
        "BarHeight=2.25",
        "BarHeight=864",
        "BearerBar=36",
        "DistanceToBars=-6",
        "DistanceToBars=32",
        "PrinterDpi=0",
        "PrinterDpi=30",
        "PrinterDpi=20000",
        "LastMethod=5",
        "BarWidthReduction=1e300",
        "BarWidthReduction=-4",
        "Size=0",
        "Size=200",
        "FontName4humanreadable=",
        "Align=-7",
        "Hueproof=255",
        "bCropMarks=1",
        "bComments=1",
        "AdditionalText=x",
        "AlignAT=99",
        "SymbolWidth=-5",
        "Prufmark=99",
        "UnitOfMeasure=99",
        "H=864",
        "V=-865",
    };
    for (const char* variation :
         {"-v 26 -d 400638133393 -a 51234", "-v 74 -d 425261 -a 12", "-v 35 -d 030640615 -a 12"}) {
        SCOPED_TRACE(variation);
        std::string written;  // the files written, for one Ghostscript run
        for (std::size_t i = 0; i < std::size(settings); ++i) {
            const std::string setting = settings[i];
            SCOPED_TRACE(setting);
            const std::string out = dir.File("s" + std::to_string(i) + ".eps");
            ToolResult r = RunTool("make " + std::string(variation) + " --set " + Quote(setting) + " --no-preview -o " +
                                   Quote(out));
            if (r.status == 0) {
                written += " " + Quote(out);
                continue;
            }
            const std::string field = setting.substr(0, setting.find('='));
            EXPECT_EQ(r.status, 2);
            EXPECT_FALSE(Exists(out));
            // A resolution can leave no room for its default reduction.
            const bool named =
                r.err.find("bad value for " + field + ": ") != std::string::npos ||
                (field == "PrinterDpi" && r.err.find("bad value for BarWidthReduction: ") != std::string::npos);
            EXPECT_TRUE(named) << r.err;
        }
        ASSERT_FALSE(written.empty());
        const vg::test::ShellResult gs =
            vg::test::RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r36 -sDEVICE=pnggray -sOutputFile=" +
                               Quote(dir.File("p%d.png")) + written + " 2>&1");
        EXPECT_EQ(gs.status, 0) << gs.out;
        EXPECT_EQ(vg::test::TrimLineEnds(gs.out), "");
        vg::test::RunShell("rm -f " + Quote(dir.Path()) + "/*");
    }
}

TEST(Make, WritesAnEpsFileWithTheSettings) {
    TempFolder dir;
    const std::string out = dir.File("ean (13).eps");
    ToolResult r = RunTool("make -v 26 -d 400638133393 -a 51234 --no-preview -o " + Quote(out));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    std::string file = ReadWholeFile(out);
    ASSERT_GT(file.size(), 30u);
    EXPECT_EQ(file.substr(0, 4), "\xC5\xD0\xD3\xC6");
    EXPECT_NE(file.find("%%Title: ean 13.eps\r\n"), std::string::npos);
    EXPECT_NE(file.find("%%_OriginalMainText: 400638133393\r\n"), std::string::npos);
    EXPECT_NE(file.find("%%_AddOnText: 51234\r\n"), std::string::npos);
    EXPECT_NE(file.find("%%_Variation: 26\r\n"), std::string::npos);
    EXPECT_NE(file.find("%%LanguageLevel: 2\r\n"), std::string::npos);

    // A line break in the file's name stays out of the title line.
    const std::string odd = dir.File("a\nshowpage.eps");
    ToolResult named = RunTool("make -v 26 -d 400638133393 -o " + Quote(odd));
    ASSERT_EQ(named.status, 0) << named.err;
    std::string oddFile = ReadWholeFile(odd);
    EXPECT_NE(oddFile.find("%%Title: a!showpage.eps\r\n"), std::string::npos);
    EXPECT_EQ(oddFile.find("\nshowpage.eps"), std::string::npos);

    ToolResult one = RunTool("make -v 26 -d 400638133393 --level1 -o " + Quote(out));
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(ReadWholeFile(out).find("%%LanguageLevel: 1\r\n"), std::string::npos);
}

// A vglyph that carries FreeType and fontconfig in itself hands its faces to
// cairo; cairo and Ghostscript, opened later, must use those and not second
// copies of their own.
TEST(Make, OpenedLibrariesUseTheToolsOwnFontLibraries) {
    if (vg::test::RunShell("ldd " + Quote(VGLYPH_EXE) + " | grep -q libfreetype").status == 0)
        GTEST_SKIP() << "vglyph links FreeType shared";
    TempFolder dir;
    struct Case {
        const char* library;
        const char* args;
    };
    for (const Case& c : {Case{"libcairo", "-o x.png"}, Case{"libgs", "-o x.eps --verify"}}) {
        SCOPED_TRACE(c.library);
        const auto r = vg::test::RunShell("cd " + Quote(dir.Path()) + " && LD_DEBUG=bindings " + Quote(VGLYPH_EXE) +
                                          " make -v 26 -d 400638133393 " + c.args + " 2>&1");
        ASSERT_EQ(r.status, 0) << r.out.substr(0, 2000);
        int own = 0;
        for (const std::string& line : Lines(r.out)) {
            if (line.find("binding file") == std::string::npos || line.find(c.library) == std::string::npos ||
                (line.find("symbol `FT_") == std::string::npos && line.find("symbol `Fc") == std::string::npos))
                continue;
            EXPECT_EQ(line.find("to /"), line.find("to " VGLYPH_EXE)) << line;
            ++own;
        }
        EXPECT_GT(own, 0);
    }
}

// The fonts a run chose for the program's own OCR names are remembered for
// the next runs; the files are those made without, with a cache of any
// content, and the alias file decides as before.
TEST(Make, RememberedFontChoicesMakeTheSameFiles) {
    TempFolder t;
    const std::string cache = t.File("cache");
    const std::string remembered = cache + "/vornel-glyph/font-matches";
    const std::string resources = t.File("resources");
    mkdir(resources.c_str(), 0755);
    mkdir((resources + "/fonts").c_str(), 0755);
    vg::test::WriteWholeFile(resources + "/fonts/vornel-fonts.conf",
                             "<?xml version=\"1.0\"?>\n<fontconfig><alias binding=\"same\">"
                             "<family>OCRB Vornel Glyph</family><accept><family>OCRA</family></accept>"
                             "</alias></fontconfig>\n");
    int made = 0;
    const auto make = [&](const std::string& resourceDir) {
        const std::string file = t.File(std::to_string(++made) + ".eps");
        const ToolResult r = RunTool("make -v 26 -d 400638133393 -o " + Quote(file), "",
                                     "XDG_CACHE_HOME=" + Quote(cache) + " VGL_RESOURCE_DIR=" + Quote(resourceDir));
        EXPECT_EQ(r.status, 0) << r.err;
        std::string kept;
        for (const std::string& line : Lines(ReadWholeFile(file)))
            if (line.rfind("%%Title", 0) != 0 && line.rfind("%%CreationDate", 0) != 0) kept += line + "\n";
        return kept;
    };
    const std::string chosen = make("");
    ASSERT_TRUE(Exists(remembered));
    EXPECT_EQ(make(""), chosen);
    vg::test::WriteWholeFile(remembered, std::string("\x01garbage\n\t\t\n", 13) + ReadWholeFile(remembered));
    EXPECT_EQ(make(""), chosen);

    const std::string otherAlias = make(resources);
    EXPECT_NE(otherAlias, chosen);
    EXPECT_EQ(make(resources), otherAlias);
    std::remove(remembered.c_str());
    EXPECT_EQ(make(resources), otherAlias);
    EXPECT_EQ(make(""), chosen);
}

TEST(Open, RoundTripGivesTheWrittenFields) {
    TempFolder dir;
    const std::string out = dir.File("round.eps");
    ToolResult made = RunTool(
        "make -v 35 -d 0-306-40615 -a 12 --set LastMethod=1 --set Magnification=150 --set Rotation=90 --set "
        "HideCheckDigits=1 "
        "--set bFilm=1 --set Film=2 --set CMYKcyanBarsText=30 --set 'Company=ACME Print & Co' "
        "--set CurRatio=2.5 --set ProcessRadio=1 -o " +
        Quote(out));
    ASSERT_EQ(made.status, 0) << made.err;

    ToolResult opened = RunTool("open " + Quote(out));
    ASSERT_EQ(opened.status, 0) << opened.err;
    auto lines = Lines(opened.out);
    auto block = BlockLines(ReadWholeFile(out));
    ASSERT_EQ(block.size(), 108u);
    ASSERT_EQ(lines.size(), block.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The second "bFilm" line of the block holds Film.
        std::string expected = block[i].rfind("bFilm: ", 0) == 0 && i > 100 ? "Film" + block[i].substr(5) : block[i];
        EXPECT_EQ(lines[i], expected) << "line " << i;
    }
    const char* wanted[] = {
        "VersionNumber: 6.02",
        "Family: 8",
        "Variation: 35",
        "VariationName: ISBN 978 EAN-13 Attached",
        "OriginalMainText: 0-306-40615",
        "AddOnText: 12",
        "Magnification: 150.00",
        "Rotation: 90",
        "HideCheckDigits: 1",
        "bFilm: 1",
        "Film: 2",
        "CMYKcyanBarsText: 30",
        "Company: ACME Print & Co",
        "CurRatio: 2.500000",
        "ProcessRadio: 1",
        "LastMethod: 1",
        "CurBarXDimension: 1.404000",
    };
    for (const char* w : wanted) EXPECT_NE(std::find(lines.begin(), lines.end(), w), lines.end()) << w;
}

TEST(Open, UnreadableFilesGiveTheMessageAndTheReason) {
    TempFolder dir;
    const std::string garbage = dir.File("garbage.eps");
    std::system(("printf 'not a graphic at all, just some text\\n' > " + Quote(garbage)).c_str());
    const std::string unfinished = dir.File("unfinished.eps");
    std::system(("printf '%30s\\n%%_VornelGlyph Prefs\\n%%%%_Family: 6\\n' '' > " + Quote(unfinished)).c_str());
    const std::string metafile = dir.File("saved.wmf");
    std::system(("cp " + Quote(garbage) + " " + Quote(metafile)).c_str());
    const std::string fifo = dir.File("fifo.eps");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {garbage, ""},
        {unfinished, ""},
        {metafile, ""},
        {dir.File("missing.eps"), "No such file or directory\n"},
        {dir.File("missing.wmf"), "No such file or directory\n"},
        {dir.Path(), "Is a directory\n"},
        {fifo, "Is a FIFO, not a regular file\n"},
        {"/dev/zero", "Is a device, not a regular file\n"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        ToolResult r = RunTool("open " + Quote(path));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Vornel Glyph: Unable to open " + path +
                             ".\nThis format file cannot be opened by this application.\n" + reason);
    }
}

}  // namespace

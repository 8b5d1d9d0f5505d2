// The tool among other Linux tools: text files of any line end, pipes, help,
// the locale's language and short names.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "clitool.h"

namespace {

namespace fs = std::filesystem;
using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;
using vg::test::WriteWholeFile;

// The files of a folder and their bytes, the EPS creation date aside.
std::map<std::string, std::string> Files(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string bytes = ReadWholeFile(e.path().string());
        const std::size_t date = bytes.find("%%CreationDate:");
        if (date != std::string::npos) bytes.erase(date, bytes.find('\n', date) - date);
        files[e.path().filename().string()] = bytes;
    }
    return files;
}

TEST(LinuxTool, DataFilesOfEveryLineEndAndStandardInputGiveTheSameFiles) {
    TempFolder dir;
    const std::string records[] = {"03600029145", "01234567890", "12345678901"};
    const std::pair<const char*, std::string> ends[] = {{"crlf", "\r\n"}, {"lf", "\n"},     {"cr", "\r"},
                                                        {"bom", "\n"},    {"nolast", "\n"}, {"stdin", "\n"}};
    std::map<std::string, std::string> reference;
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        std::string bytes = name == std::string("bom") ? "\xEF\xBB\xBF" : "";
        for (const std::string& r : records) bytes += r + end;
        if (name == std::string("nolast")) bytes.pop_back();
        WriteWholeFile(dir.File(std::string(name) + ".txt"), bytes);
        fs::create_directory(dir.File(name));
        const std::string out = Quote(dir.File(name));
        const auto r =
            name == std::string("stdin")
                ? RunTool("batch -v upca -f eps - -o " + out + " < " + Quote(dir.File("stdin.txt")))
                : RunTool("batch -v upca -f eps " + Quote(dir.File(std::string(name) + ".txt")) + " -o " + out);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "3 files have been created.\n");
        const auto files = Files(dir.File(name));
        EXPECT_EQ(files.size(), 3u);
        if (reference.empty()) reference = files;
        EXPECT_TRUE(files == reference);
    }
    // A pipe reaches the batch as /dev/stdin too.
    fs::create_directory(dir.File("pipe"));
    const auto r = RunTool("batch -v upca -f eps /dev/stdin -o " + Quote(dir.File("pipe")) + " --replace", "",
                           "cat " + Quote(dir.File("lf.txt")) + " | LANG=C");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Files(dir.File("pipe")) == reference);
}

TEST(LinuxTool, StandardOutputHoldsTheFileStandardInputTheData) {
    TempFolder dir;
    for (const char* format : {"eps", "wmf", "emf", "svg", "png", "pdf"}) {
        SCOPED_TRACE(format);
        const std::string made = dir.File(std::string("made.") + format);
        const std::string args = std::string("make -v ean13 -f ") + format + " -d ";
        ASSERT_EQ(RunTool(args + "400638133393 -o " + Quote(made)).status, 0);
        const auto piped = RunTool(args + "- -o - < " + Quote(dir.File("data.txt")), "",
                                   "printf '400638133393\\r\\n' > " + Quote(dir.File("data.txt")) + " &&");
        ASSERT_EQ(piped.status, 0) << piped.err;
        std::string file = ReadWholeFile(made), out = piped.out;
        if (std::string(format) == "eps" || std::string(format) == "pdf") continue;  // dates and titles differ
        EXPECT_TRUE(file == out);
    }
    // The EPS to standard output is the file make writes under its proposed name.
    ASSERT_EQ(RunTool("make -v ean13 -d 400638133393", dir.Path()).status, 0);
    const auto piped = RunTool("make -v ean13 -d 400638133393 -o -", dir.Path());
    const std::string file = ReadWholeFile(dir.File("EAN-13.400638133393.EPS"));
    ASSERT_EQ(piped.out.size(), file.size());
    // The two runs may fall into different seconds: their creation dates aside.
    const auto undated = [](std::string eps) {
        const std::size_t at = eps.find("%%CreationDate:");
        if (at != std::string::npos) eps.erase(at, eps.find('\n', at) - at);
        return eps.substr(0, 200);
    };
    EXPECT_EQ(undated(piped.out), undated(file));
    EXPECT_EQ(piped.out.substr(file.size() / 2), file.substr(file.size() / 2));
}

TEST(LinuxTool, EveryCommandAnswersHelpAndWritesNothing) {
    TempFolder dir;
    const auto list = RunTool("--help");
    for (const char* command : {"list", "fields", "make", "pattern", "info", "open", "kitlet", "verify", "series",
                                "batch", "helppages", "help"}) {
        SCOPED_TRACE(command);
        EXPECT_NE(list.out.find(std::string("\n  ") + command), std::string::npos);
        for (const std::string& form : {std::string(command) + " --help", std::string(command) + " -h",
                                        "help " + std::string(command), std::string(command) + " -v 6 --help"}) {
            const auto r = RunTool(form, dir.Path());
            EXPECT_EQ(r.status, 0) << form << r.err;
            EXPECT_EQ(r.out.rfind(std::string("usage: vglyph ") + command, 0), 0u) << form;
        }
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_EQ(RunTool("help nothing").status, 2);
    // Data that reads --help is data.
    EXPECT_EQ(RunTool("pattern -v code128 -d --help").out.find("usage"), std::string::npos);
}

TEST(LinuxTool, ManualAndCompletion) {
    const std::string cli = std::string(VGL_SOURCE_DIR) + "/src/cli/";
    const auto man = RunShell("MANWIDTH=80 man -l " + Quote(cli + "vglyph.1") + " 2>&1");
    EXPECT_EQ(man.status, 0);
    EXPECT_NE(man.out.find("EXIT STATUS"), std::string::npos) << man.out;
    const auto complete = RunShell("bash -c 'source " + cli + "vglyph.bash-completion && complete -p vglyph'");
    EXPECT_EQ(complete.out, "complete -F _vglyph vglyph\n");
}

TEST(LinuxTool, MessagesFollowTheLocaleAndShortNamesNameOneVariation) {
    const std::string outOfRange = "make -v 72 -d 03600029145 --method custom --magnification 300 -o /dev/null";
    struct Case {
        const char* env;
        const char* args;
        const char* said;
    } cases[] = {
        {"LANG=C", "", "Magnification: Out of range"},
        {"LC_ALL= LANG=en_GB.UTF-8", "", "Magnification: Out of range"},
        {"LC_ALL= LANG=zh_CN.UTF-8", "", "缩放: 超出范围"},
        {"LC_ALL=zh_TW.UTF-8 LANG=C", "", "缩放: 超出范围"},
        {"LANG=C", " --lang zh", "缩放: 超出范围"},
        {"LC_ALL= LANG=zh_CN.UTF-8", " --lang=en", "Magnification: Out of range"},
    };
    for (const Case& c : cases) {
        const auto r = RunTool(outOfRange + c.args, "", c.env);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.env << c.args << ": " << r.err;
    }
    const auto shorts = RunTool("list --short", "", "LANG=C");
    const std::pair<const char*, const char*> names[] = {
        {"code128", "6"}, {"code39", "11"}, {"code93", "24"}, {"itf14", "41"}, {"upca", "72"},
        {"upce", "74"},   {"ean8", "27"},   {"ean13", "26"},  {"isbn", "34"},  {"postnet", "51"},
        {"codabar", "1"}, {"msi", "47"},    {"gs1-128", "60"}};
    for (const auto& [name, code] : names) {
        EXPECT_NE(shorts.out.find(std::string(name) + "\t" + code + "\t"), std::string::npos) << name;
        const auto info = RunTool(std::string("pattern -v ") + name + " -d x");
        EXPECT_EQ(info.err.find("names no single variation"), std::string::npos) << name;
    }
}

TEST(LinuxTool, RefusedDataSaysWhatIsWrongInPlainWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"-v ean13 -d 4006381333932", "vglyph: invalid check digit '2', expecting '1'\n"},
        {"-v upca -d 036000291453", "vglyph: invalid check digit '3', expecting '2'\n"},
        {"-v ean13 -d 40063813339", "vglyph: too short: EAN-13 takes 12 characters here, 11 given\n"},
        {"-v ean13 -d 4006381A3393", "vglyph: character 'A' at position 8 is not accepted by EAN-13\n"},
        {"-v code39 -d 'AB~'", "vglyph: character '~' at position 3 is not accepted by Code 39 General\n"},
    };
    for (const auto& [args, said] : cases) {
        const auto r = RunTool(std::string("pattern ") + args, "", "LANG=C");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err, said) << args;
    }  // A format that the name denies is refused, not written under that name.
    TempFolder dir;
    const auto r = RunTool("make -v ean13 -d 400638133393 -f eps -o x.svg", dir.Path(), "LANG=C");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("-f eps and the name 'x.svg' disagree"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    // Options the format does not take are refused, not ignored.
    const auto ratio = RunTool("make -v code39 -d ABC --ratio 3.1 -o x.wmf", dir.Path(), "LANG=C");
    EXPECT_EQ(ratio.status, 2);
    EXPECT_NE(ratio.err.find("--set CurRatio=3.1"), std::string::npos) << ratio.err;
    for (const char* args :
         {"-o x.eps --dpi 300", "-o x.svg --transparent", "-o x.wmf --level1", "-f pdf -o - --preview"}) {
        const auto ignored = RunTool(std::string("make -v ean13 -d 400638133393 ") + args, dir.Path(), "LANG=C");
        EXPECT_EQ(ignored.status, 2) << args;
        EXPECT_NE(ignored.err.find("files only"), std::string::npos) << ignored.err;
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(LinuxTool, LengthsInAnyUnitAndRangesInTheUnitTyped) {
    TempFolder dir;
    const std::pair<const char*, double> heights[] = {{"10mm", 28.3465}, {"1cm", 28.3465}, {"0.5in", 36},
                                                      {"36pt", 36},      {"400mil", 28.8}, {"25.4mm", 72}};
    for (const auto& [height, points] : heights) {
        const std::string file = Quote(dir.File("h.eps"));
        const auto r = RunTool(std::string("make -v ean13 -d 400638133393 --bar-height ") + height + " -o " + file);
        ASSERT_EQ(r.status, 0) << height << r.err;
        const std::string opened = RunTool("open " + file).out;
        const std::size_t at = opened.find("\nBarHeight: ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NEAR(std::stod(opened.substr(at + 12)), points, 0.01) << height;
    }
    const auto mm = RunTool("make -v ean13 -d 400638133393 --x-dim 0.2mm -o /dev/null", "", "LANG=C");
    EXPECT_NE(mm.err.find("Out of range:  0.264000 . . 0.660000 millimetres"), std::string::npos) << mm.err;
    const auto pt = RunTool("make -v ean13 -d 400638133393 --bar-height 900pt -o /dev/null", "", "LANG=C");
    EXPECT_NE(pt.err.find(" points"), std::string::npos) << pt.err;
}

TEST(LinuxTool, SeriesCountsFromTheDataWithoutStart) {
    TempFolder dir;
    const auto r = RunTool("series -v ean13 -d 400638130000 --stop 30002 -f eps --no-preview", dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3 files have been created.\n");
    EXPECT_TRUE(fs::exists(dir.File("EAN-13.400638130002.EPS")));
}

}  // namespace

namespace {

// --fg and --bg set both colour models: the EPS (CMYK) and the SVG (RGB) agree.
TEST(LinuxTool, ColoursSetEveryModelTogether) {
    TempFolder dir;
    const std::string eps = dir.File("b.eps"), svg = dir.File("b.svg");
    ASSERT_EQ(RunTool("make -v ean13 -d 400638133393 --fg blue --bg '#FFFF00' -o " + Quote(eps)).status, 0);
    ASSERT_EQ(RunTool("make -v ean13 -d 400638133393 --fg blue --bg '#FFFF00' -o " + Quote(svg)).status, 0);
    const auto opened = RunTool("open " + Quote(eps)).out;
    for (const char* line :
         {"CMYKcyanBarsText: 100\n", "CMYKmagentaBarsText: 100\n", "CMYKyellowBarsText: 0\n", "blueBarsText: 100\n",
          "redBarsText: 0\n", "BarsTextColorName: Blue\n", "CMYKyellowSpacesQuietZone: 100\n",
          "CMYKcyanSpacesQuietZone: 0\n", "TransparentBackground: 0\n"})
        EXPECT_NE(opened.find(line), std::string::npos) << line;
    const std::string drawing = ReadWholeFile(svg);
    EXPECT_NE(drawing.find("fill:rgb(0%,0%,100%)"), std::string::npos);
    // Ghostscript's ink coverage: cyan and magenta (blue bars), yellow (spaces), no black.
    const auto gs = RunShell("gs -q -dNOPAUSE -dBATCH -sDEVICE=inkcov -sOutputFile=- " + Quote(eps));
    double c = 0, m = 0, y = 0, k = 1;
    ASSERT_EQ(std::sscanf(gs.out.c_str(), "%lf %lf %lf %lf", &c, &m, &y, &k), 4) << gs.out;
    EXPECT_GT(c, 0);
    EXPECT_GT(m, 0);
    EXPECT_GT(y, c);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(RunTool("make -v ean13 -d 400638133393 --fg nocolour -o " + Quote(eps)).status, 2);
    EXPECT_EQ(RunTool("make -v ean13 -d 400638133393 --fg cmyk:0,0,0,101 -o " + Quote(eps)).status, 2);
}

}  // namespace

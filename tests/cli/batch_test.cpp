// vglyph series and batch: files that Ghostscript, libwmf and emf2svg render
// and ZXingReader decodes, the exit statuses, Ctrl-C and the progress line.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "clitool.h"

namespace {

namespace fs = std::filesystem;
using vg::test::HaveTool;
using vg::test::Lines;
using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;

std::set<std::string> Names(const TempFolder& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) names.insert(e.path().filename().string());
    return names;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string Ean13(const std::string& twelve) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (twelve[i] - '0') * (i % 2 ? 3 : 1);
    return twelve + static_cast<char>('0' + (10 - sum % 10) % 10);
}

// ZXingReader's one-line answers for the PNG files in a folder: file name to text.
std::map<std::string, std::string> Decode(const std::string& folder, const std::string& format) {
    std::map<std::string, std::string> read;
    const auto r = RunShell("cd " + Quote(folder) + " && ZXingReader -1 -format " + format + " *.png 2>&1");
    for (const std::string& line : Lines(r.out)) {
        const std::size_t space = line.find(' '), quote = line.find('"');
        if (space == std::string::npos || quote == std::string::npos) continue;
        read[line.substr(0, space)] = line.substr(quote + 1, line.rfind('"') - quote - 1);
    }
    return read;
}

void NeedTools(std::initializer_list<const char*> tools) {
    for (const char* tool : tools)
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
}

const char* kSeries = "series -v 26 -d 400638133393 --before 4006381 --start 33393 ";

TEST(BatchScan, HundredFileEpsSeriesDecodesFileByFile) {
    NeedTools({"gs", "ZXingReader"});
    TempFolder dir;
    const auto r = RunTool(std::string(kSeries) + "--stop 33492 -f eps --no-preview --set FileName=4 -o " +
                           Quote(dir.Path()) + " --script " + Quote(dir.Path()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "100 files have been created.\n");
    EXPECT_EQ(r.err, "");
    // One Ghostscript run renders every file, in name order, one page each.
    std::vector<std::string> files;
    for (const std::string& name : Names(dir))
        if (name.ends_with(".EPS")) files.push_back(dir.File(name));
    ASSERT_EQ(files.size(), 100u);
    std::string cmd =
        "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r200 -sDEVICE=pnggray -sOutputFile=" + Quote(dir.File("p%03d.png"));
    for (const std::string& f : files) cmd += " " + Quote(f);
    ASSERT_EQ(RunShell(cmd + " 2>&1").status, 0);
    const auto read = Decode(dir.Path(), "EAN-13");
    for (int i = 0; i < 100; ++i) {
        char png[16];
        std::snprintf(png, sizeof png, "p%03d.png", i + 1);
        const std::string twelve = "4006381" + std::to_string(33393 + i);
        EXPECT_EQ(fs::path(files[i]).filename(), "EAN-13." + twelve + ".EPS");
        EXPECT_EQ(read.count(png) ? read.at(png) : "", Ean13(twelve)) << files[i];
    }
    // The script places the hundred files in three columns.
    const std::string script = ReadWholeFile(dir.File("VGL{400638133492}.txt"));
    EXPECT_EQ(Lines(script).size(), 200u);
    EXPECT_NE(script.find("import \"EAN-13.400638133437.EPS\"\r\nplace 0.500000i, 0.250000i\r\n"), std::string::npos);
}

TEST(BatchScan, Code128DataFileBatchDecodesRecordByRecord) {
    NeedTools({"gs", "ZXingReader"});
    TempFolder dir;
    std::string data;
    for (int i = 1; i <= 12; ++i) data += "Lot." + std::to_string(1000 + i * 7) + "/x\r\n";
    WriteFile(dir.File("lots.txt"), data);
    const auto r =
        RunTool("batch -v 6 --set FileName=2 -f eps " + Quote(dir.File("lots.txt")) + " -o " + Quote(dir.Path()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "12 files have been created.\n");
    for (int i = 1; i <= 12; ++i) {
        const std::string text = "Lot." + std::to_string(1000 + i * 7) + "/x";
        const std::string eps = dir.File("Lot." + std::to_string(1000 + i * 7) + "!x.EPS");
        const std::string png = dir.File("r" + std::to_string(i) + ".png");
        ASSERT_TRUE(fs::exists(eps)) << eps;
        ASSERT_EQ(vg::test::RenderEps(eps, png, 200).status, 0);
        const auto read = Decode(dir.Path(), "Code128");
        EXPECT_EQ(read.count(fs::path(png).filename()) ? read.at(fs::path(png).filename()) : "", text);
        fs::remove(png);
    }
}

TEST(BatchScan, WmfAndEmfSeriesDecodeThroughTheirReaders) {
    NeedTools({"wmf2svg", "emf2svg-conv", "rsvg-convert", "ZXingReader"});
    for (const std::string format : {"wmf", "emf"}) {
        SCOPED_TRACE(format);
        TempFolder dir;
        const auto r =
            RunTool(std::string(kSeries) + "--stop 33397 -f " + format + " --set FileName=3 -o " + Quote(dir.Path()));
        ASSERT_EQ(r.status, 0) << r.err;
        for (int i = 0; i < 5; ++i) {
            const std::string n = std::to_string(33393 + i);
            const std::string file = dir.File(n + (format == "wmf" ? ".WMF" : ".EMF")), svg = file + ".svg";
            const std::string convert = format == "wmf" ? "wmf2svg -o " + Quote(svg) + " " + Quote(file)
                                                        : "emf2svg-conv -i " + Quote(file) + " -o " + Quote(svg);
            ASSERT_EQ(RunShell(convert + " 2>&1").status, 0) << file;
            ASSERT_EQ(RunShell("rsvg-convert -b white -a -w 600 -h 600 -o " + Quote(dir.File(n + ".png")) + " " +
                               Quote(svg) + " 2>&1")
                          .status,
                      0);
        }
        const auto read = Decode(dir.Path(), "EAN-13");
        for (int i = 0; i < 5; ++i) {
            const std::string n = std::to_string(33393 + i);
            EXPECT_EQ(read.count(n + ".png") ? read.at(n + ".png") : "", Ean13("4006381" + n)) << n;
        }
    }
}

TEST(BatchTool, SetupChecksAndExitStatuses) {
    struct Case {
        const char* name;
        std::string args;
        int status;
        const char* said;  // in standard error
        std::size_t files;
    } cases[] = {
        {"3001 files", "series -v 6 -d ABC1 --before ABC --start 1 --stop 3001", 2,
         "Out of range. Serialization may not exceed 3000 files.", 0},
        {"by twos", "series -v 6 -d AB1 --before AB --start 1 --stop 5 --step 2", 0, "", 3},
        {"without --before", "series -v 72 -d 03600029145 --start 29145 --stop 29147", 0, "", 3},
        {"case differs", "series -v 6 -d ABC1 --before abc --start 1 --stop 3", 2, "must match main input.", 0},
        {"start above stop", "series -v 6 -d ABC5 --before ABC --start 5 --stop 3", 2,
         "\"Start\" is greater than \"Stop\".", 0},
        {"step with a letter", "series -v 6 -d ABC5 --before ABC --start 5 --stop 7 --step 1x", 2, "--step", 0},
        {"add-on part without add-on", "series -v 26 -d 400638133393 --start 33393 --stop 33394 --addon-part", 2,
         "--addon-part", 0},
        {"FIM has no counter", "series -v 31 --start 1 --stop 3", 2, "must match main input.", 0},
        {"first record of 61", "batch -v 72 long.txt", 2, "File's format is not correct", 0},
        {"LF only", "batch -v 72 lf.txt", 0, "", 5},
        {"rejected record skipped", "batch -v 72 bad.txt", 1, "Invalid input: \"XYZ\"\nRecord #2", 2},
        {"no data file", "batch -v 72 none.txt", 1, "none.txt: No such file or directory", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        WriteFile(dir.File("long.txt"), std::string(61, '1') + "\r\n");
        WriteFile(dir.File("lf.txt"), "03600029145\n01234567890\n12345678901\n12345678901\n12345678901\n");
        WriteFile(dir.File("bad.txt"), "03600029145\r\nXYZ\r\n12345678901\r\n");
        const auto r = RunTool(c.args + " -f eps --set FileName=0 --script s.txt", dir.Path());
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(Names(dir).size() - 3, c.files + (c.status == 0 ? 1 : 0));  // the script when all went well
        EXPECT_FALSE(fs::exists(dir.File("s.txt")) && c.status != 0);
    }
}

TEST(BatchTool, ExistingFilesNeedReplace) {
    TempFolder dir;
    const std::string args = "series -v 6 -d AB1 --before AB --start 1 --stop 3 --set FileName=0 -f eps";
    ASSERT_EQ(RunTool(args, dir.Path()).status, 0);
    const std::string before = ReadWholeFile(dir.File("Untitled-0002.EPS"));
    fs::remove(dir.File("Untitled-0001.EPS"));
    // The first name is free; the second is taken: the run stops as after Cancel.
    auto r = RunTool(args, dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Untitled-0002.EPS exists"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    r = RunTool(args + " --replace", dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3 files have been created.\n");
    EXPECT_EQ(Names(dir).size(), 3u);
    EXPECT_EQ(before.size(), ReadWholeFile(dir.File("Untitled-0002.EPS")).size());
}

// Ctrl-C, SIGTERM and SIGHUP stop the run after the file being written: the
// count names the files there are, no script, no partial file. A temporary
// left by a process that is gone is removed.
TEST(BatchTool, SignalsStopAfterTheFileBeingWritten) {
    for (const auto& [signal, status] : {std::pair{"INT", "130"}, {"TERM", "143"}, {"HUP", "129"}}) {
        SCOPED_TRACE(signal);
        TempFolder dir;
        const std::string gone = vg::test::TrimLineEnds(RunShell("sh -c 'echo $$'").out);
        WriteFile(dir.File(".vgl-save-" + gone + "-abcdef"), "left");
        const std::string cmd =
            "cd " + Quote(dir.Path()) + " && (" + Quote(VGLYPH_EXE) + " " + kSeries +
            "--stop 36392 -f eps --verify --set FileName=4 --script s.txt > out.txt 2>err.txt & pid=$!;"
            // Signal once a few files are there, however fast the machine.
            " i=0; while [ $(ls | grep -c 'EPS$') -lt 3 ] && [ $i -lt 1000 ]; do"
            " sleep 0.01; i=$((i+1)); done; kill -" +
            std::string(signal) + " $pid; wait $pid; echo $?)";
        const auto r = RunShell(cmd);
        EXPECT_EQ(vg::test::TrimLineEnds(r.out), status);
        const std::string out = ReadWholeFile(dir.File("out.txt"));
        std::size_t eps = 0, other = 0;
        for (const std::string& name : Names(dir)) (name.ends_with(".EPS") ? eps : other)++;
        EXPECT_GT(eps, 1u);
        EXPECT_LT(eps, 3000u);
        EXPECT_EQ(out, std::to_string(eps) + " files have been created.\n");
        EXPECT_EQ(other, 2u);  // out.txt and err.txt: no script, no temporary file
    }
}

// Two runs into one folder under the same names: each name goes to one of
// them, and each run's count is the files holding its data.
TEST(BatchTool, ConcurrentSeriesReportOnlyTheirOwnFiles) {
    TempFolder dir;
    const std::string run =
        Quote(VGLYPH_EXE) + " series -v 6 --set FileName=0 -f eps --no-preview --start 1 --stop 100 -o f";
    const auto r = RunShell(
        "cd " + Quote(dir.Path()) +
        " && for t in $(seq 20); do rm -rf f; mkdir f;"
        " " +
        run + " -d AB1 --before AB > a 2>/dev/null & " + run +
        " -d CD1 --before CD > b 2>/dev/null; wait;"
        // A run that lost its first name prints no count: 0.
        " a=$(tr -dc 0-9 < a); b=$(tr -dc 0-9 < b);"
        " echo ${a:-0} $(grep -la 'AB[0-9]' f/* | wc -l) ${b:-0} $(grep -la 'CD[0-9]' f/* | wc -l) $(ls -A f | wc -l);"
        " done");
    const std::vector<std::string> trials = Lines(r.out);
    ASSERT_EQ(trials.size(), 20u) << r.out;
    for (const std::string& trial : trials) {
        int countA = -1, filesA = 0, countB = -1, filesB = 0, names = 0;
        ASSERT_EQ(std::sscanf(trial.c_str(), "%d %d %d %d %d", &countA, &filesA, &countB, &filesB, &names), 5);
        EXPECT_TRUE(countA == filesA && countB == filesB && names == 100 && filesA + filesB == 100) << trial;
    }
}

// Data that would lead out of the folder or hide a file: everything stays in
// the folder, named safely, and every script line names a file there.
TEST(BatchTool, HostileNamesStayInTheFolder) {
    struct Case {
        const char* name;
        std::string args;
    } cases[] = {
        {"slashes and dots", "series -v 6 -d /../../x00001 --before /../../x --start 00001 --stop 00003"},
        {"leading dot", "series -v 6 -d .hidden1 --before .hidden --start 1 --stop 3"},
        {"data file", "batch -v 6 data.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        fs::create_directories(dir.File("parent/out/VGL{"));
        WriteFile(dir.File("data.txt"), ".EPS\r\n..\r\n/../x\r\n");
        const auto r =
            RunTool(c.args + " -f eps --no-preview --set FileName=2 -o parent/out --script parent/out", dir.Path());
        ASSERT_EQ(r.status, 0) << r.err;
        std::set<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
            const std::string name = e.path().filename().string();
            if (!e.is_regular_file() || name == "data.txt") continue;
            files.insert(name);
            EXPECT_EQ(e.path().parent_path().string(), dir.File("parent/out")) << name;
            EXPECT_NE(name[0], '.') << name;
        }
        ASSERT_EQ(files.size(), 4u);  // 3 graphics, then "VGL{...}.txt" sorts last
        std::size_t imports = 0;
        for (const std::string& line : Lines(ReadWholeFile(dir.File("parent/out/" + *files.rbegin()))))
            if (line.starts_with("import ") && ++imports) {
                EXPECT_TRUE(files.count(line.substr(8, line.rfind('"') - 8))) << line;
            }
        EXPECT_EQ(imports, 3u);
    }
}

// Names a run makes never follow a link: without --replace a link counts as
// an existing file; with it the link itself is replaced and its target kept.
// A file the user may not write is not replaced, --replace or not.
TEST(BatchTool, PlantedLinksAreReplacedAsLinks) {
    TempFolder dir;
    fs::create_directory(dir.File("out"));
    WriteFile(dir.File("target.txt"), "keep");
    fs::create_symlink("../target.txt", dir.File("out/Untitled-0002.EPS"));
    fs::create_symlink("../missing.txt", dir.File("out/Untitled-0003.EPS"));
    WriteFile(dir.File("data.txt"), "03600029145\r\n01234567890\r\n12345678905\r\n");
    const std::string args = "batch -v 72 data.txt -f eps --no-preview --set FileName=0 -o out";
    auto r = RunTool(args, dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Untitled-0002.EPS exists"), std::string::npos) << r.err;
    r = RunTool(args + " --replace", dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* name : {"out/Untitled-0002.EPS", "out/Untitled-0003.EPS"}) {
        EXPECT_FALSE(fs::is_symlink(dir.File(name))) << name;
        EXPECT_EQ(ReadWholeFile(dir.File(name)).substr(0, 4), "\xC5\xD0\xD3\xC6") << name;  // an EPS file
    }
    EXPECT_EQ(ReadWholeFile(dir.File("target.txt")), "keep");
    EXPECT_FALSE(fs::exists(dir.File("missing.txt")));
    fs::permissions(dir.File("out/Untitled-0002.EPS"), fs::perms::owner_read | fs::perms::group_read);
    const std::string before = ReadWholeFile(dir.File("out/Untitled-0002.EPS"));
    r = RunTool(args + " --replace", dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(ReadWholeFile(dir.File("out/Untitled-0002.EPS")), before);
}

// The progress line shows on a terminal only.
TEST(BatchTool, ProgressLineOnATerminalOnly) {
    if (!HaveTool("script")) GTEST_SKIP() << "script is not installed";
    TempFolder dir;
    const std::string args = std::string(kSeries) + "--stop 33792 -f eps --no-preview";
    const auto piped = RunTool(args, dir.Path());
    EXPECT_EQ(piped.err, "");
    fs::remove_all(dir.Path());
    fs::create_directory(dir.Path());
    const auto tty =
        RunShell("cd " + Quote(dir.Path()) + " && script -qec " + Quote(Quote(VGLYPH_EXE) + " " + args) + " /dev/null");
    EXPECT_NE(tty.out.find(" of 400 files, "), std::string::npos) << tty.out;
    EXPECT_NE(tty.out.find("400 files have been created."), std::string::npos);
}

}  // namespace

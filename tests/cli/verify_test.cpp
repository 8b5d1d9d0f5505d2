// make --verify and verify: one line per file, exit 0 when every file scans or
// has no reader, 3 when one does not scan.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

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
    EXPECT_TRUE(StartsWith(lines[1], wmf + ": scans: Code 128 \"Ab12345xyz\" (drawing and WMF file)")) << lines[1];
    EXPECT_NE(lines[1].find("(settings from the trailer)"), std::string::npos) << lines[1];
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

// The polygons of a metafile's records collapsed to their first point: WMF
// META_POLYGON (0x0324, 16-bit points) or EMF EMR_POLYGON (3, 32-bit points).
int CollapsePolygons(std::string& file, bool emf, int count) {
    auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1])
                                                                                << 8);
    };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    int done = 0;
    for (std::size_t at = emf ? 0 : 40; at + 8 <= file.size() && done < count;) {
        const std::size_t size = emf ? u32(at + 4) : 2 * std::size_t{u32(at)};
        const bool polygon = emf ? u32(at) == 3 : u16(at + 4) == 0x0324;
        if (size == 0) break;
        if (polygon) {
            const std::size_t n = emf ? u32(at + 24) : u16(at + 6), first = emf ? at + 28 : at + 8, point = emf ? 8 : 4;
            for (std::size_t i = 1; i < n; ++i) file.replace(first + i * point, point, file.substr(first, point));
            ++done;
        }
        at += size;
    }
    return done;
}

// Damaged files of every kind the proof reads are caught; the undamaged scan.
TEST(Verify, DamagedFilesOfEveryKindDoNotScan) {
    VG_REQUIRE_TOOLS("qpdf", "fix-qdf");
    TempFolder dir;
    std::vector<std::string> good, bad;
    for (const char* ext : {"wmf", "emf"}) {
        const std::string path = dir.File(std::string("c.") + ext), broken = dir.File(std::string("broken.") + ext);
        ASSERT_EQ(RunTool("make -v 6 -d Ab12345xyz -o " + Quote(path)).status, 0);
        std::string bytes = vg::test::ReadWholeFile(path);
        ASSERT_EQ(CollapsePolygons(bytes, ext[0] == 'e', 6), 6) << ext;
        std::ofstream(broken, std::ios::binary) << bytes;
        good.push_back(path);
        bad.push_back(broken);
    }
    // A PDF whose fifth bar was moved onto the first.
    const std::string pdf = dir.File("c.pdf"), qdf = dir.File("c.qdf"), moved = dir.File("moved.pdf");
    ASSERT_EQ(RunTool("make -v 26 -d 400638133393 -o " + Quote(pdf)).status, 0);
    ASSERT_EQ(vg::test::RunShell("qpdf --qdf --object-streams=disable " + Quote(pdf) + " " + Quote(qdf)).status, 0);
    std::vector<std::string> lines = Lines(vg::test::ReadWholeFile(qdf));
    std::vector<std::size_t> bars;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > 5 && lines[i].compare(lines[i].size() - 5, 5, "re f*") == 0) bars.push_back(i);
    ASSERT_GE(bars.size(), 5u);
    lines[bars[4]] =
        lines[bars[0]].substr(0, lines[bars[0]].find(' ')) + lines[bars[4]].substr(lines[bars[4]].find(' '));
    std::string edited;
    for (const std::string& l : lines) edited += l + "\n";
    std::ofstream(qdf, std::ios::binary | std::ios::trunc) << edited;
    ASSERT_EQ(vg::test::RunShell("fix-qdf " + Quote(qdf) + " > " + Quote(moved)).status, 0);
    good.push_back(pdf);
    bad.push_back(moved);

    for (std::size_t i = 0; i < good.size(); ++i) {
        const vg::test::ToolResult ok = RunTool("verify " + Quote(good[i]));
        EXPECT_EQ(ok.status, 0) << ok.out << ok.err;
        EXPECT_TRUE(StartsWith(ok.out, good[i] + ": scans: ")) << ok.out;
        const vg::test::ToolResult r = RunTool("verify " + Quote(bad[i]));
        EXPECT_EQ(r.status, 3) << r.out << r.err;
        EXPECT_TRUE(StartsWith(r.out, bad[i] + ": does not scan: ")) << r.out;
    }
    // The metafiles' own drawings stay good: the line says the file failed.
    EXPECT_NE(RunTool("verify " + Quote(bad[0])).out.find("does not scan: WMF file "), std::string::npos);
}

// Add-ons on the printer's grid: every target draws the gap the EPS body
// writes, and the reader pairs the add-on with its symbol.
TEST(Verify, AddOnsScanOnEveryTarget) {
    TempFolder dir;
    struct Case {
        const char* args;
        const char* read;
    } const cases[] = {
        {"-v 26 -d 590123412345 -a 12345 --printer-dpi 600", "EAN-13 \"5901234123457 12345\""},
        {"-v 26 -d 590123412345 -a 12 --printer-dpi 2400 --set Rotation=90", "EAN-13 \"5901234123457 12\""},
        {"-v 72 -d 03600029145 -a 12 --printer-dpi 2540 --set Rotation=180", "UPC-A \"036000291452 12\""},
        {"-v 35 -d 030640615 -a 51995 --printer-dpi 1200 --set Rotation=270", "EAN-13 \"9780306406157 51995\""},
    };
    for (const Case& c : cases)
        for (const char* ext : {"eps", "wmf", "emf"}) {
            const std::string path = dir.File(std::string("a.") + ext);
            const vg::test::ToolResult r = RunTool(std::string("make ") + c.args + " --verify -o " + Quote(path));
            EXPECT_EQ(r.status, 0) << c.args << " " << ext << "\n" << r.out << r.err;
            EXPECT_TRUE(StartsWith(r.out, path + ": scans: " + c.read)) << c.args << " " << ext << "\n" << r.out;
        }
}

int FilesIn(const std::string& folder) {
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

// Series and batches prove every file; the first that does not scan stops the
// run and is not counted.
TEST(Verify, SeriesAndBatchProveEveryFile) {
    TempFolder dir;
    const std::string good = dir.File("good"), thin = dir.File("thin"), batch = dir.File("batch");
    for (const std::string& f : {good, thin, batch}) ASSERT_EQ(mkdir(f.c_str(), 0755), 0);

    // EAN-13 with a five-digit add-on: the add-on gap is one every target shares.
    const vg::test::ToolResult series = RunTool(
        "series -v 26 -d 590123412345 -a 12345 --before 5901234 --start 12345 "
        "--stop 12348 --verify -o " +
        Quote(good));
    EXPECT_EQ(series.status, 0) << series.out << series.err;
    EXPECT_NE(series.out.find("4 files have been created."), std::string::npos) << series.out;
    EXPECT_EQ(FilesIn(good), 4);

    const vg::test::ToolResult refused = RunTool(
        "series -v 26 -d 400638133393 --before 4006381 --start 33393 "
        "--stop 33396 --set BarWidthReduction=30 --verify -o " +
        Quote(thin));
    EXPECT_EQ(refused.status, 3) << refused.out << refused.err;
    EXPECT_NE(refused.out.find(": does not scan: "), std::string::npos) << refused.out;
    EXPECT_EQ(refused.out.find("files have been created"), std::string::npos) << refused.out;
    EXPECT_EQ(FilesIn(thin), 1);

    const std::string data = dir.File("codes.txt");
    std::ofstream(data, std::ios::binary) << "Vornel-1\r\nVornel-22\r\nVornel-333\r\n";
    const vg::test::ToolResult batched = RunTool("batch -v 6 " + Quote(data) + " --verify -o " + Quote(batch));
    EXPECT_EQ(batched.status, 0) << batched.out << batched.err;
    EXPECT_NE(batched.out.find("3 files have been created."), std::string::npos) << batched.out;
    EXPECT_EQ(FilesIn(batch), 3);
}

}  // namespace

namespace {

// Proofs run on several workers: the files are still proven in order, the run
// stops at the first that does not scan and names it, and the count holds
// only the files before it; nothing written after it is left behind.
TEST(Verify, ProvenRunsStopAtTheFirstFileInOrder) {
    TempFolder dir;
    const std::string all = dir.File("all"), cut = dir.File("cut");
    for (const std::string& f : {all, cut}) ASSERT_EQ(mkdir(f.c_str(), 0755), 0);

    const vg::test::ToolResult series = RunTool(
        "series -v 26 -d 400638130000 --before 4006381 --start 30000 "
        "--stop 30039 --no-preview --verify -o " +
        Quote(all));
    EXPECT_EQ(series.status, 0) << series.out << series.err;
    EXPECT_EQ(series.out, "40 files have been created.\n");
    EXPECT_EQ(FilesIn(all), 40);

    // Two-digit ITF is too short for the reader: the seventh record of twenty.
    std::string records;
    for (int i = 0; i < 20; ++i) records += i == 6 ? "12\r\n" : std::to_string(100000 + 2 * i) + "\r\n";
    const std::string data = dir.File("itf.txt");
    std::ofstream(data, std::ios::binary) << records;
    const vg::test::ToolResult batch = RunTool("batch -v 39 " + Quote(data) + " --verify -o " + Quote(cut));
    EXPECT_EQ(batch.status, 3) << batch.out << batch.err;
    const std::vector<std::string> lines = Lines(batch.out);
    ASSERT_EQ(lines.size(), 2u) << batch.out;
    EXPECT_TRUE(StartsWith(lines[0], cut + "/ITF.12.EPS: does not scan: ")) << lines[0];
    EXPECT_EQ(lines[1], "6 files have been created.");
    EXPECT_EQ(FilesIn(cut), 7);
}

}  // namespace

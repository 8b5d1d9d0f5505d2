// WMF, EMF and export files written by the tool, read by programs nobody here wrote.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::HaveTool;
using vg::test::Lines;
using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;

constexpr std::size_t kTrailer = 2840;

uint32_t Le(const std::string& b, std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

std::string MakeArgs(const std::string& symbol, const std::string& extra, const std::string& out) {
    return "make " + symbol + " " + extra + " -o " + Quote(out);
}

const char* kEan13 = "-v 26 -d 400638133393 -a 12";

TEST(Metafile, WmfIsPlaceableHeaderRecordsAndTrailer) {
    TempFolder dir;
    const std::string out = dir.File("a.wmf");
    for (int rotation : {0, 90, 180}) {
        SCOPED_TRACE(rotation);
        ASSERT_EQ(RunTool(MakeArgs(kEan13, "-f wmf --set Rotation=" + std::to_string(rotation), out)).status, 0);
        const std::string b = ReadWholeFile(out);
        ASSERT_GT(b.size(), 22 + 18 + kTrailer);
        EXPECT_EQ(Le(b, 0, 4), 0x9AC6CDD7u);
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i) sum ^= static_cast<uint16_t>(Le(b, 2 * i, 2));
        EXPECT_EQ(Le(b, 20, 2), sum);
        EXPECT_EQ(Le(b, 14, 2), 1000u);
        const int right = static_cast<int16_t>(Le(b, 10, 2)), bottom = static_cast<int16_t>(Le(b, 12, 2));
        EXPECT_GT(right, 1000);
        EXPECT_GT(bottom, 500);
        if (rotation == 90) {
            EXPECT_GT(bottom, right);
        }
        // Metafile header: its size in words covers exactly the records.
        EXPECT_EQ(Le(b, 22, 2), 1u);
        EXPECT_EQ(Le(b, 24, 2), 9u);
        const std::size_t metafile = 2 * Le(b, 28, 4);
        ASSERT_EQ(22 + metafile + kTrailer, b.size());
        std::size_t at = 22 + 18, last = 0;
        int extents = 0;
        while (at < 22 + metafile) {
            const std::size_t words = Le(b, at, 4);
            ASSERT_GE(words, 3u);
            // Every window extent, the first included, is the header's box (y before x).
            if (Le(b, at + 4, 2) == 0x020C) {
                ++extents;
                EXPECT_EQ(static_cast<int16_t>(Le(b, at + 6, 2)), bottom);
                EXPECT_EQ(static_cast<int16_t>(Le(b, at + 8, 2)), right);
            }
            last = at;
            at += 2 * words;
        }
        EXPECT_EQ(extents, 2);
        EXPECT_EQ(at, 22 + metafile);
        EXPECT_EQ(Le(b, last + 4, 2), 0u);  // end record
        EXPECT_EQ(b.compare(b.size() - kTrailer, 13, std::string("VORNEL GLYPH\0", 13)), 0);
    }
}

TEST(Metafile, EmfFrameIsTheDrawingAndTrailerFollows) {
    TempFolder dir;
    std::map<int, std::pair<uint32_t, uint32_t>> frames;
    for (int rotation : {0, 90, 180, 270}) {
        SCOPED_TRACE(rotation);
        const std::string out = dir.File("a" + std::to_string(rotation) + ".emf");
        ASSERT_EQ(RunTool(MakeArgs(kEan13, "-f emf --set Rotation=" + std::to_string(rotation), out)).status, 0);
        const std::string b = ReadWholeFile(out);
        ASSERT_GT(b.size(), 88 + kTrailer);
        EXPECT_EQ(Le(b, 0, 4), 1u);
        EXPECT_EQ(b.substr(40, 4), " EMF");
        const uint32_t bytes = Le(b, 48, 4);
        ASSERT_EQ(bytes + kTrailer, b.size());
        std::size_t at = 0, last = 0, count = 0;
        while (at < bytes) {
            last = at;
            at += Le(b, at + 4, 4);
            ++count;
        }
        EXPECT_EQ(at, bytes);
        EXPECT_EQ(count, Le(b, 52, 4));
        EXPECT_EQ(Le(b, last, 4), 14u);  // EMR_EOF
        EXPECT_EQ(Le(b, 24, 4), 0u);     // frame left, top
        frames[rotation] = {Le(b, 32, 4), Le(b, 36, 4)};
        EXPECT_EQ(b.compare(bytes, 13, std::string("VORNEL GLYPH\0", 13)), 0);
    }
    EXPECT_EQ(frames[0], frames[180]);
    EXPECT_EQ(frames[90], frames[270]);
    EXPECT_EQ(frames[0].first, frames[90].second);
}

// ---- Real readers ----

struct ScanCase {
    const char* name;
    const char* args;
    std::set<std::string> zbar;  // what zbarimg reports
    std::string zxing;           // format and text as ZXingReader -1 prints them
};

// Test listings show the case by name.
void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

const ScanCase kScanCases[] = {
    {"Ean13AddOn", "-v 26 -d 400638133393 -a 12", {"EAN-13:4006381333931", "EAN-2:12"}, "EAN-13 \"4006381333931"},
    {"UpcA", "-v 72 -d 03600029145", {"EAN-13:0036000291452"}, "UPC-A \"036000291452"},
    {"Isbn", "-v 35 -d 030640615", {"EAN-13:9780306406157"}, "EAN-13 \"9780306406157"},
};

// A reader named after the format ("wmf+inkscape") instead of the usual one.
std::string FileFormat(const std::string& format) { return format.substr(0, format.find('+')); }

// Turns a written file into a PNG for the decoders; the reason when it failed.
std::string Rasterise(const std::string& format, const std::string& file, const std::string& png) {
    std::string svg = file + ".svg";
    std::string cmd;
    if (format.ends_with("+inkscape")) {
        auto r = RunShell("inkscape " + Quote(file) +
                          " --export-type=png --export-dpi=300 --export-background=white"
                          " --export-filename=" +
                          Quote(png) + " 2>&1");
        return r.status == 0 ? "" : "inkscape: " + r.out;
    }
    if (format == "wmf")
        cmd = "wmf2svg -o " + Quote(svg) + " " + Quote(file);
    else if (format == "emf")
        cmd = "emf2svg-conv -i " + Quote(file) + " -o " + Quote(svg);
    else if (format == "svg")
        svg = file;
    else if (format == "pdf")
        cmd = "gs -q -dSAFER -dNOPAUSE -dBATCH -r300 -sDEVICE=pnggray -sOutputFile=" + Quote(png) + " " + Quote(file);
    else
        return "";
    if (!cmd.empty()) {
        auto r = RunShell(cmd + " 2>&1");
        if (r.status != 0) return cmd + ": " + r.out;
    }
    if (format == "pdf") return "";
    // The long side about 300 dpi: the decoders read best there.
    auto r = RunShell("rsvg-convert -b white -a -w 600 -h 600 -o " + Quote(png) + " " + Quote(svg) + " 2>&1");
    return r.status == 0 ? "" : "rsvg-convert: " + r.out;
}

class ReadBack : public ::testing::TestWithParam<std::tuple<ScanCase, std::string>> {};

TEST_P(ReadBack, EveryRotationDecodes) {
    const auto& [symbol, reader] = GetParam();
    const std::string format = FileFormat(reader);
    for (const char* tool : {"wmf2svg", "emf2svg-conv", "rsvg-convert", "gs", "ZXingReader", "zbarimg"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    if (reader.ends_with("+inkscape") && !HaveTool("inkscape")) GTEST_SKIP() << "inkscape is not installed";
    TempFolder dir;
    for (int rotation : {0, 90, 180, 270}) {
        SCOPED_TRACE("rotation " + std::to_string(rotation));
        const std::string file = dir.File("s" + std::to_string(rotation) + "." + format);
        const std::string png = file + ".png";
        // Exports keep transparent spaces transparent; the decoders need them white.
        auto made = RunTool(MakeArgs(symbol.args,
                                     "--set TransparentBackground=0 --set Rotation=" + std::to_string(rotation) +
                                         (format == "png" ? " --dpi 300" : " -f " + format),
                                     format == "png" ? png : file));
        ASSERT_EQ(made.status, 0) << made.err;
        const std::string problem = Rasterise(reader, file, png);
        ASSERT_EQ(problem, "");
        auto zb = RunShell("zbarimg -q -Sean2.enable -Sean5.enable " + Quote(png) + " 2>/dev/null");
        std::vector<std::string> read = Lines(zb.out);
        EXPECT_EQ(std::set<std::string>(read.begin(), read.end()), symbol.zbar);
        auto zx = RunShell("ZXingReader -1 " + Quote(png) + " 2>&1");
        EXPECT_NE(zx.out.find(symbol.zxing), std::string::npos) << zx.out;
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadBack,
                         ::testing::Combine(::testing::ValuesIn(kScanCases),
                                            ::testing::Values("wmf", "emf", "png", "svg", "pdf")),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param);
                         });

// Inkscape, the reader most Linux users have, is slow to start: one symbol.
INSTANTIATE_TEST_SUITE_P(Inkscape, ReadBack,
                         ::testing::Combine(::testing::Values(kScanCases[0]),
                                            ::testing::Values("wmf+inkscape", "emf+inkscape")),
                         [](const auto& info) {
                             std::string reader = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    reader.substr(0, reader.find('+'));
                         });

TEST(Export, PngHasTheDrawingsPixelSize) {
    TempFolder dir;
    const std::string wmf = dir.File("a.wmf"), png = dir.File("a.png");
    ASSERT_EQ(RunTool(MakeArgs(kEan13, "-f wmf", wmf)).status, 0);
    const std::string b = ReadWholeFile(wmf);
    const int w = static_cast<int16_t>(Le(b, 10, 2)), h = static_cast<int16_t>(Le(b, 12, 2));
    for (int dpi : {600, 150}) {
        ASSERT_EQ(RunTool(MakeArgs(kEan13, "--dpi " + std::to_string(dpi), png)).status, 0);
        const std::string p = ReadWholeFile(png);
        ASSERT_GT(p.size(), 24u);
        auto be = [&](std::size_t at) {
            return (uint32_t(uint8_t(p[at])) << 24) | (uint32_t(uint8_t(p[at + 1])) << 16) |
                   (uint32_t(uint8_t(p[at + 2])) << 8) | uint8_t(p[at + 3]);
        };
        EXPECT_EQ(be(16), static_cast<uint32_t>((w * dpi + 999) / 1000)) << dpi;
        EXPECT_EQ(be(20), static_cast<uint32_t>((h * dpi + 999) / 1000)) << dpi;
    }
    EXPECT_EQ(RunTool(MakeArgs(kEan13, "--dpi 0", png)).status, 2);
}

// ---- Reopening ----

TEST(Reopen, EveryTrailerFieldComesBackFromWmfAndEmf) {
    TempFolder dir;
    const std::string name(255, 'N');
    const std::string settings =
        "--set Derived=1 --set CurRatio=2.75 --set BarHeight=61.25 --set BearerBar=3.5"
        " --set Magnification=133.5 --set Rotation=90 --set ElephantSound=1 --set FileName=3"
        " --set UnitOfMeasure=2 --set Prufmark=2 --set GSCalibration=17 --set PrinterDpi=1270 --set Size=11"
        " --set Bold=1 --set TextAbove=1 --set QuietZoneIndicators=1 --set AdditionalText='Lot 26, CR-LF'"
        " --set FontName4AdditionalText=Courier --set SizeAT=14 --set SizeListCountAT=9 --set AlignAT=0"
        " --set Rotation4AdditionalText=270 --set H=-12.5 --set V=3.25 --set BarsTextColorName=Reflex"
        " --set redBarsText=10 --set CMYKyellowSpacesQuietZone=40 --set Hueproof=2 --set RGB_Radio=1"
        " --set SerialBefore=AB --set SerialStart=0007 --set SerialAfter=Z --set SerialStop=0099"
        " --set SerialIncrement=3 --set bCropMarks=1 --set bFilm=1 --set Film=2 --set Company='ACME & Co'"
        " --set Client=Client --set Job=J26 --set Date=2026-12-09 --set Comments=" +
        name;
    std::vector<std::map<std::string, std::string>> opened;
    for (const char* format : {"wmf", "emf"}) {
        const std::string out = dir.File(std::string("r.") + format);
        auto made = RunTool(MakeArgs(kEan13, settings + " -f " + format, out));
        ASSERT_EQ(made.status, 0) << made.err;
        auto r = RunTool("open " + Quote(out));
        ASSERT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::string> fields;
        for (const std::string& line : Lines(r.out)) {
            const std::size_t colon = line.find(": ");
            if (colon != std::string::npos) fields[line.substr(0, colon)] = line.substr(colon + 2);
        }
        opened.push_back(fields);
    }
    EXPECT_EQ(opened[0]["Format"], "0");
    EXPECT_EQ(opened[1]["Format"], "2");
    opened[1]["Format"] = "0";
    EXPECT_EQ(opened[0], opened[1]);
    std::map<std::string, std::string>& f = opened[0];
    EXPECT_EQ(f.size(), 116u);
    const std::map<std::string, std::string> texts = {
        {"MainText", "400638133393"},
        {"AddOnText", "12"},
        {"AdditionalText", "Lot 26, CR-LF"},
        {"FontName4AdditionalText", "Courier"},
        {"BarsTextColorName", "Reflex"},
        {"SerialStart", "0007"},
        {"SerialStop", "0099"},
        {"Company", "ACME & Co"},
        {"Date", "2026-12-09"},
        {"Comments", name},
        {"Family", "6"},
        {"Variation", "26"},
        {"Derived", "1"},
        {"Rotation", "90"},
        {"ElephantSound", "1"},
        {"FileName", "3"},
        {"UnitOfMeasure", "2"},
        {"Prufmark", "2"},
        {"GSCalibration", "17"},
        {"PrinterDpi", "1270"},
        {"Size", "11"},
        {"Bold", "1"},
        {"TextAbove", "1"},
        {"QuietZoneIndicators", "1"},
        {"SizeAT", "14"},
        {"SizeListCountAT", "9"},
        {"AlignAT", "0"},
        {"Rotation4AdditionalText", "270"},
        {"redBarsText", "10"},
        {"CMYKyellowSpacesQuietZone", "40"},
        {"Hueproof", "2"},
        {"RGB_Radio", "1"},
        {"SerialIncrement", "3"},
        {"bCropMarks", "1"},
        {"bFilm", "1"},
        {"Film", "2"},
        {"CheckCharacter1", std::to_string(int('1'))},
    };
    for (const auto& [key, value] : texts) EXPECT_EQ(f[key], value) << key;
    const std::map<std::string, double> numbers = {
        {"CurRatio", 2.75}, {"BarHeight", 61.25}, {"BearerBar", 3.5}, {"H", -12.5}, {"V", 3.25}};
    for (const auto& [key, value] : numbers) EXPECT_EQ(std::stod(f[key]), value) << key;
}

TEST(Reopen, ForeignFilesGiveTheMessage) {
    TempFolder dir;
    const std::string good = dir.File("good.wmf");
    ASSERT_EQ(RunTool(MakeArgs(kEan13, "-f wmf", good)).status, 0);
    const std::string bytes = ReadWholeFile(good);
    std::mt19937 random(7);
    std::string noise(9000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::string wrongTag = bytes;
    wrongTag[bytes.size() - kTrailer + 1] = 'X';
    const std::vector<std::pair<std::string, std::string>> files = {
        {"short.wmf", bytes.substr(bytes.size() - kTrailer + 1)},
        {"tag.emf", wrongTag},
        {"noise.WMF", noise},
        {"good.txt", bytes},  // the extension decides
    };
    for (const auto& [file, content] : files) {
        SCOPED_TRACE(file);
        const std::string path = dir.File(file);
        std::ofstream(path, std::ios::binary) << content;
        auto r = RunTool("open " + Quote(path));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Vornel Glyph: Unable to open " + path +
                             ".\nThis format file cannot be opened by this application.\n");
    }
    const std::string upper = dir.File("GOOD.EMF");
    std::ofstream(upper, std::ios::binary) << bytes;
    EXPECT_EQ(RunTool("open " + Quote(upper)).status, 0);
}

// ---- Names and failures ----

TEST(Make, WithoutOutputProposesTheName) {
    TempFolder dir;
    struct Case {
        std::string args;
        std::string name;
    };
    const Case cases[] = {
        {"-v 26 -d 400638133393 -f wmf", "EAN-13.400638133393.WMF"},
        {"-v 72 -d 03600029145 -a 12 -f emf", "UPC A.0360002914512.EMF"},
        {"-v 26 -d 400638133393 --set FileName=0", "Untitled-0001.EPS"},
        {"-v 26 -d 400638133393 --set FileName=3 -f png", "33393.PNG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        auto r = RunTool("make " + c.args + " --no-preview", dir.Path());
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.name + "\n");
        struct stat st {};
        EXPECT_EQ(stat(dir.File(c.name).c_str(), &st), 0);
    }
}

// Saves that fail leave no partial file, no temporary file, and no changed file.
class FailedSave : public ::testing::Test {
protected:
    static std::vector<std::string> Listing(const std::string& folder) {
        return Lines(RunShell("ls -A " + Quote(folder)).out);
    }
    void ExpectRefused(const std::string& path) {
        for (const char* format : {"wmf", "emf", "eps", "png", "svg", "pdf"}) {
            SCOPED_TRACE(format);
            auto r = RunTool(MakeArgs(kEan13, std::string("-f ") + format, path));
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find("Unable to save " + path), std::string::npos) << r.err;
        }
    }
};

TEST_F(FailedSave, FullDevice) { ExpectRefused("/dev/full"); }

TEST_F(FailedSave, FullFileSystemKeepsTheEarlierFile) {
    TempFolder dir;
    const std::string mnt = dir.File("small");
    mkdir(mnt.c_str(), 0755);
    if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=12k") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string keep = mnt + "/keep";  // no extension: every format may be written to it
    const std::string earlier(6000, 'k');
    std::ofstream(keep, std::ios::binary) << earlier;
    RunShell("dd if=/dev/zero of=" + Quote(mnt + "/filler") + " bs=1k 2>/dev/null");
    ExpectRefused(keep);
    EXPECT_TRUE(ReadWholeFile(keep) == earlier);
    EXPECT_EQ(Listing(mnt), (std::vector<std::string>{"filler", "keep"}));
    umount(mnt.c_str());
}

TEST_F(FailedSave, FolderThatTakesNoFilesKeepsTheEarlierFile) {
    TempFolder dir;
    const std::string keep = dir.File("keep");
    std::ofstream(keep, std::ios::binary) << "earlier";
    // Immutable even for root; skipped where the file system has no such flag.
    if (RunShell("chattr +i " + Quote(dir.Path()) + " 2>/dev/null").status != 0)
        GTEST_SKIP() << "chattr +i is not available";
    ExpectRefused(keep);
    RunShell("chattr -i " + Quote(dir.Path()));
    EXPECT_TRUE(ReadWholeFile(keep) == "earlier");
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"keep"});
}

// The metafile and cairo libraries are opened when first drawn with; where one
// cannot be loaded the file is reported unwritten and an earlier one stays.
TEST_F(FailedSave, DrawingLibraryThatCannotBeLoaded) {
    TempFolder dir;
    const std::string libs = dir.File("libs");
    mkdir(libs.c_str(), 0755);
    std::ofstream(libs + "/libuemf.so.0") << "not a library";
    std::ofstream(libs + "/libcairo.so.2") << "not a library";
    const std::string out = dir.File("out");
    mkdir(out.c_str(), 0755);
    std::ofstream(out + "/keep.wmf") << "earlier";
    for (const char* name : {"keep.wmf", "new.emf", "new.png", "new.svg"}) {
        SCOPED_TRACE(name);
        const std::string path = out + "/" + name;
        const auto r = RunShell("LD_LIBRARY_PATH=" + Quote(libs) + " " + Quote(VGLYPH_EXE) + " " +
                                MakeArgs(kEan13, "", path) + " 2>&1");
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.out.find("Unable to save " + path), std::string::npos) << r.out;
    }
    EXPECT_TRUE(ReadWholeFile(out + "/keep.wmf") == "earlier");
    EXPECT_EQ(Listing(out), std::vector<std::string>{"keep.wmf"});
}

TEST(Make, ReplacesAnEarlierFileAndKeepsItsMode) {
    TempFolder dir;
    const std::string out = dir.File("x.wmf");
    std::ofstream(out) << "old";
    chmod(out.c_str(), 0640);
    ASSERT_EQ(RunTool(MakeArgs(kEan13, "-f wmf", out)).status, 0);
    struct stat st {};
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_GT(st.st_size, 3000);
    EXPECT_EQ(Lines(RunShell("ls -A " + Quote(dir.Path())).out), std::vector<std::string>{"x.wmf"});
}

}  // namespace

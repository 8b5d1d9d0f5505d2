// Written files proven in process: every variation with a reader scans for its
// sample datum, and broken drawings, broken EPS files and vanished bars do not.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "entry/symbolinput.h"
#include "model/catalogue.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"
#include "output/generate.h"
#include "output/reopen.h"
#include "proof/proof.h"
#include "symbology/symbol.h"
#include "scantools.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder() {
        char pattern[] = "/tmp/vglyph-proof-test-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

struct Sample {
    DataTexts data;
    std::vector<std::string> settings;
};

Sample Main(const char* main) { return {DataTexts{main, {}, {}, {}, {}}, {}}; }
Sample Coupon(const char* upc, const char* ucc) { return {DataTexts{{}, {}, {}, upc, ucc}, {}}; }

// A sample datum of every variation drawn with bars.
const std::map<int, Sample>& Samples() {
    static const std::map<int, Sample> samples = [] {
        std::map<int, Sample> m;
        m[1] = {DataTexts{"0123456789$:/.+", {}, {}, {}, {}}, {"StartCharacter=0", "StopCharacter=1"}};
        for (int v : {2, 3, 4, 115}) m[v] = Main("1234567890123");
        m[5] = {DataTexts{"37859", {}, {}, {}, {}}, {"StartCharacter=0", "StopCharacter=1"}};
        m[6] = Main("Ab12345xyz");
        m[7] = Main("+A123BJC5D6E71/$$52001510X3");
        m[8] = Main("+A99912345");
        m[9] = Main("+$$52001510X3");
        m[10] = Main("123456");
        m[11] = m[12] = Main("CODE39");
        m[13] = Main("ABC1234567");
        m[14] = Main("DPS123");
        m[15] = Main("+A%V");
        m[16] = Main("+Ab12");
        m[17] = Main("+A99912345/$$520015X3");
        m[18] = Main("+A99912345");
        m[19] = Main("+$$520015X3");
        m[20] = Main("LOG123");
        m[21] = m[22] = m[23] = Main("1234562");
        m[76] = Main("12345");
        m[103] = m[104] = Main("Ab+1");
        m[24] = Main("TEST93");
        m[25] = Main("Code93!");
        m[26] = Main("400638133393");
        m[27] = Main("9638507");
        m[28] = Main("490123456789");
        m[29] = Main("4901234");
        for (int v : {30, 31, 32, 33}) m[v] = Sample{};
        for (int v : {35, 105, 134, 135, 145}) m[v] = Main("030640615");
        for (int v : {36, 106, 136, 146}) m[v] = Main("123456789");
        for (int v : {38, 111, 138, 141}) m[v] = Main("0317847");
        for (int v : {77, 78, 79, 80, 107, 108, 109, 110}) m[v] = Main("023067118");
        m[39] = Main("1234567890");
        m[40] = Main("1234567");
        m[41] = m[42] = Main("1001234500001");
        m[43] = Main("12345");
        m[44] = Main("1234567890123");
        m[45] = Main("123456789012345");
        m[98] = Main("12345678");
        m[99] = Main("1234567");
        m[100] = Main("123456789");
        for (int v : {46, 47, 48}) m[v] = Main("123456");
        for (int v : {49, 50, 97}) m[v] = Main("1234");
        for (int v : {51, 52}) m[v] = Main("12345");
        for (int v : {53, 54}) m[v] = Main("123456789");
        for (int v : {55, 56}) m[v] = Main("12345678901");
        m[60] = Main("(10)ABC(17)991231");
        m[61] = Coupon("51234567890", "(8100)123456");
        m[62] = Coupon("51234567890", "(8101)1234567890");
        m[63] = Coupon("51234567890", "(8100)123456(21)12345678");
        m[64] = Coupon("51234567890", "(8101)1234567890(21)12345678");
        m[65] = Coupon("51234567890", "(8102)12");
        m[66] = Main("(01)12345678901231(240)XYZ");
        m[67] = Main("(01)1234567890123");
        m[68] = Main("(22)123101AB");
        m[69] = Main("(420)12345");
        m[70] = Main("(421)840123");
        m[71] = Main("(00)12345678901234567");
        m[72] = Main("03600029145");
        m[73] = Main("31234567890");
        m[74] = m[101] = Main("425261");
        m[75] = Main("04210000526");
        m[102] = Main("14210000526");
        m[114] = Main("036000291452");
        m[81] = Coupon("991234567890", "(8100)123456");
        m[82] = Coupon("991234567890", "(8101)1234567890");
        m[83] = Coupon("991234567890", "(8100)123456(21)12345678");
        m[84] = Coupon("991234567890", "(8101)1234567890(21)12345678");
        m[85] = Coupon("991234567890", "(8102)12");
        m[88] = Main("=G12349865432100");
        m[89] = Main("=%5100");
        m[90] = Main("&*0123456789");
        m[91] = Main("=*012345");
        m[92] = Main("=>012345");
        m[93] = Main("&>0123456789");
        m[94] = Main("=)ABCDE12345");
        m[95] = Main("=<E0001V00");
        m[96] = Main("&(N0001");
        for (int v = 116; v <= 123; ++v) m[v] = Main("123456");
        m[124] = Main("(8018)12345678901234567");
        for (int v = 125; v <= 130; ++v) m[v] = Main(("(" + std::to_string(v + 285) + ")123456789012").c_str());
        m[131] = Main("(8003)12345678901231(10)12");
        m[132] = Main("(8004)1234ABC");
        return m;
    }();
    return samples;
}

GenerationRequest RequestFor(int variation, const Sample& sample, int format, int rotation, const std::string& path) {
    GenerationRequest r;
    r.variation = std::to_string(variation);
    r.data = sample.data;
    r.overrides = sample.settings;
    r.overrides.push_back("Rotation=" + std::to_string(rotation));
    r.format = format;
    r.withPreview = false;
    r.path = path;
    return r;
}

// "" when the file scans (or has no reader when none is expected).
std::string ProveOne(int variation, const Sample& sample, int format, int rotation, const std::string& path) {
    const GenerationResult written = Generate(RequestFor(variation, sample, format, rotation, path));
    if (written.status != GenerationStatus::Written) return "not written: " + written.message;
    if (format != 1) {
        // A metafile is proven from the settings its trailer holds.
        std::string reason;
        if (!OpenSavedGraphic(path, nullptr, &reason) || !FeedData(DataTexts{}, &reason))
            return "not reopened: " + reason;
    }
    const FileProof proof = ProveWrittenFile(path);
    if (proof.verdict == ProofVerdict::Scans && format == 1 && !proof.file) return "EPS file not read";
    return proof.verdict == ProofVerdict::DoesNotScan ? DescribeProof(proof) : "";
}

bool HasReader(int variation, const Sample& sample) {
    if (PrepareSymbol(RequestFor(variation, sample, 1, 0, "/dev/null")).status != GenerationStatus::Written)
        return false;
    return !ExpectationOf(SymbolSettings, EncodedText).symbols.empty();
}

// Every rotation in EPS (drawing and file through Ghostscript); WMF and EMF
// at 0 degrees, where the drawing is the same sequence as in EPS.
TEST(Proof, EveryVariationWithAReaderScans) {
    Folder dir;
    ASSERT_FALSE(dir.path.empty());
    int proven = 0;
    for (const VariationInfo& v : Catalogue()) {
        const auto sample = Samples().find(v.code);
        if (sample == Samples().end()) {
            const GenerationResult r = PrepareSymbol(RequestFor(v.code, Sample{}, 1, 0, "/dev/null"));
            EXPECT_TRUE(r.status != GenerationStatus::Written || BarPattern.empty())
                << v.code << " " << v.name << " draws bars but has no sample";
            continue;
        }
        if (!HasReader(v.code, sample->second)) continue;
        ++proven;
        const std::string base = dir.path + "/v" + std::to_string(v.code);
        for (int rotation : {0, 90, 180, 270})
            EXPECT_EQ(ProveOne(v.code, sample->second, 1, rotation, base + "-" + std::to_string(rotation) + ".eps"), "")
                << v.code << " " << v.name << " EPS at " << rotation;
        EXPECT_EQ(ProveOne(v.code, sample->second, 0, 0, base + ".wmf"), "") << v.code << " " << v.name << " WMF";
        EXPECT_EQ(ProveOne(v.code, sample->second, 2, 0, base + ".emf"), "") << v.code << " " << v.name << " EMF";
    }
    EXPECT_GE(proven, 100);
}

TEST(Proof, VariationsWithoutAReaderAreNeverPassed) {
    Folder dir;
    for (int v : {10, 30, 46, 49, 51, 97, 116, 118}) {
        const std::string path = dir.path + "/n" + std::to_string(v) + ".eps";
        ASSERT_EQ(Generate(RequestFor(v, Samples().at(v), 1, 0, path)).status, GenerationStatus::Written) << v;
        const FileProof proof = ProveWrittenFile(path);
        EXPECT_EQ(proof.verdict, ProofVerdict::NoReader) << v;
        EXPECT_EQ(DescribeProof(proof).rfind("no reader", 0), 0u) << DescribeProof(proof);
    }
}

// Drops one polygon of the drawing: a bar in the middle of the symbol.
class DroppingRaster : public RasterDC {
public:
    DroppingRaster(int ppi, int drop) : RasterDC(ppi, ppi), m_drop(drop) {}
    void Polygon(const Point* points, int count) override {
        if (m_count++ != m_drop) RasterDC::Polygon(points, count);
    }

private:
    int m_drop;
    int m_count = 0;
};

TEST(Proof, FaultsDoNotScan) {
    Folder dir;
    const std::string eps = dir.path + "/ean.eps";
    ASSERT_EQ(Generate(RequestFor(26, Samples().at(26), 1, 0, eps)).status, GenerationStatus::Written);
    const ProofJob good = CaptureProof();
    ASSERT_EQ(ProveDrawing(good).verdict, ProofVerdict::Scans);
    EXPECT_TRUE(ProveDrawing(good).widths.measured);

    // One bar missing from the drawing.
    const ProofJob broken = CaptureProof([](int ppi) { return std::make_unique<DroppingRaster>(ppi, 12); });
    const ProofResult dropped = ProveDrawing(broken);
    EXPECT_EQ(dropped.verdict, ProofVerdict::DoesNotScan);
    EXPECT_FALSE(dropped.widths.measured);

    // The EPS file's 2-module bar procedure draws a thin bar; the drawing is fine.
    std::string text;
    {
        std::ifstream in(eps, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        text = ss.str();
    }
    const std::size_t at = text.find("/B2 {/bw ");
    ASSERT_NE(at, std::string::npos);
    const std::size_t from = at + 9, to = text.find(' ', from);
    text.replace(from, to - from, "0.1" + std::string(to - from - 3, '0'));
    const std::string corrupted = dir.path + "/corrupted.eps";
    std::ofstream(corrupted, std::ios::binary) << text;
    EXPECT_EQ(ProveEpsFile(good, eps).verdict, ProofVerdict::Scans);
    EXPECT_EQ(ProveEpsFile(good, corrupted).verdict, ProofVerdict::DoesNotScan);

    // A file that Ghostscript cannot run at all, then a good one again.
    const std::string garbage = dir.path + "/garbage.eps";
    std::ofstream(garbage, std::ios::binary) << "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n1 0 div\n";
    const ProofResult failed = ProveEpsFile(good, garbage);
    EXPECT_EQ(failed.verdict, ProofVerdict::DoesNotScan);
    EXPECT_NE(failed.reason.find("Ghostscript"), std::string::npos) << failed.reason;
    EXPECT_EQ(ProveEpsFile(good, eps).verdict, ProofVerdict::Scans);

    // A bar width reduction wider than the bars: they vanish in every target.
    GenerationRequest thin = RequestFor(26, Samples().at(26), 1, 0, dir.path + "/thin.eps");
    thin.overrides.push_back("BarWidthReduction=30");
    ASSERT_EQ(Generate(thin).status, GenerationStatus::Written);
    const FileProof vanished = ProveWrittenFile(thin.path);
    EXPECT_EQ(vanished.verdict, ProofVerdict::DoesNotScan) << DescribeProof(vanished);
}

// A module of six dots at 600 dpi is measured dot for dot: the worst
// deviation is the reduction, at every rotation.
TEST(Proof, WidthsShowTheBarWidthReduction) {
    Folder dir;
    for (int reduction : {0, 1, 2, 3})
        for (int rotation : {0, 90, 180, 270}) {
            GenerationRequest r = RequestFor(6, Samples().at(6), 1, rotation, dir.path + "/w.eps");
            r.overrides.push_back("PrinterDpi=600");
            r.overrides.push_back("BarWidthReduction=" + std::to_string(reduction));
            ASSERT_EQ(Generate(r).status, GenerationStatus::Written);
            const FileProof proof = ProveWrittenFile(r.path);
            EXPECT_EQ(proof.verdict, ProofVerdict::Scans) << DescribeProof(proof);
            ASSERT_TRUE(proof.drawing.widths.measured) << reduction << " at " << rotation;
            EXPECT_NEAR(proof.drawing.widths.dots, reduction, 1.0) << reduction << " at " << rotation;
            EXPECT_NEAR(proof.drawing.widths.modules, reduction / 6.0, 0.17) << reduction << " at " << rotation;
        }
}

TEST(Proof, CaptureLeavesTheRecordAsItWas) {
    ASSERT_EQ(PrepareSymbol(RequestFor(117, Samples().at(117), 1, 90, "/dev/null")).status, GenerationStatus::Written);
    ProgrammaticInput = 1;
    auto fields = [] {
        std::string all;
        for (const SettingsField& f : SettingsFields()) all += FieldValueText(SymbolSettings, f, 17) + "\n";
        return all;
    };
    const std::string before = fields();
    const std::string pattern = BarPattern, encoded = EncodedText;
    CaptureProof();
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(BarPattern, pattern);
    EXPECT_EQ(EncodedText, encoded);
}

// Every variation's sample datum exported to PDF, SVG and PNG at 0 and 90
// degrees, checked and decoded by other programs: qpdf and pdffonts, xmllint,
// the PNG's own chunks, and ZXingReader or zbarimg on the images (the PDF
// files drawn by Ghostscript, the SVG files by rsvg-convert).
TEST(Proof, EveryVariationsExportsPassOtherProgramsChecks) {
    VG_REQUIRE_TOOLS("qpdf", "pdffonts", "xmllint", "gs", "rsvg-convert", "ZXingReader", "zbarimg");
    Folder dir;
    std::vector<std::string> pdfs, svgs, pngs;
    std::map<std::string, std::string> images;  // image read -> file exported
    std::set<std::string> needsRead;            // files whose symbols a reader knows
    for (const VariationInfo& v : Catalogue()) {
        const auto sample = Samples().find(v.code);
        if (sample == Samples().end() ||
            PrepareSymbol(RequestFor(v.code, sample->second, 1, 0, "/dev/null")).status != GenerationStatus::Written)
            continue;
        const bool readable = HasReader(v.code, sample->second);
        for (int rotation : {0, 90})
            for (const char* ext : {"pdf", "svg", "png"}) {
                const std::string path =
                    dir.path + "/v" + std::to_string(v.code) + "-" + std::to_string(rotation) + "." + ext;
                GenerationRequest r = RequestFor(v.code, sample->second, 1, rotation, path);
                r.format.reset();
                r.dpi = 300;
                ASSERT_EQ(Generate(r).status, GenerationStatus::Written) << path;
                (ext[1] == 'd' ? pdfs : ext[1] == 'v' ? svgs : pngs).push_back(path);
                if (readable) needsRead.insert(path);
            }
    }
    ASSERT_GE(pdfs.size(), 200u);
    auto run = [&](const std::string& command) {
        return vg::test::RunShell("cd " + vg::test::Quote(dir.path) + " && " + command + " 2>&1");
    };
    // One shell for every PDF: "@@ name", qpdf's report, "@@rc status", pdffonts' table.
    const auto pdfReport =
        run("for f in *.pdf; do echo \"@@ $f\"; qpdf --check \"$f\" 2>&1; echo \"@@rc $?\"; "
            "pdffonts \"$f\" 2>&1; done");
    std::string current;
    int checkedPdfs = 0;
    bool inFonts = false;
    for (const std::string& line : vg::test::Lines(pdfReport.out)) {
        if (line.rfind("@@rc ", 0) == 0) {
            EXPECT_EQ(line, "@@rc 0") << current;
            inFonts = true;
        } else if (line.rfind("@@ ", 0) == 0) {
            current = line.substr(3);
            ++checkedPdfs;
            inFonts = false;
        } else if (!inFonts) {
            EXPECT_EQ(line.find("WARNING"), std::string::npos) << current << ": " << line;
        } else if (line.rfind("name ", 0) != 0 && line.rfind("----", 0) != 0) {
            // ... emb sub uni object generation
            std::istringstream row(line);
            const std::vector<std::string> columns{std::istream_iterator<std::string>(row), {}};
            EXPECT_TRUE(columns.size() >= 6 && columns[columns.size() - 5] == "yes") << current << ": " << line;
        }
    }
    EXPECT_EQ(checkedPdfs, static_cast<int>(pdfs.size()));
    const auto lint = run("xmllint --noout *.svg");
    EXPECT_EQ(lint.status, 0) << lint.out;
    for (const std::string& png : pngs) {
        std::ifstream in(png, std::ios::binary);
        std::string head(64, '\0');
        in.read(head.data(), 64);
        // Colour type 0 (grey) or 2 (RGB): no alpha; pHYs in metres right after IHDR.
        EXPECT_TRUE(head[25] == 0 || head[25] == 2) << png << " colour type " << int(head[25]);
        EXPECT_EQ(head.substr(37, 4), "pHYs") << png;
        EXPECT_EQ(head[49], 1) << png;
        images[fs::path(png).filename().string()] = png;
    }
    // The PDF pages in the order of the files' names; the SVG files beside them.
    std::vector<std::string> sortedPdfs;
    for (const std::string& pdf : pdfs) sortedPdfs.push_back(fs::path(pdf).filename().string());
    std::sort(sortedPdfs.begin(), sortedPdfs.end());
    ASSERT_EQ(run("gs -q -dSAFER -dNOPAUSE -dBATCH -r300 -sDEVICE=pnggray -sOutputFile=pdf-%04d.png *.pdf").status, 0);
    for (std::size_t i = 0; i < sortedPdfs.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "pdf-%04zu.png", i + 1);
        images[name] = dir.path + "/" + sortedPdfs[i];
    }
    EXPECT_EQ(run("ls *.svg | xargs -P2 -I{} rsvg-convert -d 300 -p 300 -b white -o {}.png {}").status, 0);
    for (const std::string& svg : svgs) images[fs::path(svg).filename().string() + ".png"] = svg;
    // Two readers at a time, each writing its own list.
    run("ls *.png | xargs -P2 -n 150 sh -c 'ZXingReader -1 -noscale \"$@\" > zx-$$.txt 2>&1' sh");
    std::set<std::string> read;
    for (const std::string& line : vg::test::Lines(run("cat zx-*.txt").out)) {
        const std::string name = line.substr(0, line.find(' '));
        if (images.count(name) && line.find('"') != std::string::npos) read.insert(images[name]);
    }
    for (const auto& [name, file] : images)
        if (needsRead.count(file) && !read.count(file) && run("zbarimg -q " + vg::test::Quote(name)).status == 0)
            read.insert(file);
    for (const std::string& file : needsRead) EXPECT_TRUE(read.count(file)) << file << " was not decoded";
}

}  // namespace
}  // namespace vg

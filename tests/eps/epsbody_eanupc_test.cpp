#include "eps/epsbody_internal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "epstestfiles.h"
#include "model/symbolsettings.h"
#include "device/recordingdc.h"
#include "scantools.h"
#include "render/drawsymbol.h"
#include "symbology/encode.h"

namespace vg {
namespace {

using test::ScratchDir;

constexpr const char* kOcrB = "OCRB Vornel Glyph";
constexpr double kPointsPerUnit = 0.072;  // output units are 1/1000 inch

struct Case {
    const char* name;
    int family, variation;
    const char* data;
    const char* addOn;
    int textAbove;
    double size;
    int align;
    const char* font;
    const char* scanned;  // the number the symbol carries
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// TextAbove, the one-line form under a large Size, and the NDC mark.
const Case kCases[] = {
    {"Ean13Above", 6, 26, "400638133393", "", 1, 9, 0, kOcrB, "4006381333931"},
    {"Ean13AboveArial", 6, 26, "400638133393", "", 1, 9, 1, "Arial", "4006381333931"},
    {"Ean13AboveAddOn", 6, 26, "400638133393", "12", 1, 9, 0, kOcrB, "4006381333931"},
    {"Ean13Wide", 6, 26, "400638133393", "", 0, 20, 0, kOcrB, "4006381333931"},
    {"Ean13WideArial", 6, 26, "400638133393", "", 0, 24, 1, "Arial", "4006381333931"},
    {"UpcAAbove", 16, 72, "03600029145", "", 1, 9, 0, kOcrB, "036000291452"},
    {"UpcAWideAddOn", 16, 72, "03600029145", "51234", 0, 20, 0, kOcrB, "036000291452"},
    {"Ndc", 16, 73, "31234567890", "", 0, 9, 0, kOcrB, "312345678906"},
    {"NdcAbove", 16, 73, "31234567890", "", 1, 9, 0, kOcrB, "312345678906"},
    {"Ean8Above", 6, 27, "9638507", "", 1, 9, 2, kOcrB, "96385074"},
    {"Ean8Wide", 6, 27, "9638507", "", 0, 20, 1, kOcrB, "96385074"},
    {"Ean8WideRight", 6, 27, "9638507", "", 0, 20, 2, kOcrB, "96385074"},
};

void Symbol(const Case& c) {
    test::FactorySymbol(c.family, c.variation, c.data, c.addOn);
    SettingsRecord& s = SymbolSettings;
    s.TextAbove = c.textAbove;
    s.Size = static_cast<int>(c.size);
    s.Align = c.align;
    s.FontName4humanreadable = c.font;
    ASSERT_EQ(EncodeCurrentVariation(), 1) << c.name;
}

// A character where the device context drew it: points from the first bar
// (x) and from the bar tops (y, upward); the text's top edge.
struct Placed {
    char c;
    double x;  // left end, or centre when centred
    double top;
    double height;  // cell height
    bool centred;
};

struct Drawing {
    std::vector<Placed> chars;
    double addOnStart = 0;  // first bar of the add-on, from the first bar
};

Drawing DrawOnContext() {
    RecordingDC dc(1000, 1000);
    Drawing d;
    EXPECT_TRUE(DrawSymbol(dc, ClipRect{}, 1, 0, nullptr));
    std::vector<RecordedPolygon> bars = dc.PolygonsIn(Rgb{0, 0, 0});
    if (bars.empty()) return d;
    auto left = [](const RecordedPolygon& p) {
        int x = p.points[0].x;
        for (const Point& q : p.points) x = std::min(x, q.x);
        return x;
    };
    int barLeft = left(bars[0]), barTop = bars[0].points[0].y;
    for (const Point& q : bars[0].points) barTop = std::min(barTop, q.y);
    // The add-on starts after the widest gap between two bars.
    int widest = 0;
    for (std::size_t i = 1; i < bars.size(); ++i) {
        const int gap = left(bars[i]) - left(bars[i - 1]);
        if (gap > widest && gap > 100) {
            widest = gap;
            d.addOnStart = (left(bars[i]) - barLeft) * kPointsPerUnit;
        }
    }
    for (const RecordedText& t : dc.Texts())
        for (std::size_t i = 0; i < t.text.size(); ++i)
            d.chars.push_back({t.text[i], (t.at.x - barLeft) * kPointsPerUnit, (barTop - t.at.y) * kPointsPerUnit,
                               t.font.height * kPointsPerUnit, t.align == kAlignCentreTop});
    return d;
}

// The EPS characters: left end and baseline in body points, absolute.
struct EpsChar {
    char c;
    double left, baseline, size;
    bool line;  // part of the one-line text
};

std::vector<EpsChar> EpsChars(const EpsBodyLayout& l) {
    std::vector<EpsChar> all;
    for (std::size_t k = 0; k + (l.additionalText ? 1 : 0) < l.texts.size(); ++k) {
        const BodyText& t = l.texts[k];
        const double pitch = t.outlined ? t.advance : t.cellPitch;
        for (std::size_t i = 0; i < t.text.size(); ++i)
            all.push_back({t.text[i], t.x + static_cast<double>(i) * pitch, t.y, t.size, true});
    }
    for (const BodyChar& c : l.digits) all.push_back({c.c, c.x, c.y, c.size, false});
    return all;
}

FontMeasure Measure(const EpsChar& e) {
    const SettingsRecord& s = SymbolSettings;
    return TextMetrics(s.FontName4humanreadable, e.size, FontStyle(s.Bold, s.Italic), std::string(1, e.c));
}

std::string BodyOf(const EpsBodyLayout& l) {
    return test::WrittenBytes([&](EpsOutput& out) { WriteSymbolBody(out, l); });
}

TEST(EpsEanText, FitNumberAndLines) {
    struct Row {
        int family, variation;
        const char* data;
        const char* addOn;
        int hideCheck, hideAddOn;
        const char* fit;
        const char* line;
        const char* lineWithAddOn;
    } rows[] = {
        {6, 26, "400638133393", "12", 0, 0, "400638133393", "4006381333931", "400638133393112"},
        {6, 26, "400638133393", "12", 1, 0, "400638133393", "400638133393", "40063813339312"},
        {6, 26, "400638133393", "12", 0, 1, "400638133393", "4006381333931", "4006381333931"},
        {16, 75, "04210000526", "", 0, 0, "425261", "4252614", "4252614"},
        // A standard number measures and shows all thirteen digits, the check always.
        {8, 35, "030640615", "", 1, 0, "9780306406157", "9780306406157", "9780306406157"},
    };
    for (const Row& r : rows) {
        Case c{"", r.family, r.variation, r.data, r.addOn, 0, 9, 0, kOcrB, ""};
        Symbol(c);
        SymbolSettings.HideCheckDigits = r.hideCheck;
        SymbolSettings.HideAddonText = r.hideAddOn;
        EXPECT_EQ(EanUpcFitNumber(r.variation), r.fit) << r.variation;
        EXPECT_EQ(EanUpcOneLine(r.variation, false), r.line) << r.variation;
        EXPECT_EQ(EanUpcOneLine(r.variation, true), r.lineWithAddOn) << r.variation;
    }
}

// Characters over the add-on: the first right after its start, the last ending
// with the pattern.
TEST(EpsEanText, SecondPartOffsets) {
    const std::string main = "B1S1B1";
    // Add-on start B1S1B2, digit S1B1S2B3 (7 modules), delineator S1B1, digit S3B2S1B1.
    const std::string pattern = main + "++B1S1B2S1B1S2B3S1B1S3B2S1B1";
    const std::vector<double> at = SecondPartCharOffsets(pattern, 2, 2.0, 26);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_DOUBLE_EQ(at[0], 4);
    EXPECT_DOUBLE_EQ(at[1], 4 + 14.0 / 2);  // 5 + 2 + 7 modules after the first two elements
    EXPECT_TRUE(SecondPartCharOffsets(main, 2, 2.0, 26).empty());
    EXPECT_TRUE(SecondPartCharOffsets(pattern, 0, 2.0, 26).empty());
}

// Guard bars reach below the data bars only over digits in their places; the
// add-on bars make room for digits over them only then.
TEST(EpsEanText, GuardsAndAddOnBars) {
    struct Row {
        const char* name;
        int textAbove;
        double size;
        bool guards;
        bool addOnLowered;
    } rows[] = {
        {"digits in place", 0, 9, true, true},
        {"text above", 1, 9, false, false},
        {"does not fit", 0, 20, false, false},
        {"does not fit, above", 1, 20, false, false},
    };
    for (const Row& r : rows) {
        Symbol({"", 6, 26, "400638133393", "12", r.textAbove, r.size, 0, kOcrB, ""});
        const EpsBodyLayout l = ComputeEpsLayout("");
        EXPECT_NEAR(l.dataStart - l.start, r.guards ? 5.76 : 0, 1e-9) << r.name;
        ASSERT_EQ(l.separator, "ta") << r.name;
        EXPECT_EQ(l.sepTop < l.h - 1, r.addOnLowered) << r.name;
        SymbolSettings.AddonTextDown = 1;
        const EpsBodyLayout down = ComputeEpsLayout("");
        ASSERT_EQ(down.separator, "at") << r.name;
        EXPECT_NEAR(down.sepStart, down.dataStart, 1e-9) << r.name;
    }
}

// Beside the add-on's own digits the line keeps to the main symbol; a line
// that carries them spans the whole pattern.
TEST(EpsEanText, LineAlignsOverWhatItCarries) {
    for (double size : {9.0, 20.0}) {
        Symbol({"", 6, 26, "400638133393", "51234", 1, size, 2, kOcrB, ""});
        const EpsBodyLayout l = ComputeEpsLayout("");
        ASSERT_FALSE(l.texts.empty());
        const BodyText& line = l.texts.front();
        const double end = line.x + static_cast<double>(line.text.size()) * line.advance - l.total;
        EXPECT_NEAR(end, size < 10 ? l.mainWidth : l.patternWidth, 1e-9) << size;
        for (const BodyChar& c : l.digits) EXPECT_GE(c.x - l.total, end) << size;
    }
}

// A line wider than the bars widens the quiet zones by Align; the band under
// the bars holds the line.
TEST(EpsEanText, QuietZonesGrowByAlign) {
    for (int align : {0, 1, 2}) {
        Symbol({"", 6, 27, "9638507", "", 0, 20, align, kOcrB, ""});
        const EpsBodyLayout l = ComputeEpsLayout("");
        const FontMeasure fm = TextMetrics(kOcrB, 20, 0, "0");
        const double excess = 8 * fm.maxWidth - l.patternWidth;
        ASSERT_GT(excess, 0);
        const double left = l.total - l.symLeft, right = l.symRight - l.total - l.patternWidth;
        const double share[3][2] = {{0, 1}, {0.5, 0.5}, {1, 0}};
        EXPECT_NEAR(left, 9 * l.X0 + share[align][0] * excess, 1e-9) << align;
        EXPECT_NEAR(right, 9 * l.X0 + share[align][1] * excess, 1e-9) << align;
        EXPECT_NEAR(l.start - l.symBottom, l.X0 + fm.height + SymbolSettings.DistanceToBars, 1e-9) << align;
        EXPECT_TRUE(l.digits.empty());
    }
}

// The NDC mark is written as the outline glyphs of 3 and N, or in the text form.
TEST(EpsEanText, NdcMarkGlyphsOrText) {
    Symbol({"", 16, 73, "31234567890", "", 0, 9, 0, kOcrB, ""});
    std::string body = BodyOf(ComputeEpsLayout(""));
    EXPECT_NE(body.find(" _bN "), std::string::npos) << body;
    EXPECT_NE(body.find(" _san "), std::string::npos) << body;
    SymbolSettings.FontName4humanreadable = "Arial";
    body = BodyOf(ComputeEpsLayout(""));
    EXPECT_NE(body.find("(N) show"), std::string::npos) << body;
    EXPECT_EQ(body.find("_bN"), std::string::npos);
    // UPC-A General has no mark.
    Symbol({"", 16, 72, "03600029145", "", 0, 9, 0, kOcrB, ""});
    EXPECT_EQ(BodyOf(ComputeEpsLayout("")).find("_bN"), std::string::npos);
}

class EpsEanTextCase : public ::testing::TestWithParam<Case> {};

// The texts stand where the device context draws them, within a point: the
// line by its Align end, centred characters by their centre, characters over
// the add-on from its first bar; vertically by the edge that faces the bars.
TEST_P(EpsEanTextCase, LandsWhereTheContextDrawsIt) {
    const Case& c = GetParam();
    Symbol(c);
    const Drawing dc = DrawOnContext();
    const EpsBodyLayout l = ComputeEpsLayout("");
    const SettingsRecord& s = SymbolSettings;
    const std::vector<EpsChar> eps = EpsChars(l);
    ASSERT_FALSE(dc.chars.empty());
    const bool above = c.textAbove != 0;
    const bool oneLine = EanUpcDoesNotFit(c.variation, c.font, c.size, 0, l.X0);
    // Facing edge: the foot of a text above the bars, the top of one below or beside them.
    auto dcEdge = [&](const Placed& p) { return above ? p.top - p.height : p.top; };
    auto epsEdge = [&](const EpsChar& e) {
        const FontMeasure m = Measure(e);
        return (above ? e.baseline - m.descent : e.baseline + m.ascent) - l.h;
    };
    std::vector<Placed> dcRest;
    std::vector<EpsChar> epsRest;
    if (above || oneLine) {
        const std::string text = EanUpcOneLine(c.variation, oneLine);
        const std::size_t n = text.size();
        ASSERT_GE(dc.chars.size(), n);
        std::vector<EpsChar> line;
        for (const EpsChar& e : eps) (e.line ? line : epsRest).push_back(e);
        ASSERT_EQ(line.size(), n);
        const double dcPitch = dc.chars[1].x - dc.chars[0].x, epsPitch = line[1].left - line[0].left;
        EXPECT_NEAR(epsPitch, TextMetrics(c.font, c.size, 0).maxWidth, 1e-9);
        auto end = [&](double first, double pitch) {
            return first + (s.Align == 1 ? n * pitch / 2 : s.Align == 2 ? n * pitch : 0);
        };
        EXPECT_NEAR(end(line[0].left - l.total, epsPitch), end(dc.chars[0].x, dcPitch), 1) << "line x";
        EXPECT_NEAR(epsEdge(line[0]), dcEdge(dc.chars[0]), 1) << "line y";
        for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(line[i].c, text[i]);
        dcRest.assign(dc.chars.begin() + static_cast<std::ptrdiff_t>(n), dc.chars.end());
    } else {
        // Digits in their places follow their own rules; here only the NDC mark.
        for (const Placed& p : dc.chars)
            if (p.c == 'N' || (p.c == '3' && p.centred && p.x < 0)) dcRest.push_back(p);
        for (const EpsChar& e : eps)
            if ((e.c == 'N' || e.c == '3') && e.left < l.total) epsRest.push_back(e);
        ASSERT_EQ(dcRest.size(), c.variation == 73 ? 2u : 0u);
    }
    std::stable_sort(dcRest.begin(), dcRest.end(), [](const Placed& a, const Placed& b) { return a.x < b.x; });
    std::stable_sort(epsRest.begin(), epsRest.end(),
                     [](const EpsChar& a, const EpsChar& b) { return a.left < b.left; });
    ASSERT_EQ(epsRest.size(), dcRest.size());
    const double epsAddOn = l.mainWidth + l.addOnGap;
    for (std::size_t i = 0; i < dcRest.size(); ++i) {
        const Placed& p = dcRest[i];
        const EpsChar& e = epsRest[i];
        EXPECT_EQ(e.c, p.c);
        if (p.centred)
            EXPECT_NEAR(e.left + Measure(e).width / 2.0 - l.total, p.x, 1) << p.c;
        else
            EXPECT_NEAR(e.left - l.total - epsAddOn, p.x - dc.addOnStart, 1) << p.c;
        EXPECT_NEAR(epsEdge(e), dcEdge(p), 1) << p.c;
    }
    // Everything inside the symbol, on its side of the bars.
    for (const EpsChar& e : eps) {
        const FontMeasure m = Measure(e);
        EXPECT_GE(e.left, l.symLeft - 1e-9) << e.c;
        EXPECT_LE(e.left + m.width, l.symRight + 1e-9) << e.c;
        EXPECT_GE(e.baseline - m.descent, l.symBottom - 1e-9) << e.c;
        EXPECT_LE(e.baseline + m.ascent, l.symTop + 1e-9) << e.c;
        if (above) {
            EXPECT_GE(e.baseline - m.descent, l.h) << e.c;
        } else if (oneLine) {
            EXPECT_LE(e.baseline + m.ascent, l.start) << e.c;
        }
    }
}

// Written, rendered and read back by both decoders. VGL_KEEP_PNG names a
// folder that keeps the pictures.
TEST_P(EpsEanTextCase, RendersAndScans) {
    VG_REQUIRE_SCAN_TOOLS();
    const Case& c = GetParam();
    Symbol(c);
    ScratchDir dir;
    const std::string eps = dir.File("f.eps"), png = dir.File("out.png");
    ASSERT_TRUE(WriteCurrentSymbolEps(eps, false, false, "f.eps"));
    const std::string gs = test::RenderEps(eps, png, 300).out;
    ASSERT_TRUE(gs.empty()) << gs;
    const std::string zx = test::ReadZxing(png, "-noscale").out;
    EXPECT_NE(zx.find(std::string("Text:       \"") + c.scanned), std::string::npos) << zx;
    const std::string zbar = test::ReadZbar(png, "-q -Supca.enable -Sean5.enable -Sean2.enable").out;
    EXPECT_NE(zbar.find(std::string(":") + c.scanned), std::string::npos) << zbar;
    if (const char* keep = std::getenv("VGL_KEEP_PNG"))
        std::system(("cp " + png + " " + keep + "/" + c.name + ".png").c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, EpsEanTextCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vg

#include "eps/epswriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "epstestfiles.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::SplitCrLf;

// A plain spot-colour symbol: black bars on a transparent ground, Arial text.
void PlainSettings() {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    s.Family = 16;
    s.Variation = 72;
    s.Magnification = 100;
    s.BarsTextColorName = "Black";
    s.SpacesQuietZoneColorName = "White";
    s.CMYKblackBarsText = 100;
    s.TransparentBackground = 1;
    s.SpotRadio = 1;
    s.FontName4humanreadable = "Arial";
    s.FontName4ISBN_ISSN_SPCNs = "OCRB Vornel Glyph";
    s.FontName4AdditionalText = "Arial";
    // Values a reopened file gives back as they are.
    s.PrinterDpi = 2400;
    s.CurRatio = 2;
    s.BarHeight = 72;
    s.Size = 12;
    s.SizeAT = 12;
    s.Hueproof = 3;
}

EpsOptions PlainOptions() {
    EpsOptions o;
    o.WithPreview = false;
    o.Title = "Untitled.eps";
    o.Extent = {0, 0, 1500, 1000};  // 108 x 72 points
    return o;
}

struct Written {
    std::string bytes;
    std::vector<std::string> lines;  // PostScript section, settings block removed
    std::vector<std::string> block;  // the settings block lines
};

Written Write(const EpsOptions& options) {
    ScratchDir dir;
    std::string path = dir.File("out.eps");
    Written w;
    std::string reason;
    EXPECT_TRUE(WriteEpsFile(path, options, &reason)) << reason;
    w.bytes = ReadBytes(path);
    if (w.bytes.size() < 30) return w;
    // The block runs from its marker to the empty line after "%_Fine".
    bool inBlock = false, closing = false;
    for (const std::string& line : SplitCrLf(w.bytes.substr(30))) {
        if (line == "%_VornelGlyph Prefs") inBlock = true;
        (inBlock || closing ? w.block : w.lines).push_back(line);
        closing = inBlock && line == "%_Fine";
        if (closing) inBlock = false;
    }
    return w;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

uint32_t U32At(const std::string& b, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

TEST(PostScriptFontName, RowsTriedTopToBottom) {
    struct Case {
        const char* screen;
        int style;
        const char* name;
    } cases[] = {
        {"Times New Roman", 3, "TimesNewRomanPS-BoldItalicMT"},
        {"Times New Roman", 0, "TimesNewRomanPSMT"},
        {"Times", 1, "Times-Bold"},
        {"Helvetica Narrow", 2, "Helvetica-Narrow-Oblique"},
        {"Helvetica", 3, "Helvetica-BoldOblique"},
        {"ITC AvantGarde Gothic", 1, "AvantGarde-Demi"},
        {"Courier New", 0, "Courier"},
        {"Century Gothic", 2, "NewCenturySchlbk-Italic"},
        {"Symbol", 3, "Symbol"},
        {"ZapfHumnst BT", 1, "ZapfDingbats"},
        {"ZapfChancery", 0, "ZapfChancery-MediumItalic"},
        {"Verdana", 0, "Arial"},
        {"OCRB Vornel Glyph", 3, "Arial-BoldItalic"},
        {"", 2, "Arial-Italic"},
        {"times new roman", 0, "Arial"},  // keys are case sensitive
    };
    for (const auto& c : cases) EXPECT_EQ(PostScriptFontName(c.screen, c.style), c.name) << c.screen;
    EXPECT_EQ(FontStyle(1, 1), 3);
    EXPECT_EQ(FontStyle(0, 1), 2);
    EXPECT_EQ(FontStyle(1, 0), 1);
}

TEST(ColourOperator, ThreeModes) {
    PlainSettings();
    SettingsRecord& s = SymbolSettings;
    s.CMYKcyanSpacesQuietZone = 5;
    s.CMYKyellowBarsText = 45;
    EXPECT_EQ(ColourOperator(ColourSide::Bars, false),
              "0.0000 0.0000 0.4500 1.0000 (Black) custar astore 1 dup /custsh X setcustomcolor");
    EXPECT_EQ(ColourOperator(ColourSide::Spaces, false),
              "0.0500 0.0000 0.0000 0.0000 (White) custar astore 1 dup /custsh X setcustomcolor");
    s.ProcessRadio = 1;
    EXPECT_EQ(ColourOperator(ColourSide::Bars, false), "0.0000 0.0000 0.4500 1.0000 setcmykcolor");
    EXPECT_EQ(ColourOperator(ColourSide::Spaces, false), "0.0500 0.0000 0.0000 0.0000 setcmykcolor");
    EXPECT_EQ(ColourOperator(ColourSide::Bars, true), "0 setgray");
    EXPECT_EQ(ColourOperator(ColourSide::Spaces, true), "1 setgray");
}

TEST(RectanglePath, Form) {
    EXPECT_EQ(RectanglePath(0, 0, 108, 72),
              "newpath 0.0000 0.0000 m 108.0000 0.0000 l 108 72 l 0 72 l 0 0 l closepath");
    EXPECT_EQ(RectanglePath(3, 4, 10, -2), "newpath 3.0000 4.0000 m 10.0000 4.0000 l 10 -2 l 3 -2 l 3 4 l closepath");
}

TEST(WriteEpsFile, WholeDocumentInOrder) {
    PlainSettings();
    Written w = Write(PlainOptions());
    ASSERT_GT(w.lines.size(), 4u);
    ASSERT_EQ(w.lines[3].rfind("%%CreationDate: ", 0), 0u);
    EXPECT_EQ(w.lines[3].size(), std::strlen("%%CreationDate: ") + 24) << w.lines[3];
    w.lines[3] = "%%CreationDate: *";
    const std::vector<std::string> expected = {
        "%!PS-Adobe-2.0 EPSF-1.2",
        "%%Creator: Vornel Glyph (R) 6.02",
        "%%Title: Untitled.eps",
        "%%CreationDate: *",
        "%%LanguageLevel: 2",
        "%%DocumentCustomColors: (Black)",
        "%%CMYKCustomColor: 0.0000 0.0000 0.0000 1.0000 (Black)",
        "%%BoundingBox: 0 0 108 72",
        "%%DocumentFonts: Arial",
        "%%DocumentNeededFonts: Arial",
        "%%EndComments",
        "%%BeginProlog",
        "",
        "/gudict 100 dict def gudict begin",
        "/bdef{bind def}bind def",
        "/_R{0 sub round 0 add}bdef",
        "/_r{transform _R exch _R exch itransform}bdef",
        "/l{_r lineto}bdef",
        "/m{_r moveto}bdef",
        "/c{_r curveto}bdef",
        "/w{0 _r pop setlinewidth}bdef",
        "/X{exch def}bdef",
        "/stovp0/setoverprint where{/setoverprint get}{{pop}}ifelse def",
        "/stovp{dup/ovp X stovp0}bdef",
        "/custar 5 array def",
        "/setcustomcolor where{pop}{/setcustomcolor{exch aload pop pop 4{4 index mul 4 1 roll}repeat",
        "setcmykcolor pop}bdef}ifelse",
        "%%EndProlog",
        "%%BeginSetup",
        "false stovp",
        "%%EndSetup",
        "gsave",
        "0.0000 0.0000 0.0000 1.0000 (Black) custar astore 1 dup /custsh X setcustomcolor",
        "stroke",
        "end",
        "grestore",
        "showpage",
        "%%EOF",
    };
    EXPECT_EQ(w.lines, expected);
    ASSERT_EQ(w.block.size(), 111u);
    EXPECT_EQ(w.block.front(), "%_VornelGlyph Prefs");
    EXPECT_EQ(w.block[109], "%_Fine");
    EXPECT_EQ(w.block[110], "");
}

TEST(WriteEpsFile, HeaderAndLength) {
    PlainSettings();
    SymbolSettings.AdditionalText = "some text";
    SymbolSettings.Comments = std::string(255, 'c');
    Written w = Write(PlainOptions());
    const std::string& b = w.bytes;
    ASSERT_GT(b.size(), 30u);
    EXPECT_EQ(b.substr(0, 4), "\xC5\xD0\xD3\xC6");
    EXPECT_EQ(U32At(b, 4), 30u);
    EXPECT_EQ(U32At(b, 8), b.size() - 30);
    EXPECT_EQ(b.substr(12, 16), std::string(16, '\0')) << "no metafile or TIFF preview";
    EXPECT_EQ(b.substr(28, 2), "\xFF\xFF");
    EXPECT_EQ(b.substr(b.size() - 7), "%%EOF\r\n");
}

TEST(WriteEpsFile, EveryLineEndsWithCrLf) {
    PlainSettings();
    SymbolSettings.TransparentBackground = 0;
    SymbolSettings.bPrinterDpi = 1;
    Written w = Write(PlainOptions());
    std::string ps = w.bytes.substr(30);
    ASSERT_GE(ps.size(), 2u);
    EXPECT_EQ(ps.substr(ps.size() - 2), "\r\n");
    for (std::size_t i = 0; i < ps.size(); ++i) {
        bool lfAlone = ps[i] == '\n' && (i == 0 || ps[i - 1] != '\r');
        bool crAlone = ps[i] == '\r' && (i + 1 == ps.size() || ps[i + 1] != '\n');
        EXPECT_FALSE(lfAlone || crAlone) << "bare line end at " << i;
    }
}

TEST(WriteEpsFile, ColourComments) {
    struct Case {
        const char* what;
        int process, transparent, levelOne;
        uint8_t barCyan, spaceYellow;
        std::vector<std::string> present;
        std::vector<std::string> absentPrefixes;
    } cases[] = {
        {"transparent spot",
         0,
         1,
         0,
         0,
         0,
         {"%%DocumentCustomColors: (Black)", "%%CMYKCustomColor: 0.0000 0.0000 0.0000 1.0000 (Black)"},
         {"%%+ ", "newpath", "%%DocumentProcessColors"}},
        {"opaque spot",
         0,
         0,
         0,
         0,
         0,
         {"%%DocumentCustomColors: (Black)", "%%+ (White)", "%%CMYKCustomColor: 0.0000 0.0000 0.0000 1.0000 (Black)",
          "%%+ 0.0000 0.0000 0.0000 0.0000 (White)",
          "newpath 0.0000 0.0000 m 108.0000 0.0000 l 108 72 l 0 72 l 0 0 l closepath",
          "0.0000 0.0000 0.0000 0.0000 (White) custar astore 1 dup /custsh X setcustomcolor fill"},
         {}},
        {"process black only", 1, 1, 0, 0, 0, {"%%DocumentProcessColors: Black"}, {"%%DocumentCustomColors"}},
        {"process cyan bars", 1, 1, 0, 30, 0, {"%%DocumentProcessColors: Cyan Black"}, {}},
        {"process yellow spaces",
         1,
         0,
         0,
         0,
         20,
         {"%%DocumentProcessColors: Yellow Black", "0.0000 0.0000 0.2000 0.0000 setcmykcolor fill"},
         {}},
        {"level one",
         0,
         0,
         1,
         30,
         20,
         {"%%LanguageLevel: 1", "0 setgray", "1 setgray fill", "/stovp{dup/ovp X stovp0}bdef", "/custar 5 array def",
          "setcmykcolor pop}bdef}ifelse"},
         {"%%Document", "%%CMYKCustomColor", "%%+ 0", "false stovp", "true stovp"}},
    };
    for (const auto& c : cases) {
        PlainSettings();
        SettingsRecord& s = SymbolSettings;
        s.ProcessRadio = c.process;
        s.SpotRadio = !c.process;
        s.TransparentBackground = c.transparent;
        s.CMYKcyanBarsText = c.barCyan;
        s.CMYKyellowSpacesQuietZone = c.spaceYellow;
        s.FontName4humanreadable = "Arial";
        s.Hidden = 1;  // no font lists in the way of "%%Document" checks
        EpsOptions o = PlainOptions();
        o.LevelOneOutput = c.levelOne;
        Written w = Write(o);
        for (const auto& line : c.present) EXPECT_TRUE(Has(w.lines, line)) << c.what << ": " << line;
        for (const auto& prefix : c.absentPrefixes)
            EXPECT_FALSE(HasPrefix(w.lines, prefix)) << c.what << ": " << prefix;
    }
}

TEST(WriteEpsFile, Overprint) {
    PlainSettings();
    SymbolSettings.Overprint = 1;
    EXPECT_TRUE(Has(Write(PlainOptions()).lines, "true stovp"));
}

TEST(WriteEpsFile, FontLists) {
    struct Case {
        const char* what;
        int family, variation, hidden, bold, italic, specLine;
        const char* font;
        const char* additional;
        const char* additionalFont;
        int additionalBold;
        std::vector<std::string> fonts;  // empty: no font list lines
    } cases[] = {
        {"POSTNET without block", 13, 51, 1, 0, 0, 0, "Arial", "text", "Arial", 0, {}},
        {"FIM without block", 7, 30, 0, 0, 0, 0, "Arial", "", "Arial", 0, {}},
        {"POSTNET with block", 13, 51, 1, 0, 0, 1, "Arial", "", "Arial", 0, {"Arial"}},
        {"Times bold italic", 16, 72, 0, 1, 1, 0, "Times New Roman", "", "Arial", 0, {"TimesNewRomanPS-BoldItalicMT"}},
        {"hidden text", 16, 72, 1, 0, 0, 0, "Times New Roman", "", "Arial", 0, {}},
        {"block, text and additional",
         16,
         72,
         0,
         0,
         0,
         1,
         "Courier New",
         "note",
         "Helvetica",
         1,
         {"Arial", "Courier", "Helvetica-Bold"}},
        {"book number", 8, 35, 0, 0, 0, 0, "Arial", "", "Arial", 0, {"Arial", "NewCenturySchlbk-Roman"}},
        {"no repeats", 16, 72, 0, 0, 0, 1, "Arial", "x", "Arial", 0, {"Arial"}},
    };
    for (const auto& c : cases) {
        PlainSettings();
        SettingsRecord& s = SymbolSettings;
        s.Family = static_cast<int16_t>(c.family);
        s.Variation = c.variation;
        s.Hidden = c.hidden;
        s.Bold = c.bold;
        s.Italic = c.italic;
        s.bPrinterDpi = c.specLine;
        s.FontName4humanreadable = c.font;
        s.FontName4ISBN_ISSN_SPCNs = "Century Schoolbook";
        s.AdditionalText = c.additional;
        s.FontName4AdditionalText = c.additionalFont;
        s.BoldAT = c.additionalBold;
        Written w = Write(PlainOptions());
        std::vector<std::string> expected;
        for (const char* keyword : {"%%DocumentFonts: ", "%%DocumentNeededFonts: "})
            for (std::size_t i = 0; i < c.fonts.size(); ++i) expected.push_back((i ? "%%+ " : keyword) + c.fonts[i]);
        auto from = std::find(w.lines.begin(), w.lines.end(), "%%BoundingBox: 0 0 108 72");
        auto to = std::find(w.lines.begin(), w.lines.end(), "%%EndComments");
        ASSERT_TRUE(from != w.lines.end() && to != w.lines.end()) << c.what;
        EXPECT_EQ(std::vector<std::string>(from + 1, to), expected) << c.what;
    }
}

TEST(WriteEpsFile, RotationTranslationAndScale) {
    struct Case {
        int family, rotation;
        double magnification;
        std::vector<std::string> transform;  // lines between "gsave" and the bar colour
    } cases[] = {
        {16, 0, 100, {}},
        {16, 90, 100, {"270 rotate", "-72.000000 0.000000 translate"}},
        {16, 180, 100, {"180 rotate", "-72.000000 -144.000000 translate"}},
        {16, 270, 100, {"90 rotate", "0.000000 -144.000000 translate"}},
        {16, 0, 50, {"0.500000 0.500000 scale"}},
        {16, 0, 250, {"2.500000 2.500000 scale"}},
        {7, 0, 50, {}},  // FIM is never scaled
    };
    for (const auto& c : cases) {
        PlainSettings();
        SymbolSettings.Family = static_cast<int16_t>(c.family);
        SymbolSettings.Rotation = c.rotation;
        SymbolSettings.Magnification = c.magnification;
        EpsOptions o = PlainOptions();
        // The extent is of the rotated symbol: 72 x 144 points unrotated.
        o.Extent =
            c.rotation == 90 || c.rotation == 270 ? SymbolExtent{0, 0, 2000, 1000} : SymbolExtent{0, 0, 1000, 2000};
        Written w = Write(o);
        auto from = std::find(w.lines.begin(), w.lines.end(), "gsave");
        ASSERT_NE(from, w.lines.end());
        auto to = std::find(from, w.lines.end(), ColourOperator(ColourSide::Bars, false));
        ASSERT_NE(to, w.lines.end());
        EXPECT_EQ(std::vector<std::string>(from + 1, to), c.transform) << c.rotation << " " << c.magnification;
    }
}

TEST(WriteEpsFile, TitleAndBoundingBox) {
    PlainSettings();
    EpsOptions o = PlainOptions();
    o.Title = "UPC (A) 0(1)2.eps";
    o.Extent = {-100, 250, 1399, 2000};  // 1499 x 1750 thousandths
    Written w = Write(o);
    EXPECT_TRUE(Has(w.lines, "%%Title: UPC A 012.eps"));
    EXPECT_TRUE(Has(w.lines, "%%BoundingBox: 0 0 107 126"));
}

TEST(WriteEpsFile, SymbolPartsAtTheirPlaces) {
    PlainSettings();
    EpsOptions o = PlainOptions();
    int calls = 0;
    o.symbolParts = [&calls](const EpsOptions& opt) {
        EpsSymbolParts p = PlainSymbolParts(opt.Extent, 0);
        p.layout.pageWidth = 120;
        p.layout.specBlockHeight = 25;
        p.writeProcedures = [&calls](EpsOutput& out) {
            ++calls;
            out.PutLine("/proc 1 def");
        };
        p.writeBody = [](EpsOutput& out) { out.PutLine("B1 S1 B2"); };
        return p;
    };
    SymbolSettings.TransparentBackground = 0;
    Written w = Write(o);
    EXPECT_EQ(calls, 1) << "one pass";
    auto proc = std::find(w.lines.begin(), w.lines.end(), "/proc 1 def");
    ASSERT_NE(proc, w.lines.end());
    EXPECT_EQ(*(proc - 1), "setcmykcolor pop}bdef}ifelse");
    EXPECT_EQ(*(proc + 1), "%%EndProlog");
    auto body = std::find(w.lines.begin(), w.lines.end(), "B1 S1 B2");
    ASSERT_NE(body, w.lines.end());
    EXPECT_EQ(*(body - 1), ColourOperator(ColourSide::Bars, false));
    EXPECT_EQ(*(body - 2), "0.000000 25.000000 translate");
    EXPECT_EQ(*(body + 1), "stroke");
    EXPECT_TRUE(Has(w.lines, "newpath 0.0000 0.0000 m 120.0000 0.0000 l 120 72 l 0 72 l 0 0 l closepath"));
    EXPECT_EQ(U32At(w.bytes, 8), w.bytes.size() - 30);
}

TEST(WriteSettingsComments, LinesAndFormats) {
    PlainSettings();
    SettingsRecord& s = SymbolSettings;
    s.CurRatio = 2.5;
    s.CurBarXDimension = 0.936;
    s.SymbolWidth = 123.45678912;
    s.Magnification = 87.654;
    s.DistanceToBars = -0.5;
    s.redBarsText = 100;
    s.Rotation4AdditionalText = 270;
    s.bFilm = 1;
    s.Film = 3;
    s.Comments = "a (b) \\c";
    s.VariationName = "";
    Written w = Write(PlainOptions());
    ASSERT_EQ(w.block.size(), 111u);
    const std::pair<int, const char*> lines[] = {
        {2, "%%_VersionNumber: 6.02"},
        {3, "%%_Family: 16"},
        {5, "%%_VariationName: "},
        {20, "%%_CurRatio: 2.500000"},
        {21, "%%_CurBarXDimension: 0.936000"},
        {22, "%%_SymbolWidth: 123.4567891"},
        {26, "%%_Magnification: 87.65"},
        {46, "%%_DistanceToBars: -0.500000"},
        {57, "%%_Rotation4AdditionalText: 270"},
        {67, "%%_redBarsText: 100"},
        {98, "%%_bFilm: 1"},
        {104, "%%_bFilm: 3"},
        {109, "%%_Comments: a (b) \\c"},
        {110, "%_Fine"},
        {111, ""},
    };
    for (const auto& [n, text] : lines) EXPECT_EQ(w.block[n - 1], text) << "line " << n;
}

TEST(WriteSettingsComments, CountingModeWritesNothing) {
    PlainSettings();
    EpsOutput out;
    out.SetCounting(true);
    EXPECT_EQ(WriteSettingsComments(out), 0u);
    EXPECT_EQ(out.BytesCounted(), 0u);
}

TEST(WriteEpsFile, DecimalPointInCommaLocale) {
    test::ScopedCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    PlainSettings();
    SymbolSettings.Magnification = 50;
    SymbolSettings.CurRatio = 2.5;
    Written w = Write(PlainOptions());
    EXPECT_TRUE(Has(w.lines, "0.500000 0.500000 scale"));
    EXPECT_TRUE(Has(w.block, "%%_CurRatio: 2.500000"));
    EXPECT_TRUE(Has(w.block, "%%_Magnification: 50.00"));
}

TEST(WriteEpsFile, FailuresReported) {
    PlainSettings();
    ScratchDir dir;
    const std::pair<std::string, const char*> cases[] = {
        {dir.File("no/such/folder.eps"), "No such file or directory"},
        {dir.Path(), "Is a directory"},
        {"/dev/full", "No space left on device"},
    };
    for (const auto& [path, expected] : cases) {
        std::string reason;
        EXPECT_FALSE(WriteEpsFile(path, PlainOptions(), &reason)) << path;
        EXPECT_EQ(reason, expected) << path;
    }
    // Settings that would not read back whole leave the earlier file as it was.
    const std::string good = dir.File("good.eps");
    ASSERT_TRUE(WriteEpsFile(good, PlainOptions()));
    const std::string before = ReadBytes(good);
    SymbolSettings.Company = "line\r\nbreak";
    std::string reason;
    EXPECT_FALSE(WriteEpsFile(good, PlainOptions(), &reason));
    EXPECT_EQ(reason, "Company holds a line break or a NUL byte");
    EXPECT_EQ(ReadBytes(good), before);
}

}  // namespace
}  // namespace vg

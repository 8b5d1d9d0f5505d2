// Verification mark, additional text, crop marks and specification block on
// a recording context.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"
#include "device/recordingdc.h"
#include "render/specblock.h"
#include "render/drawsymbol.h"
#include "symbology/encode.h"

namespace vg {
namespace {

const Rgb kBlack{0, 0, 0};

// An EAN-13 4006381333931 in factory-like settings, drawn for a file.
void Ean13() {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    s.Family = 6;
    s.Variation = 26;
    s.CurRatio = 2.0;
    s.CurBarXDimension = 0.936;
    s.BarHeight = 72;
    s.Magnification = 100;
    s.PrinterDpi = 2400;
    s.Size = 9;
    s.FontName4humanreadable = "Arial";
    s.FontName4AdditionalText = "Arial";
    s.SizeAT = 10;
    s.redSpacesQuietZone = s.greenSpacesQuietZone = s.blueSpacesQuietZone = 100;
    s.Format = 1;
    SetText(s.MainText, "400638133393");
    SetText(s.OriginalMainText, "400638133393");
    s.CheckCharacter1 = '1';
    ASSERT_EQ(EncodeCurrentVariation(), 1);
}

struct Drawn {
    RecordingDC dc;
    int cx = 0, cy = 0;  // window extent
};

void Draw(Drawn& d) {
    ASSERT_TRUE(DrawSymbol(d.dc, {}, 1, 0, nullptr));
    ASSERT_FALSE(d.dc.WindowExtents().empty());
    d.cx = d.dc.WindowExtents().back().cx;
    d.cy = d.dc.WindowExtents().back().cy;
}

int MinCoordinate(const RecordingDC& dc) {
    int low = INT_MAX;
    for (const auto& p : dc.Polygons())
        for (const Point& q : p.points) low = std::min({low, q.x, q.y});
    for (const auto& t : dc.Texts()) low = std::min({low, t.at.x, t.at.y});
    for (const auto& l : dc.Lines()) low = std::min({low, l.from.x, l.from.y, l.to.x, l.to.y});
    return low;
}

TEST(Extras, FrameAt180EqualsFrameAt0AndTurnsAt90) {
    Drawn base[4];
    for (int q = 0; q < 4; ++q) {
        Ean13();
        SettingsRecord& s = SymbolSettings;
        s.Rotation = q * 90;
        s.AdditionalText = "Batch 7";
        s.V = -4;
        s.Prufmark = 1;
        s.bCropMarks = 1;
        Draw(base[q]);
    }
    EXPECT_EQ(base[0].cx, base[2].cx);
    EXPECT_EQ(base[0].cy, base[2].cy);
    EXPECT_EQ(base[1].cx, base[3].cx);
    EXPECT_EQ(base[0].cx, base[1].cy);
    EXPECT_EQ(base[0].cy, base[1].cx);
    for (const Drawn& d : base) EXPECT_GE(MinCoordinate(d.dc), 0);
}

TEST(Extras, TextAboveShiftsTheDrawingOntoThePage) {
    for (int rotation : {0, 90, 180, 270}) {
        Ean13();
        SymbolSettings.Rotation = rotation;
        SymbolSettings.AdditionalText = "Above";
        SymbolSettings.V = -30;  // well above the bars
        Drawn d;
        Draw(d);
        EXPECT_GE(MinCoordinate(d.dc), 0) << rotation;
        const auto& bg = d.dc.Polygons().front().points;
        for (const Point& p : bg) EXPECT_GE(std::min(p.x, p.y), 0);
        // The text lies inside the frame.
        const RecordedText& t = d.dc.Texts().back();
        EXPECT_EQ(t.text, "Above");
        EXPECT_LE(t.at.x, d.cx);
        EXPECT_LE(t.at.y, d.cy);
    }
}

TEST(Extras, VerificationMarkHasOneOrSixRows) {
    std::size_t squares[3] = {};
    int heights[3] = {};
    for (int mark : {0, 1, 2}) {
        Ean13();
        SymbolSettings.Hidden = 1;
        SymbolSettings.Prufmark = mark;
        Drawn d;
        Draw(d);
        squares[mark] = d.dc.PolygonsIn(kBlack).size();
        heights[mark] = d.cy;
        if (mark) {
            ASSERT_FALSE(d.dc.Texts().empty());
            EXPECT_NE(d.dc.Texts().back().text.find("2400 DPI"), std::string::npos);
        }
    }
    const std::size_t row = squares[1] - squares[0];
    EXPECT_GT(row, 60u);  // one square per module over about 95 modules
    EXPECT_EQ(squares[2] - squares[0], 6 * row);
    const int s = static_cast<int>(0.936 / 72 * 1000);  // a module, no reduction set
    EXPECT_NEAR(heights[2] - heights[1], 10 * s, 2);
}

TEST(Extras, CenteredAdditionalTextWritesBackH) {
    for (double h : {0.0, 55.5}) {
        Ean13();
        SettingsRecord& s = SymbolSettings;
        s.Hidden = 1;
        s.AdditionalText = "CENTRE";
        s.AlignAT = 1;
        s.H = h;
        Drawn d;
        Draw(d);
        const double W =
            ComputeSymbolWidth(6, 26, 0, BarPattern, 2.0, DefaultXDimension(6, 26), DefaultWideBase(6, 26));
        const RecordedText& t = d.dc.Texts().back();
        ASSERT_EQ(t.text, "CENTRE");
        RecordingDC measure;
        ASSERT_TRUE(measure.SelectFont(t.font));
        const double tw = measure.GetTextExtent("CENTRE").cx * 72.0 / 1000;
        EXPECT_NEAR(s.H, LeftQuietZone(6, 26) + (W - tw) / 2, 1e-9);
        // The anchor stands H from the drawing's left edge.
        EXPECT_EQ(t.at.x, static_cast<int>(s.H * 1000 / 72));
    }
}

TEST(Extras, CropMarksGrowTheExtentByAQuarterInchAndAHalf) {
    Ean13();
    Drawn plain;
    Draw(plain);
    Ean13();
    SymbolSettings.bCropMarks = 1;
    Drawn marked;
    Draw(marked);
    EXPECT_EQ(marked.cx, plain.cx + 2 * 166);
    EXPECT_EQ(marked.cy, plain.cy + 2 * 166);
    ASSERT_EQ(marked.dc.Lines().size(), 8u);
    for (const RecordedLine& l : marked.dc.Lines()) {
        EXPECT_EQ(std::abs(l.to.x - l.from.x) + std::abs(l.to.y - l.from.y), 125);
        EXPECT_EQ(l.width, 0);
    }
}

TEST(SpecBlock, LinesFollowTheirSwitches) {
    struct Case {
        const char* name;
        void (*set)(SettingsRecord&);
        std::vector<std::string> ansi;
        std::string utf8First;
    };
    const Case cases[] = {
        {"dpi only", [](SettingsRecord& s) { s.bPrinterDpi = 1; }, {"Printer dpi: 2400"}, "Printer dpi: 2400"},
        {"bwr in inches",
         [](SettingsRecord& s) {
             s.bBarWidthReduction = 1;
             s.LastMethod = 1;
             s.BarWidthReduction = 0.72;
             s.UnitOfMeasure = 0;
         },
         {"BWR: 0.0100 in (10.00 mils)"},
         "BWR: 0.0100 in (10.00 mils)"},
        {"empty comments", [](SettingsRecord& s) { s.bComments = 1; }, {}, ""},
        {"film and company",
         [](SettingsRecord& s) {
             s.bFilm = 1;
             s.Film = 3;
             s.bCompany = 1;
             s.Company = "Caf\xe9";
         },
         {"Film: Negative/Down", "Company: Caf\xe9"},
         "Film: Negative/Down"},
        {"encoded",
         [](SettingsRecord& s) {
             s.bEncodedData = 1;
             s.bXDimension = 1;
             s.UnitOfMeasure = 1;
         },
         {"Encoded: 4006381333931", "x-dim: 0.3302 mm"},
         "Encoded: 4006381333931"},
    };
    for (const Case& c : cases) {
        Ean13();
        c.set(SymbolSettings);
        const auto lines = SpecBlockLines(SymbolSettings);
        ASSERT_EQ(lines.size(), c.ansi.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].ansi, c.ansi[i]) << c.name;
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].utf8, c.utf8First) << c.name;
        }
    }
}

TEST(SpecBlock, SingleLineIsDrawnBelowTheSymbolInArial) {
    Ean13();
    SymbolSettings.bPrinterDpi = 1;
    Drawn d;
    Draw(d);
    const RecordedText& t = d.dc.Texts().back();
    EXPECT_EQ(t.text, "Printer dpi: 2400");
    EXPECT_EQ(t.font.face, "Arial");
    EXPECT_EQ(t.font.height, 125);
    EXPECT_EQ(t.font.escapement, 0);
    EXPECT_GE(d.cy, t.at.y + 139);
}

TEST(Extras, SymbolTextLeavesOutEveryExtra) {
    // The symbol's own texts, whatever extras are drawn around it and however
    // it is turned.
    struct Case {
        const char* name;
        void (*set)(SettingsRecord&);
    };
    const Case cases[] = {
        {"none", [](SettingsRecord&) {}},
        {"additional text", [](SettingsRecord& s) { s.AdditionalText = "Above 123"; }},
        {"verification mark", [](SettingsRecord& s) { s.Prufmark = 1; }},
        {"specification block", [](SettingsRecord& s) { s.bSymbology = s.bEncodedData = s.bPrinterDpi = 1; }},
        {"all, turned",
         [](SettingsRecord& s) {
             s.AdditionalText = "x";
             s.Prufmark = 2;
             s.bCropMarks = s.bEncodedData = 1;
             s.Rotation = 90;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ean13();
        c.set(SymbolSettings);
        Drawn d;
        Draw(d);
        EXPECT_EQ(d.dc.SymbolText(), "4006381333931");
        if (std::string(c.name) != "none") {
            EXPECT_NE(d.dc.AllText(), d.dc.SymbolText());
        }
    }
}

}  // namespace
}  // namespace vg

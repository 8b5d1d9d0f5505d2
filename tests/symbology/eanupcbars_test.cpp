// Layout and guard-aware bars of the EAN/UPC symbols, drawn on a recording context.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/drawsymbol.h"
#include "device/recordingdc.h"
#include "symbolfixture.h"
#include "symbology/eanupc.h"

namespace vg {
namespace {

// ---- Layout and guard-aware bars ----

// EAN-13 with add-on drawn to a file with a module large enough for the text to fit.
struct DrawnEan {
    RecordingDC dc;
    std::vector<RecordedPolygon> bars;
};

void SetUpEan13(const char* addOn) {
    test::PlainSettings(6, 26);
    SetText(SymbolSettings.MainText, "400638133393");
    SetText(SymbolSettings.OriginalMainText, "400638133393");
    SetText(SymbolSettings.AddOnText, addOn);
    SymbolSettings.CheckCharacter1 = '1';
    SymbolSettings.CurBarXDimension = 2.5;
    SymbolSettings.Size = 20;
    ASSERT_EQ(EncodeEanUpc(26), 1);
}

std::vector<RecordedPolygon> Bars(RecordingDC& dc) { return dc.PolygonsIn(Rgb{0, 0, 0}); }

int Top(const RecordedPolygon& p) { return std::min(p.points[0].y, p.points[3].y); }
int Bottom(const RecordedPolygon& p) { return std::max(p.points[2].y, p.points[3].y); }

TEST(EanUpcBars, GuardBarsReachBelowTheDataBars) {
    SetUpEan13("");
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    auto bars = Bars(dc);
    ASSERT_EQ(bars.size(), 30u);
    const int guardBottom = Bottom(bars[0]);
    const int extension = static_cast<int>(0.08 * 1000);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bool guard = i < 2 || i == 14 || i == 15 || i >= 28;
        EXPECT_EQ(Top(bars[i]), Top(bars[0])) << i;
        EXPECT_NEAR(Bottom(bars[i]), guard ? guardBottom : guardBottom - extension, 1) << i;
    }
}

TEST(EanUpcBars, HiddenTextDrawsFullBarsInNineModuleQuietZones) {
    SetUpEan13("");
    SymbolSettings.Hidden = 1;
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    auto bars = Bars(dc);
    ASSERT_EQ(bars.size(), 30u);
    const double module = 2.5 / 72;
    EXPECT_EQ(bars[0].points[0].x, static_cast<int>(9 * module * 1000));
    for (const auto& b : bars) EXPECT_EQ(Bottom(b), Bottom(bars[0]));
    // Symbol box: 9 + 95 + 9 modules wide, bars plus one module above and below.
    const Point* box = dc.Polygons()[0].points.data();
    EXPECT_NEAR(box[2].x, 113 * module * 1000, 1);
    EXPECT_NEAR(box[2].y, (2 * module + 1.0) * 1000, 1);
}

struct AddOnCase {
    double barHeightInches;
    int distance;
    bool lowered;       // add-on bars start lower
    bool switchedDown;  // AddonTextDown switched on
};

TEST(EanUpcBars, AddOnBarsMakeRoomForTheirDigits) {
    const AddOnCase cases[] = {
        {0.4, 0, true, false},
        {0.4, 2, true, false},
        {0.25, 0, false, true},
        {0.3, 4, false, true},
    };
    for (const AddOnCase& c : cases) {
        SetUpEan13("52495");
        SymbolSettings.BarHeight = c.barHeightInches * 72;
        SymbolSettings.DistanceToBars = c.distance;
        RecordingDC dc;
        ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
        auto bars = Bars(dc);
        ASSERT_EQ(bars.size(), 30u + 16u);
        const RecordedPolygon& addOnBar = bars[30];
        const int drop = Top(addOnBar) - Top(bars[0]);
        if (c.lowered)
            EXPECT_NEAR(drop, (20.0 + c.distance) / 72 * 1000, 1) << c.barHeightInches;
        else
            EXPECT_EQ(drop, 0) << c.barHeightInches;
        EXPECT_EQ(SymbolSettings.AddonTextDown, c.switchedDown ? 1 : 0) << c.barHeightInches;
    }
}

TEST(EanUpcBars, TextAboveAndAddonTextDownKeepBarsLevel) {
    SetUpEan13("34");
    SymbolSettings.TextAbove = 1;
    RecordingDC above;
    ASSERT_TRUE(DrawSymbol(above, {}, 1, 0, nullptr));
    auto bars = Bars(above);
    ASSERT_EQ(bars.size(), 30u + 7u);
    for (const auto& b : bars) {
        EXPECT_EQ(Top(b), Top(bars[0]));
        EXPECT_EQ(Bottom(b), Bottom(bars[0]));
    }
    // The text band lies above the bars: the first bar starts below it.
    EXPECT_GT(Top(bars[0]), static_cast<int>(2.5 / 72 * 1000));

    SetUpEan13("34");
    SymbolSettings.AddonTextDown = 1;
    RecordingDC down;
    ASSERT_TRUE(DrawSymbol(down, {}, 1, 0, nullptr));
    bars = Bars(down);
    ASSERT_EQ(bars.size(), 37u);
    EXPECT_EQ(Top(bars[30]), Top(bars[0]));
}

// The gap the EPS body writes (AddOnGap), on every target, hidden text or not.
TEST(EanUpcBars, AddOnGapIsNineModules) {
    SetUpEan13("34");
    SymbolSettings.Hidden = 1;
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    auto bars = Bars(dc);
    ASSERT_EQ(bars.size(), 37u);
    const double module = 2.5 / 72 * 1000;
    // Last main bar ends at module 95, add-on starts 9 modules later.
    for (int hidden : {1, 0}) {
        SymbolSettings.Hidden = hidden;
        RecordingDC shown;
        ASSERT_TRUE(DrawSymbol(shown, {}, 1, 0, nullptr));
        bars = Bars(shown);
        ASSERT_EQ(bars.size(), 37u);
        EXPECT_NEAR(bars[30].points[0].x - bars[29].points[1].x, 9 * module, 1) << "Hidden " << hidden;
    }
}

TEST(StandardNumberSymbol, DrawsNoBars) {
    test::PlainSettings(8, 34);
    SetText(SymbolSettings.MainText, "030640615");
    SymbolSettings.CheckCharacter1 = '7';
    BarPattern = "B1S1B1";
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    EXPECT_TRUE(Bars(dc).empty());
    EXPECT_TRUE(BarPattern.empty());
    EXPECT_EQ(SymbolSettings.Hidden, 1);
    EXPECT_EQ(SymbolSettings.CurRatio, 0.0);
}

}  // namespace
}  // namespace vg

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "model/catalogue.h"
#include "geometry/variationdefaults.h"
#include "render/drawsymbol.h"
#include "device/recordingdc.h"
#include "symbolfixture.h"
#include "symbology/eanupc.h"
#include "symbology/encode.h"

namespace vg {
namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

void PlainFor(int variation) {
    const VariationInfo* info = FindVariation(variation);
    test::PlainSettings(info ? info->family : 0, variation);
}

// An encoded EAN-13 4006381333931, text hidden so that only the bars count.
void HiddenEan13() {
    PlainFor(26);
    SetText(SymbolSettings.MainText, "400638133393");
    SetText(SymbolSettings.OriginalMainText, "400638133393");
    SymbolSettings.CheckCharacter1 = '1';
    SymbolSettings.Hidden = 1;
    ASSERT_EQ(EncodeCurrentVariation(), 1);
}

// ---- Geometry of Reset ----

struct ResetCase {
    double bearerBar;
    double magnification;
    double x;
    int method;
    int dpi;
    double bwr;
    double expectBearer;     // inches
    double expectModule;     // symbol units
    double expectReduction;  // points
};

TEST(SymbolReset, DerivesGeometryFromSettings) {
    const ResetCase cases[] = {
        {0.4, 100, 1.0, 0, 2400, 2, 0, 1.0 / 72, 0.06},        {0.45, 100, 1.0, 0, 2400, 2, 1.0 / 72, 1.0 / 72, 0.06},
        {0.5, 100, 1.0, 0, 600, 1, 1.0 / 72, 1.0 / 72, 0.12},  {2, 100, 1.0, 1, 2400, 0.5, 2.0 / 72, 1.0 / 72, 0.5},
        {2, 200, 1.0, 1, 2400, 0.5, 2.0 / 72, 1.0 / 144, 0.5},  // bearer not magnified
        {0.5, 50, 1.0, 0, 0, 2, 1.0 / 72, 1.0 / 36, 0},         // no resolution: no reduction
    };
    for (const ResetCase& c : cases) {
        PlainFor(11);
        SymbolSettings.BearerBar = c.bearerBar;
        SymbolSettings.Magnification = c.magnification;
        SymbolSettings.CurBarXDimension = c.x;
        SymbolSettings.LastMethod = c.method;
        SymbolSettings.PrinterDpi = c.dpi;
        SymbolSettings.BarWidthReduction = c.bwr;
        RecordingDC dc;
        CCode39Symbol sym(dc, {}, 1, 0, nullptr);
        sym.Reset(dc);
        EXPECT_DOUBLE_EQ(sym.m_bearer, c.expectBearer) << c.bearerBar << " " << c.magnification;
        EXPECT_DOUBLE_EQ(sym.m_module, c.expectModule) << c.magnification;
        EXPECT_NEAR(sym.m_module * sym.m_magnification * 72, c.x, 1e-12);
        EXPECT_NEAR(sym.m_barWidthReduction, c.expectReduction, 1e-12) << c.dpi;
    }
}

TEST(SymbolReset, PatternWidthAndRotation) {
    PlainFor(11);
    SymbolSettings.CurRatio = 3.0;
    SymbolSettings.Rotation = 90;
    SymbolSettings.BarHeight = 36;
    SymbolSettings.Magnification = 200;
    BarPattern = "B1S2B1S1B2S1B2S1B1S1";
    RecordingDC dc;
    CCode39Symbol sym(dc, {}, 1, 0, nullptr);
    sym.Reset(dc);
    EXPECT_DOUBLE_EQ(sym.m_patternWidth, 16 * sym.m_module);
    EXPECT_DOUBLE_EQ(sym.m_barHeight, 0.25);
    EXPECT_NEAR(sym.m_sin, 1.0, 1e-12);
    EXPECT_NEAR(sym.m_cos, 0.0, 1e-7);
    EXPECT_DOUBLE_EQ(sym.m_textScaleX, 1.0);
    EXPECT_DOUBLE_EQ(sym.m_scaleY, 1.0);
}

// ---- Generic layout ----

TEST(LinearLayout, WideTextGoesToTheQuietZonesByAlignment) {
    for (int align : {0, 1, 2}) {
        PlainFor(11);
        BarPattern = "B1S1B1";
        SetText(SymbolSettings.OriginalMainText, "A RATHER LONG TEXT");
        SymbolSettings.Align = align;
        SymbolSettings.DistanceToBars = 2;
        RecordingDC dc;
        CCode39Symbol sym(dc, {}, 1, 0, nullptr);
        sym.Reset(dc);
        sym.Layout(dc, 1);
        const double lqz = LeftQuietZone(4, 11) / 72;
        const double rqz = RightQuietZone(4, 11) / 72;
        const double tw = sym.MeasureText("A RATHER LONG TEXT").cx / 1000.0;
        const double th = sym.MeasureText("A RATHER LONG TEXT").cy / 1000.0;
        const double excess = tw - sym.m_patternWidth;
        ASSERT_GT(excess, 0);
        const double left[] = {lqz, lqz + excess / 2, lqz + excess};
        const double right[] = {rqz + excess, rqz + excess / 2, rqz};
        EXPECT_NEAR(sym.m_leftMargin, left[align], 1e-12) << align;
        EXPECT_NEAR(sym.m_rightMargin, right[align], 1e-12) << align;
        EXPECT_NEAR(sym.m_bottomMargin, sym.m_module + th + 2.0 / 72, 1e-12);
        EXPECT_DOUBLE_EQ(sym.m_topMargin, sym.m_module);
    }
}

TEST(LinearLayout, EmptyPatternStillLaysOutTextAndDrawsNoBars) {
    PlainFor(11);
    SetText(SymbolSettings.OriginalMainText, "ABC");
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    EXPECT_TRUE(dc.PolygonsIn(kBlack).empty());
    EXPECT_EQ(dc.AllText(), "ABC");
    ASSERT_EQ(dc.Texts().size(), 3u);  // one character at a time
    EXPECT_LT(dc.Texts()[0].at.x, dc.Texts()[1].at.x);
}

TEST(SymbolFactory, VariationsWithoutClassDrawNothing) {
    for (int v : {57, 58, 59, 112, 113, 133, 137, 139, 140, 142, 143, 144, 0, 147, -1}) {
        PlainFor(v);
        BarPattern = "B1S1B1";
        SymbolSettings.Variation = v;
        RecordingDC dc;
        EXPECT_FALSE(DrawSymbol(dc, {}, 0, 0, nullptr)) << v;
        EXPECT_TRUE(dc.Ops().empty()) << v;
    }
}

// ---- Bars on the device ----

struct Run {
    int start;
    int length;
};

std::vector<Run> BarRuns(const std::string& modules) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < modules.size();) {
        if (modules[i] != '1') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < modules.size() && modules[j] == '1') ++j;
        runs.push_back({static_cast<int>(i), static_cast<int>(j - i)});
        i = j;
    }
    return runs;
}

struct PlacementCase {
    int outputFlag;
    double magnification;
    double x;     // points, printed
    int bwrDots;  // at 600 dpi
};

TEST(SymbolDrawing, Ean13BarsLieWhereTheGeometrySays) {
    const PlacementCase cases[] = {
        {1, 100, 0.936, 0}, {1, 100, 0.936, 2},  // reduction in file output
        {0, 100, 0.936, 2},                      // but never on the screen
        {1, 200, 1.0, 1},                        // module of exactly one point
        {1, 80, 0.75, 0},
    };
    for (const PlacementCase& c : cases) {
        HiddenEan13();
        SymbolSettings.Magnification = c.magnification;
        SymbolSettings.CurBarXDimension = c.x;
        SymbolSettings.PrinterDpi = 600;
        SymbolSettings.BarWidthReduction = c.bwrDots;
        RecordingDC dc;
        ASSERT_TRUE(DrawSymbol(dc, {}, c.outputFlag, 0, nullptr));
        auto bars = dc.PolygonsIn(kBlack);
        auto runs = BarRuns(test::Modules(BarPattern));
        ASSERT_EQ(bars.size(), runs.size());
        const Point origin = dc.PolygonsIn(kWhite).at(0).points[0];
        const double module = c.x / 72 * 1000;  // output units
        // The reduction is in symbol units: it grows with the magnification.
        const double r = c.outputFlag == 1 ? c.bwrDots * 72.0 / 600 / 72 * 1000 * c.magnification / 100 : 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const auto& p = bars[i].points;
            ASSERT_EQ(p.size(), 4u);
            EXPECT_NEAR(p[0].x - origin.x, (9 + runs[i].start) * module, 1.01) << i;
            EXPECT_NEAR(p[1].x - p[0].x, runs[i].length * module - r, 1.01) << i;
            EXPECT_EQ(p[3].x, p[0].x);
            EXPECT_EQ(p[2].x, p[1].x);
            EXPECT_NEAR(p[0].y - origin.y, module, 1.01);
            EXPECT_NEAR(p[3].y - p[0].y, 1000, 1.01);  // bar height 72 points
        }
    }
}

TEST(SymbolDrawing, ScreenPlacementLeavesAMargin) {
    HiddenEan13();
    SymbolSettings.BearerBar = 2;
    RecordingDC dc(96, 96);
    ClipRect clip{10, 20, 600, 400};
    ASSERT_TRUE(DrawSymbol(dc, clip, 0, 0, nullptr));
    const auto bg = dc.PolygonsIn(kWhite).at(0).points;
    // The background is the bearer box, the symbol box lies the bearer inside it.
    EXPECT_NEAR(bg[0].x, (35.0 + 10) / 96 * 1000, 1);
    EXPECT_NEAR(bg[0].y, (35.0 + 20) / 96 * 1000, 1);
    EXPECT_GE(ViewScrollSize.cx, 590 * 1000 / 96);
    EXPECT_LE(ViewScrollSize.cx, 32767);
}

TEST(SymbolDrawing, ScrollSizeCoversTheDrawingAtEveryRotation) {
    for (int rotation : {0, 90, 180, 270}) {
        HiddenEan13();
        SymbolSettings.Rotation = rotation;
        RecordingDC dc(96, 96);
        ASSERT_TRUE(DrawSymbol(dc, ClipRect{0, 0, 10, 10}, 0, 0, nullptr));
        const auto bg = dc.PolygonsIn(kWhite).at(0).points;
        int x0 = bg[0].x, x1 = bg[0].x, y0 = bg[0].y, y1 = bg[0].y;
        for (const Point& p : bg) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
        const int extra = rotation == 0 ? 29 : 0;
        EXPECT_EQ(ViewScrollSize.cx, x0 + x1 + extra) << rotation;
        EXPECT_EQ(ViewScrollSize.cy, y0 + y1 + extra) << rotation;
    }
    // Never above 32767 thousandths.
    HiddenEan13();
    SymbolSettings.CurBarXDimension = 11.52;
    BarPattern.clear();
    for (int i = 0; i < 300; ++i) BarPattern += "B1S1";
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 0, 0, nullptr));
    EXPECT_EQ(ViewScrollSize.cx, 32767);
}

// Bars at a rotation compared with the same bars at 0 degrees (file output,
// normalised so that the drawing starts at 0).
TEST(SymbolDrawing, RotationTurnsEveryCorner) {
    HiddenEan13();
    RecordingDC flat;
    ASSERT_TRUE(DrawSymbol(flat, {}, 1, 0, nullptr));
    const auto base = flat.PolygonsIn(kBlack);
    const Point box = flat.PolygonsIn(kWhite).at(0).points[2];  // (W, H)
    ASSERT_EQ(base.size(), 30u);

    for (int rotation : {90, 180, 270}) {
        SymbolSettings.Rotation = rotation;
        RecordingDC dc;
        ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
        auto bars = dc.PolygonsIn(kBlack);
        ASSERT_EQ(bars.size(), base.size());
        for (std::size_t i = 0; i < bars.size(); ++i) {
            for (int k = 0; k < 4; ++k) {
                Point p = base[i].points[k];
                Point expect = rotation == 90    ? Point{box.y - p.y, p.x}
                               : rotation == 180 ? Point{box.x - p.x, box.y - p.y}
                                                 : Point{p.y, box.x - p.x};
                EXPECT_NEAR(bars[i].points[k].x, expect.x, 2) << rotation << " bar " << i;
                EXPECT_NEAR(bars[i].points[k].y, expect.y, 2) << rotation << " bar " << i;
            }
        }
        // The frame keeps its size, turned.
        ASSERT_EQ(dc.WindowExtents().size(), 1u);
        ASSERT_EQ(flat.WindowExtents().size(), 1u);
        const auto& e = dc.WindowExtents()[0];
        const auto& e0 = flat.WindowExtents()[0];
        if (rotation == 180) {
            EXPECT_NEAR(e.cx, e0.cx, 1);
            EXPECT_NEAR(e.cy, e0.cy, 1);
        } else {
            EXPECT_NEAR(e.cx, e0.cy, 1);
            EXPECT_NEAR(e.cy, e0.cx, 1);
        }
    }
}

struct BearerCase {
    int variation;
    int rotation;
    int bands;
    bool tallBands;  // the bands run along the y axis
};

TEST(SymbolDrawing, BearerBarsFrameTheSymbol) {
    const BearerCase cases[] = {
        {26, 0, 4, false},   {41, 0, 4, false}, {42, 0, 2, false},
        {42, 180, 2, false}, {42, 90, 2, true}, {42, 270, 2, true},
    };
    for (const BearerCase& c : cases) {
        PlainFor(c.variation);
        SymbolSettings.Hidden = 1;
        SymbolSettings.BearerBar = 4.8;
        SymbolSettings.Rotation = c.rotation;
        BarPattern = "B1S1B1";
        RecordingDC dc;
        ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
        auto black = dc.PolygonsIn(kBlack);
        ASSERT_EQ(black.size(), 2u + c.bands) << c.variation << " " << c.rotation;
        const int t = static_cast<int>(4.8 / 72 * 1000);
        const auto bg = dc.PolygonsIn(kWhite).at(0).points;
        int bgW = std::abs(bg[2].x - bg[0].x), bgH = std::abs(bg[2].y - bg[0].y);
        for (std::size_t i = 2; i < black.size(); ++i) {
            const auto& p = black[i].points;
            int w = std::abs(p[2].x - p[0].x), h = std::abs(p[2].y - p[0].y);
            if (c.tallBands) {
                EXPECT_EQ(w, t);
                EXPECT_EQ(h, bgH);
            } else if (c.bands == 2 || i < 4) {
                EXPECT_EQ(h, t);
                EXPECT_EQ(w, bgW);
            }
        }
    }
}

TEST(SymbolDrawing, BackgroundOutlineAndColours) {
    struct Case {
        int variation;
        int outputFlag;
        int transparent;
        bool outline;
    };
    const Case cases[] = {
        {26, 0, 0, false}, {26, 1, 1, false}, {30, 0, 0, true},  {30, 1, 0, false},
        {51, 0, 1, true},  {52, 0, 0, false}, {55, 1, 0, false},
    };
    for (const Case& c : cases) {
        PlainFor(c.variation);
        SymbolSettings.TransparentBackground = c.transparent;
        SymbolSettings.redBarsText = 50;
        SymbolSettings.greenSpacesQuietZone = 0;
        // POSTNET patterns are one letter per bar.
        BarPattern = c.variation >= 51 && c.variation <= 56 ? "LL" : "B1S1B1";
        RecordingDC dc;
        ASSERT_TRUE(DrawSymbol(dc, {}, c.outputFlag, 0, nullptr));
        const Rgb bar{128, 0, 0};
        const Rgb space{255, 0, 255};
        EXPECT_EQ(dc.PolygonsIn(space).size(), c.transparent ? 0u : 1u) << c.variation;
        EXPECT_EQ(dc.PolygonsIn(bar).size(), 2u) << c.variation;
        ASSERT_EQ(dc.Outlines().size(), c.outline ? 1u : 0u) << c.variation;
        if (c.outline) {
            EXPECT_EQ(dc.Outlines()[0].colour, bar);
            EXPECT_EQ(dc.Outlines()[0].points.size(), 5u);
        }
        EXPECT_EQ(dc.SavedStates(), 0u);  // state restored, measuring fonts included
        EXPECT_FALSE(dc.HasFont());
    }
}

TEST(SymbolDrawing, WindowExtentOnlyForWmfAndEpsFiles) {
    for (int format : {0, 1, 2}) {
        HiddenEan13();
        SymbolSettings.Format = format;
        RecordingDC file, screen;
        DrawSymbol(file, {}, 1, 0, nullptr);
        DrawSymbol(screen, {}, 0, 0, nullptr);
        EXPECT_EQ(file.WindowExtents().size(), format == 2 ? 0u : 1u);
        EXPECT_TRUE(screen.WindowExtents().empty());
    }
}

TEST(SymbolText, FontFollowsSettingsAndFallsBackToArial) {
    PlainFor(11);
    SetText(SymbolSettings.OriginalMainText, "A1");
    SymbolSettings.Rotation = 90;
    SymbolSettings.Magnification = 200;
    SymbolSettings.Bold = 1;
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    ASSERT_EQ(dc.Texts().size(), 2u);
    const FontSpec& f = dc.Texts()[0].font;
    EXPECT_EQ(f.escapement, 2700);
    EXPECT_EQ(f.height, 250);  // 9 points at 200 %
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(dc.Texts()[0].colour, kBlack);
    EXPECT_FALSE(dc.Texts()[0].opaque);

    PlainFor(11);
    SetText(SymbolSettings.OriginalMainText, "A1");
    SymbolSettings.FontName4humanreadable = "No Such Face At All";
    RecordingDC fallback;
    ASSERT_TRUE(DrawSymbol(fallback, {}, 1, 0, nullptr));
    EXPECT_EQ(SymbolSettings.FontName4humanreadable, "Arial");
    ASSERT_EQ(fallback.Texts().size(), 2u);
    EXPECT_EQ(fallback.Texts()[0].font.face, "Arial");
}

// ---- Robustness: nothing read or written outside its buffer ----

TEST(SymbolRobustness, AnyPatternAndRecordDrawsSafely) {
    std::mt19937 rng(7);
    std::string noise(5000, ' ');
    const char alphabet[] = "BACbacSRTsrtL+0123456789Xx\x01\xff";
    for (char& c : noise) c = alphabet[rng() % (sizeof alphabet - 1)];
    const std::string patterns[] = {"",
                                    "B",
                                    "B1S",
                                    "1B2S",
                                    "LLssLL++",
                                    "++++++",
                                    noise,
                                    noise.substr(1),
                                    std::string(5000, 'B'),
                                    "B1S1B1ss" + std::string(4000, '9')};
    const int variations[] = {11, 26, 27, 30, 34, 35, 41, 42, 49, 51, 61, 73, 75, 81, 117, 120};
    for (const std::string& p : patterns) {
        for (int v : variations) {
            for (int rotation : {0, 90, 180, 270, 45, -90}) {
                PlainFor(v);
                std::memset(SymbolSettings.MainText, '7', sizeof SymbolSettings.MainText);
                std::memset(SymbolSettings.OriginalMainText, 'Z', sizeof SymbolSettings.OriginalMainText);
                std::memset(SymbolSettings.AddOnText, '5', sizeof SymbolSettings.AddOnText);
                std::memset(SymbolSettings.CouponFormatUPCpartText, '9', sizeof SymbolSettings.CouponFormatUPCpartText);
                std::memset(SymbolSettings.CouponFormat128partText, '(', sizeof SymbolSettings.CouponFormat128partText);
                SymbolSettings.CheckCharacter1 = 'X';
                SymbolSettings.Rotation = rotation;
                SymbolSettings.BearerBar = 3;
                SymbolSettings.ShowStartStop = 1;
                SymbolSettings.StartCharacter = 1000;
                BarPattern = p;
                RecordingDC dc;
                DrawSymbol(dc, {0, 0, 100, 100}, rotation & 1, 0, nullptr);
                DrawSymbol(dc, {0, 0, 100, 100}, 0, 0, nullptr);
                // The texts stay as they were (at most terminated) and the drawing in range.
                ASSERT_EQ(TextOf(SymbolSettings.MainText).substr(0, 61), std::string(61, '7'));
                ASSERT_EQ(TextOf(SymbolSettings.AddOnText).substr(0, 6), std::string(6, '5'));
                ASSERT_EQ(TextOf(SymbolSettings.CouponFormat128partText).substr(0, 29), std::string(29, '('));
                for (const auto& poly : dc.Polygons())
                    for (const Point& pt : poly.points)
                        ASSERT_LE(std::abs(static_cast<long long>(pt.x)) + std::abs(static_cast<long long>(pt.y)),
                                  2000000000LL);
                EncodeCurrentVariation();
                EXPECT_EQ(BarPattern.find('\0'), std::string::npos);
            }
        }
    }
}

TEST(SymbolRobustness, AbsurdNumbersStayInRange) {
    const double values[] = {0, -1, 1e300, -1e300, NAN, INFINITY};
    // EAN-13 and two standard numbers, whose line grows the box.
    const int variations[][2] = {{6, 26}, {8, 35}, {8, 134}};
    for (const auto& fv : variations)
        for (double value : values) {
            HiddenEan13();
            SymbolSettings.Family = static_cast<int16_t>(fv[0]);
            SymbolSettings.Variation = fv[1];
            SymbolSettings.Hidden = 0;
            SymbolSettings.Magnification = value;
            SymbolSettings.CurBarXDimension = value;
            SymbolSettings.BarHeight = value;
            SymbolSettings.BearerBar = value;
            SymbolSettings.CurRatio = value;
            SymbolSettings.DistanceToBars = value;
            SymbolSettings.Size = value > 0 ? 2000000000 : -5;
            SymbolSettings.Rotation = value > 0 ? 2147483647 : -2147483647;
            RecordingDC dc;
            DrawSymbol(dc, {}, 1, 0, nullptr);
            DrawSymbol(dc, {}, 0, 0, nullptr);
            for (const auto& poly : dc.Polygons())
                for (const Point& pt : poly.points) {
                    EXPECT_LE(std::abs(static_cast<long long>(pt.x)), 1000000000LL);
                    EXPECT_LE(std::abs(static_cast<long long>(pt.y)), 1000000000LL);
                }
        }
}

}  // namespace
}  // namespace vg

#include "geometry/dimensionmodel.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

constexpr double kDot2400 = 72.0 / 2400;

TEST(DimensionModel, UnitConversions) {
    const struct {
        int unit;
        double oneInch;
    } units[] = {{0, 1}, {1, 25.4001}, {2, 72}, {3, 2.54001}};
    for (const auto& u : units) {
        EXPECT_DOUBLE_EQ(ToUnit(u.unit, 72), u.oneInch) << u.unit;
        EXPECT_DOUBLE_EQ(FromUnit(u.unit, u.oneInch), 72) << u.unit;
    }
    EXPECT_EQ(ToUnit(4, 72), 0);
    EXPECT_EQ(FromUnit(-1, 1), 0);
    EXPECT_DOUBLE_EQ(PointsToMils(0.936), 13);
    EXPECT_EQ(DotSize(0), 0);
    EXPECT_EQ(DotSize(-300), 0);
}

TEST(DimensionModel, DefaultBwrDotsByResolution) {
    const struct {
        int dpi, dots;
    } table[] = {{-5, 1},   {30, 1},   {299, 1},   {300, 1},   {599, 1},  {600, 2},  {900, 2},
                 {1199, 2}, {1200, 3}, {2399, 3},  {2400, 4},  {2540, 4}, {4799, 4}, {4800, 5},
                 {9599, 5}, {9600, 6}, {19199, 6}, {19200, 7}, {20000, 7}};
    for (const auto& r : table) EXPECT_EQ(DefaultBwrDots(r.dpi), r.dots) << r.dpi;
}

TEST(DimensionModel, BarWidthReductionDefaultsAndPoints) {
    EXPECT_EQ(DefaultBarWidthReduction(4, 0, 2400), 4);
    EXPECT_DOUBLE_EQ(DefaultBarWidthReduction(4, 1, 2400), 0.135);
    EXPECT_EQ(DefaultBarWidthReduction(7, 0, 2400), 0);
    EXPECT_EQ(DefaultBarWidthReduction(13, 1, 2400), 0);

    SettingsRecord s;
    s.LastMethod = 0;
    s.PrinterDpi = 2400;
    s.BarWidthReduction = 4;
    EXPECT_DOUBLE_EQ(BwrInPoints(s), 0.12);
    s.BarWidthReduction = -4;
    EXPECT_DOUBLE_EQ(BwrInPoints(s), -0.12);
    s.PrinterDpi = 0;
    EXPECT_EQ(BwrInPoints(s), 0);
    s.LastMethod = 1;
    s.BarWidthReduction = 0.2;
    EXPECT_EQ(BwrInPoints(s), 0.2);
}

TEST(DimensionModel, XDimensionRangeAndTolerance) {
    const struct {
        int family, variation;
        double min, max;
    } table[] = {
        {16, 72, 0.8 * 0.936, 2.0 * 0.936}, {4, 11, 0.2 * 0.72, 8.0 * 0.72}, {7, 30, 1.92, 1.92}, {13, 55, 1.44, 1.44}};
    for (const auto& r : table) {
        XRange range = XDimensionRange(r.family, r.variation);
        EXPECT_EQ(range.min, r.min) << r.variation;
        EXPECT_EQ(range.max, r.max) << r.variation;
        EXPECT_TRUE(XDimensionInRange(r.family, r.variation, r.min - 8e-7));
        EXPECT_FALSE(XDimensionInRange(r.family, r.variation, r.min - 1e-6));
        EXPECT_FALSE(XDimensionInRange(r.family, r.variation, r.max + 1e-9));
    }
}

TEST(DimensionModel, SymbolWidths) {
    const double x = 0.936;
    const struct {
        int family, variation, addOn;
        const char* pattern;
        double ratio, x, wide, width;
    } table[] = {
        {16, 72, 5, "b1s1++b1", 2, x, x, 95 * x + 47 * x + 8.424},
        {16, 72, 2, "b1s1", 2, x, x, 95 * x + 20 * x},
        {16, 72, 3, "b1s1++", 2, x, x, 95 * x + 8.424},
        {17, 101, 0, "", 2, x, x, 51 * x},
        {6, 27, 0, "", 2, x, x, 67 * x},
        {8, 35, 5, "++", 2, x, x, 95 * x + 47 * x + 8.424},
        {8, 34, 0, "b1s1", 2, x, x, 1.0},
        // ITF-14 ignores X and ratio.
        {10, 41, 0, "b1s2b2s1", 2.5, 0.5, 0.5, 2.88 * 2 + 7.2 * 2},
        {10, 41, 0, "b1s2b2s1++b1", 3.0, 3.0, 3.0, 2.88 * 3 + 7.2 * 2 + 71.28},
        {4, 76, 0, "b1s2++", 2.5, 1.0, 1.0, 2.88 + 7.2},
        // Pharmacode wide spaces count against the wide base.
        {12, 49, 0, "B1S2B2S2", 3.0, 1.0, 2.0, (1 + 3.0) * 1.0 + 4 * 2 * 2.0},
        {12, 97, 0, "B1S2B2S2", 3.0, 1.0, 2.0, (1 + 3.0) * 1.0 + 2 * 2 * 2.0},
        // Four widths; markers count nothing.
        {2, 6, 0, "LLb2s1b3s4ss", 2.0, 0.5, 0.5, (1 + 2 + 3 + 4) * 0.5},
        {4, 11, 0, "b1s2b2s1", 2.5, 0.72, 0.72, (2 + 2.5 * 2) * 0.72},
    };
    for (const auto& r : table)
        EXPECT_DOUBLE_EQ(ComputeSymbolWidth(r.family, r.variation, r.addOn, r.pattern, r.ratio, r.x, r.wide), r.width)
            << r.variation << " " << r.pattern;
}

TEST(DimensionModel, UpcAGridAt2400Dpi) {
    auto rows = BuildXDimensionList(16, 72, kDot2400, 0, "", 2.0);
    ASSERT_EQ(rows.size(), 38u);
    EXPECT_DOUBLE_EQ(rows.front().x, 0.75);
    EXPECT_NEAR(rows.front().magnification * 100, 80.13, 0.005);
    EXPECT_DOUBLE_EQ(rows.back().x, 1.86);
    EXPECT_NEAR(rows.back().magnification * 100, 198.72, 0.005);
    for (const auto& row : rows) EXPECT_DOUBLE_EQ(row.symbolWidth, 95 * row.x);
}

TEST(DimensionModel, Code39GridAt2400DpiIsThinned) {
    // "b1s1b2": each row snaps the ratio 2.5 to its own dot grid.
    auto rows = BuildXDimensionList(4, 11, kDot2400, 0, "b1s1b2", 2.5);
    ASSERT_EQ(rows.size(), 52u);
    auto dots = [](const XDimensionRow& r) { return std::lround(r.x / kDot2400); };
    EXPECT_EQ(dots(rows.front()), 5);
    EXPECT_NEAR(rows.front().magnification * 100, 20.83, 0.005);
    EXPECT_EQ(dots(rows[43]), 48);
    for (std::size_t i = 44; i < rows.size(); ++i) EXPECT_EQ(dots(rows[i]), 54 + 18 * static_cast<long>(i - 44)) << i;
    EXPECT_EQ(dots(rows.back()), 180);
    // 5 dots: the ratio grid offers 2.4 and 2.6, tie goes to 2.4.
    EXPECT_DOUBLE_EQ(rows.front().symbolWidth, (2 + 2.4) * 0.15);
}

TEST(DimensionModel, EmptyGrids) {
    EXPECT_TRUE(BuildXDimensionList(8, 34, kDot2400, 0, "", 2.0).empty());
    EXPECT_TRUE(BuildXDimensionList(16, 72, 72.0 / 30, 0, "", 2.0).empty());
    EXPECT_TRUE(BuildXDimensionList(4, 11, 0, 0, "", 2.0).empty());
    EXPECT_TRUE(BuildXDimensionList(4, 11, 1e-12, 0, "", 2.0).empty());
    EXPECT_TRUE(BuildRatioList(0, 0.72).empty());
    EXPECT_TRUE(BuildRatioList(kDot2400, 0).empty());
}

TEST(DimensionModel, RatioGrids) {
    EXPECT_EQ(BuildRatioList(0.25, 0.5), (std::vector<double>{2.0, 2.5, 3.0, 3.5, 4.0}));
    auto three = BuildRatioList(0.25, 0.75);
    ASSERT_EQ(three.size(), 7u);
    EXPECT_DOUBLE_EQ(three.front(), 2.0);
    EXPECT_DOUBLE_EQ(three[1], 7.0 / 3);
    EXPECT_DOUBLE_EQ(three.back(), 4.0);

    // 60 dots: 145 candidates 1.8..4.2, thinned from 181/60 with step 9.
    auto many = BuildRatioList(0.25, 15);
    ASSERT_EQ(many.size(), 81u);
    EXPECT_DOUBLE_EQ(many.front(), 1.8);
    EXPECT_DOUBLE_EQ(many[72], 3.0);
    for (std::size_t i = 73; i < many.size(); ++i)
        EXPECT_DOUBLE_EQ(many[i], (60 + 126 + 9 * static_cast<double>(i - 73)) / 60) << i;
}

TEST(DimensionModel, NearestRatio) {
    const struct {
        double ratio, x, dot, expected;
    } table[] = {
        {2.25, 0.5, 0.25, 2.0},      {2.3, 0.5, 0.25, 2.5},  {4.2, 0.5, 0.25, 4.0},
        {4.2, 0.75, 0.25, 13.0 / 3}, {3.0, 0.75, 0.25, 3.0}, {1.0, 0.5, 0.25, 0},
        {4.6, 0.5, 0.25, 0},         {2.0, 0.5, 0, 0},       {2.0, 0, 0.25, 0},
    };
    for (const auto& r : table)
        EXPECT_DOUBLE_EQ(NearestRatio(r.ratio, r.x, r.dot), r.expected) << r.ratio << " at " << r.x / r.dot << " dots";
}

TEST(DimensionModel, NearestXDimension) {
    const struct {
        int family, variation;
        double x, dot, expected;
    } table[] = {
        {16, 72, 0.1, kDot2400, 0.75},  // below the grid
        {16, 72, 5.0, kDot2400, 1.86},  // above it
        {16, 72, 0.936, kDot2400, 31 * kDot2400},
        {16, 72, 0.95, kDot2400, 32 * kDot2400},
        {4, 11, 0.375, 0.25, 0.25},  // tie goes to the smaller
        {4, 11, 0.4, 0.25, 0.5},
        {8, 34, 0.5, kDot2400, 0},      // no grid
        {16, 72, 0.936, 72.0 / 30, 0},  // grid empty at 30 dpi
    };
    for (const auto& r : table)
        EXPECT_DOUBLE_EQ(NearestXDimension(r.family, r.variation, r.x, r.dot), r.expected) << r.variation << " " << r.x;
}

TEST(DimensionModel, SnapToPrinterGrid) {
    SettingsRecord s;
    s.Family = 16;
    s.Variation = 72;
    s.PrinterDpi = 2400;
    s.CurRatio = 2.0;
    s.CurBarXDimension = 1.5;
    s.Magnification = 160;
    SnapToPrinterGrid(s, "b1s1");
    EXPECT_DOUBLE_EQ(s.CurBarXDimension, 0.93);
    EXPECT_DOUBLE_EQ(s.Magnification, 100 * 0.93 / 0.936);

    // Nominal 0.72 halfway between 1 and 2 dots at 150 dpi: the larger wins.
    s.Family = 4;
    s.Variation = 11;
    s.PrinterDpi = 150;
    SnapToPrinterGrid(s, "b1s1");
    EXPECT_DOUBLE_EQ(s.CurBarXDimension, 0.96);

    const struct {
        int family, variation, method, dpi;
    } untouched[] = {{4, 11, 1, 2400}, {13, 51, 0, 2400}, {8, 34, 0, 2400}, {16, 72, 0, 30}};
    for (const auto& u : untouched) {
        s.Family = static_cast<int16_t>(u.family);
        s.Variation = u.variation;
        s.LastMethod = u.method;
        s.PrinterDpi = u.dpi;
        s.CurBarXDimension = 1.23;
        s.Magnification = 77;
        SnapToPrinterGrid(s, "b1s1");
        EXPECT_EQ(s.CurBarXDimension, 1.23) << u.variation;
        EXPECT_EQ(s.Magnification, 77) << u.variation;
    }
}

TEST(DimensionModel, CustomRelations) {
    const double d = 0.72;
    const char* p = "b1s2b1";
    const double w0 = ComputeSymbolWidth(4, 11, 0, p, 2.5, d, d);
    EXPECT_DOUBLE_EQ(MagnificationFromX(4, 11, 0.3 * d), 0.3);
    EXPECT_DOUBLE_EQ(XFromMagnification(4, 11, 0.3), 0.3 * d);
    EXPECT_DOUBLE_EQ(XFromMagnification(4, 11, 0.25), 0.25 * d);
    EXPECT_DOUBLE_EQ(XFromMagnification(4, 11, 10), 10 * d);
    EXPECT_EQ(XFromMagnification(4, 11, 0.249), 0);
    EXPECT_EQ(XFromMagnification(4, 11, 10.01), 0);
    EXPECT_EQ(MagnificationFromX(4, 11, 0.2 * d), 0);
    EXPECT_DOUBLE_EQ(SymbolWidthFromMagnification(4, 11, 2, 0, p, 2.5), 2 * w0);
    EXPECT_DOUBLE_EQ(MagnificationFromSymbolWidth(4, 11, 3 * w0, 0, p, 2.5), 3);
    EXPECT_EQ(MagnificationFromSymbolWidth(4, 11, 11 * w0, 0, p, 2.5), 0);
    EXPECT_DOUBLE_EQ(SymbolWidthFromX(4, 11, 2 * d, 0, p, 2.5), 2 * w0);
    // Pharmacode scales its wide base with the magnification.
    const double dp = DefaultXDimension(12, 49);
    EXPECT_DOUBLE_EQ(SymbolWidthFromX(12, 49, 2 * dp, 0, "B1S2", 3.0), 2 * dp + 4 * 2 * 2 * dp);
    // No nominal X: every relation is out of range.
    EXPECT_EQ(MagnificationFromX(8, 34, 0.5), 0);
    EXPECT_EQ(MagnificationFromSymbolWidth(8, 34, 1.0, 0, "", 2), 0);
    EXPECT_EQ(XFromMagnification(8, 34, 1.0), 0);
    EXPECT_EQ(SymbolWidthFromMagnification(8, 34, 1.0, 0, "", 2), 0);
    EXPECT_EQ(SymbolWidthFromX(8, 34, 0.5, 0, "", 2), 0);
}

SettingsRecord ReadoutRecord(int family, int variation, int method, double x, double bwr) {
    SettingsRecord s;
    s.Family = static_cast<int16_t>(family);
    s.Variation = variation;
    s.LastMethod = method;
    s.PrinterDpi = 2400;
    s.CurBarXDimension = x;
    s.BarWidthReduction = bwr;
    s.UnitOfMeasure = 0;
    return s;
}

TEST(DimensionModel, Readouts) {
    SettingsRecord dpi = ReadoutRecord(4, 11, 0, 0.72, 4);
    EXPECT_EQ(BwrReadout(dpi), " 16.66  1.667  0.001667");  // truncated, not rounded
    EXPECT_EQ(NarrowBarWidthReadout(dpi), "0.008333");
    EXPECT_EQ(QuietZoneReadout(dpi), "0.250, 0.250");
    dpi.UnitOfMeasure = 2;
    EXPECT_EQ(NarrowBarWidthReadout(dpi), "0.600000");

    SettingsRecord custom = ReadoutRecord(4, 11, 1, 0.72, 0.135);
    EXPECT_EQ(BwrReadout(custom), " 18.75  1.875");
    custom.BarWidthReduction = -0.24;
    EXPECT_EQ(BwrReadout(custom), " -33.33  -3.333");

    SettingsRecord upc = ReadoutRecord(16, 72, 0, 2 * 0.936, 4);
    upc.UnitOfMeasure = 2;
    EXPECT_EQ(QuietZoneReadout(upc), "16.848, 16.848");
    SetText(upc.AddOnText, "12345");
    EXPECT_EQ(QuietZoneReadout(upc), "16.848, 16.848, 9.360");
    SettingsRecord code39 = ReadoutRecord(4, 11, 0, 0.72, 4);
    SetText(code39.AddOnText, "12");
    code39.UnitOfMeasure = 2;
    EXPECT_EQ(QuietZoneReadout(code39), "18.000, 18.000");  // no add-on gap

    SettingsRecord zeroX = ReadoutRecord(4, 11, 0, 0, 4);
    EXPECT_EQ(BwrReadout(zeroX), " 0.00  1.667  0.001667");
    EXPECT_EQ(NarrowBarWidthReadout(zeroX), "");
    EXPECT_EQ(QuietZoneReadout(zeroX), "");

    SettingsRecord textOnly = ReadoutRecord(8, 34, 1, 0.72, 0.1);
    EXPECT_EQ(BwrReadout(textOnly), "");
    EXPECT_EQ(NarrowBarWidthReadout(textOnly), "");
    EXPECT_EQ(QuietZoneReadout(textOnly), "");
}

// Every family and variation code through every function: all results finite.
TEST(DimensionModel, EveryCodeGivesFiniteResults) {
    const char* pattern = "LLb1s2b2s1b3s4B1S2++b1s1ss";
    for (int f = 0; f <= 19; ++f) {
        for (int v = 0; v <= 200; ++v) {
            SCOPED_TRACE(::testing::Message() << "family " << f << " variation " << v);
            const double d = DefaultXDimension(f, v);
            const double x = d > 0 ? d : 0.72;
            const double values[] = {d,
                                     DefaultWideBase(f, v),
                                     DefaultRatio(f, v),
                                     DefaultBarHeight(f, v),
                                     DefaultBearerBar(f, v),
                                     LeftQuietZone(f, v),
                                     RightQuietZone(f, v),
                                     AddOnGap(f, v),
                                     AddOnQuietZone(f, v),
                                     FixedSymbolWidth(f, v),
                                     XDimensionRange(f, v).min,
                                     XDimensionRange(f, v).max,
                                     ComputeSymbolWidth(f, v, 5, pattern, 2.5, x, x),
                                     NearestXDimension(f, v, x, kDot2400),
                                     NearestRatio(2.5, x, kDot2400),
                                     MagnificationFromX(f, v, x),
                                     XFromMagnification(f, v, 1.5),
                                     MagnificationFromSymbolWidth(f, v, 100, 5, pattern, 2.5),
                                     SymbolWidthFromMagnification(f, v, 1.5, 5, pattern, 2.5),
                                     SymbolWidthFromX(f, v, x, 5, pattern, 2.5)};
            for (double value : values) EXPECT_TRUE(std::isfinite(value));
            for (const auto& row : BuildXDimensionList(f, v, kDot2400, 5, pattern, 2.5)) {
                EXPECT_TRUE(std::isfinite(row.x) && std::isfinite(row.symbolWidth) && std::isfinite(row.magnification));
            }
            SettingsRecord s = ReadoutRecord(f, v, v % 2, x, 4);
            SetText(s.AddOnText, "12");
            s.CurRatio = 2.5;
            SnapToPrinterGrid(s, pattern);
            EXPECT_TRUE(std::isfinite(s.CurBarXDimension) && std::isfinite(s.Magnification));
            for (const std::string& text : {BwrReadout(s), NarrowBarWidthReadout(s), QuietZoneReadout(s)}) {
                EXPECT_EQ(text.find("nan"), std::string::npos);
                EXPECT_EQ(text.find("inf"), std::string::npos);
                if (d == 0) {
                    EXPECT_EQ(text, "");
                }
            }
        }
    }
}

}  // namespace
}  // namespace vg

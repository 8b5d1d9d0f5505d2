#include <gtest/gtest.h>

#include "device/fontservice.h"
#include "device/recordingdc.h"

namespace vg {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

TEST(RecordingDC, RecordsPrimitivesInOrderWithTheirState) {
    RecordingDC dc;
    const Point quad[4] = {{0, 0}, {10, 0}, {10, 50}, {0, 50}};
    dc.SetWindowExtent(2000, 1000);
    dc.SetBrushColour(kWhite);
    dc.Polygon(quad, 4);
    dc.DottedOutline(quad, 4, kBlack);
    dc.SetBrushColour(kBlack);
    dc.Polygon(quad, 3);
    ASSERT_TRUE(dc.SelectFont({"Arial", 125, 2700, 700, true}));
    dc.SetTextColour(kRed);
    dc.SetBackground(false, kWhite);
    dc.SetTextAlign(kAlignCentreTop);
    dc.TextOut({5, 60}, "12");
    dc.Line({1, 2}, {3, 4}, kRed, 7);

    const RecordKind order[] = {RecordKind::WindowExtent, RecordKind::Polygon,    RecordKind::DottedOutline,
                                RecordKind::Polygon,      RecordKind::SelectFont, RecordKind::Text,
                                RecordKind::Line};
    ASSERT_EQ(dc.Ops().size(), std::size(order));
    for (size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(dc.Ops()[i].kind, order[i]) << i;
    EXPECT_EQ(dc.Ops()[3].index, 1u);

    ASSERT_EQ(dc.WindowExtents().size(), 1u);
    EXPECT_EQ(dc.WindowExtents()[0].cx, 2000);
    ASSERT_EQ(dc.Polygons().size(), 2u);
    EXPECT_EQ(dc.Polygons()[0].brush, kWhite);
    EXPECT_EQ(dc.Polygons()[1].brush, kBlack);
    EXPECT_EQ(dc.Polygons()[1].points.size(), 3u);
    EXPECT_EQ(dc.Polygons()[0].points[2], (Point{10, 50}));
    EXPECT_EQ(dc.PolygonsIn(kBlack).size(), 1u);
    ASSERT_EQ(dc.Outlines().size(), 1u);
    EXPECT_EQ(dc.Outlines()[0].colour, kBlack);

    ASSERT_EQ(dc.Texts().size(), 1u);
    const RecordedText& t = dc.Texts()[0];
    EXPECT_EQ(t.at, (Point{5, 60}));
    EXPECT_EQ(t.text, "12");
    EXPECT_EQ(t.font, (FontSpec{"Arial", 125, 2700, 700, true}));
    EXPECT_EQ(t.colour, kRed);
    EXPECT_FALSE(t.opaque);
    EXPECT_EQ(t.align, kAlignCentreTop);
    ASSERT_EQ(dc.Lines().size(), 1u);
    EXPECT_EQ(dc.Lines()[0].width, 7);
}

TEST(RecordingDC, RestoreStateBringsBackTheSavedState) {
    RecordingDC dc;
    ASSERT_TRUE(dc.SelectFont({"Arial", 125, 0, 400, false}));
    dc.SetBrushColour(kRed);
    dc.SetTextColour(kRed);
    dc.SetBackground(true, kRed);
    dc.SetTextAlign(kAlignCentreTop);
    dc.SaveState();
    ASSERT_TRUE(dc.SelectFont({"OCRB Vornel Glyph", 1000, 900, 700, true}));
    dc.SetBrushColour(kBlack);
    dc.SetTextColour(kWhite);
    dc.SetBackground(false, kBlack);
    dc.SetTextAlign(kAlignLeftTop);
    dc.SaveState();
    dc.SetBrushColour(kWhite);
    EXPECT_EQ(dc.SavedStates(), 2u);

    dc.RestoreState();
    EXPECT_EQ(dc.BrushColour(), kBlack);
    EXPECT_EQ(dc.SelectedFont().face, "OCRB Vornel Glyph");
    dc.RestoreState();
    EXPECT_EQ(dc.BrushColour(), kRed);
    EXPECT_EQ(dc.TextColour(), kRed);
    EXPECT_TRUE(dc.OpaqueBackground());
    EXPECT_EQ(dc.BackgroundColour(), kRed);
    EXPECT_EQ(dc.TextAlign(), kAlignCentreTop);
    EXPECT_EQ(dc.SelectedFont(), (FontSpec{"Arial", 125, 0, 400, false}));
    // Measuring follows the restored font, not the one selected in between.
    EXPECT_EQ(dc.GetTextMetrics().height, 125);

    // Unbalanced restore changes nothing.
    dc.RestoreState();
    EXPECT_EQ(dc.BrushColour(), kRed);
    EXPECT_EQ(dc.SavedStates(), 0u);

    const Point p[3] = {{0, 0}, {1, 0}, {1, 1}};
    dc.Polygon(p, 3);
    dc.TextOut({0, 0}, "A");
    EXPECT_EQ(dc.Polygons()[0].brush, kRed);
    EXPECT_EQ(dc.Texts()[0].colour, kRed);
    EXPECT_EQ(dc.Texts()[0].align, kAlignCentreTop);
}

TEST(RecordingDC, FailedFontSelectionChangesNothing) {
    RecordingDC dc;
    EXPECT_FALSE(dc.HasFont());
    EXPECT_EQ(dc.GetTextExtent("123").cx, 0);
    EXPECT_EQ(dc.GetTextMetrics().height, 0);

    ASSERT_TRUE(dc.SelectFont({"OCRB Vornel Glyph", 250, 0, 400, false}));
    const TextExtent before = dc.GetTextExtent("123");
    EXPECT_FALSE(dc.SelectFont({"No Such Face", 500, 0, 400, false}));
    EXPECT_EQ(dc.SelectedFont().face, "OCRB Vornel Glyph");
    EXPECT_EQ(dc.GetTextExtent("123").cx, before.cx);
    EXPECT_EQ(dc.GetTextExtent("123").cy, 250);

    ASSERT_EQ(dc.FontSelections().size(), 2u);
    EXPECT_TRUE(dc.FontSelections()[0].ok);
    EXPECT_FALSE(dc.FontSelections()[1].ok);
    EXPECT_EQ(dc.FontSelections()[1].font.face, "No Such Face");
}

TEST(RecordingDC, MeasuresWithTheSelectedFont) {
    RecordingDC dc;
    const FontFace* ocrb = FontService::Instance().Resolve("OCRB Vornel Glyph", 400, false);
    ASSERT_NE(ocrb, nullptr);
    for (int height : {125, 139, 1000}) {
        SCOPED_TRACE(height);
        // Escapement does not change the unrotated extent.
        ASSERT_TRUE(dc.SelectFont({"OCRB Vornel Glyph", height, 2700, 400, false}));
        TextExtent e = dc.GetTextExtent("9780306406157");
        EXPECT_EQ(e.cx, ocrb->Extent("9780306406157", height).cx);
        EXPECT_EQ(e.cy, height);
        FontMetrics m = dc.GetTextMetrics();
        EXPECT_EQ(m.height, height);
        EXPECT_EQ(m.maxCharWidth, ocrb->Metrics(height).maxCharWidth);
    }
    ASSERT_TRUE(dc.SelectFont({"Arial", 125, 0, 700, false}));
    EXPECT_GT(dc.GetTextExtent("WWW").cx, dc.GetTextExtent("iii").cx);
}

TEST(RecordingDC, DegenerateInputIsSafe) {
    RecordingDC dc(0, -5);
    EXPECT_EQ(dc.PixelsPerInchX(), 96);
    EXPECT_EQ(dc.PixelsPerInchY(), 96);
    EXPECT_EQ(RecordingDC(600, 300).PixelsPerInchY(), 300);

    const Point p[1] = {{1, 1}};
    dc.Polygon(nullptr, 4);
    dc.Polygon(p, 0);
    dc.Polygon(p, -1);
    dc.DottedOutline(nullptr, 4, kBlack);
    EXPECT_TRUE(dc.Polygons().empty());
    EXPECT_TRUE(dc.Outlines().empty());
    EXPECT_TRUE(dc.Ops().empty());

    ASSERT_TRUE(dc.SelectFont({"Arial", 125, 0, 400, false}));
    dc.TextOut({0, 0}, std::string_view("a\0\xFF", 3));
    dc.TextOut({0, 0}, "");
    ASSERT_EQ(dc.Texts().size(), 2u);
    EXPECT_EQ(dc.Texts()[0].text.size(), 3u);
    EXPECT_EQ(dc.AllText(), std::string("a\0\xFF", 3));
    EXPECT_GE(dc.GetTextExtent(std::string_view("\0\x81\x8D", 3)).cx, 0);

    dc.ClearRecording();
    EXPECT_TRUE(dc.Ops().empty());
    EXPECT_TRUE(dc.Texts().empty());
    EXPECT_TRUE(dc.HasFont());
}

}  // namespace
}  // namespace vg

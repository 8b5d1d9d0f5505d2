#include <gtest/gtest.h>

#include "render/recordingdc.h"

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

    const RecordKind order[] = {RecordKind::WindowExtent, RecordKind::Polygon,
                                RecordKind::DottedOutline, RecordKind::Polygon,
                                RecordKind::SelectFont, RecordKind::Text, RecordKind::Line};
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

}  // namespace
}  // namespace vg

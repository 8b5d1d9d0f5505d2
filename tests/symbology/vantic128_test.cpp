#include <gtest/gtest.h>

#include <algorithm>

#include "model/catalogue.h"
#include "device/picture.h"
#include "device/recordingdc.h"
#include "symbolfixture.h"
#include "render/drawsymbol.h"
#include "symbology/code128.h"
#include "symbology/encode.h"

namespace vg {
namespace {

void SetUpVantic(int variation) {
    test::PlainSettings(2, variation);
    SymbolSettings.FontName4humanreadable = "Arial";
    SymbolSettings.BarHeight = 36;
    SymbolSettings.Align = 1;
    SetEmbeddingFactors(variation);
    SetText(SymbolSettings.MainText, "123456");
    SetText(SymbolSettings.OriginalMainText, "123456");
    ASSERT_EQ(EncodeCurrentVariation(), 1);
}

int MinX(const RecordedPolygon& p) {
    return std::min_element(p.points.begin(), p.points.end(), [](Point a, Point b) { return a.x < b.x; })->x;
}
int MaxX(const RecordedPolygon& p) {
    return std::max_element(p.points.begin(), p.points.end(), [](Point a, Point b) { return a.x < b.x; })->x;
}

TEST(Vantic128, EndPiecesPictureAndSideText) {
    for (int v : {116, 117, 121}) {
        SCOPED_TRACE(v);
        SetUpVantic(v);
        RecordingDC dc(1000, 1000);
        ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
        const auto black = dc.PolygonsIn(Rgb{0, 0, 0});
        // 3 data values, check, stop: 4 x 3 + 4 bars, then the two end pieces.
        ASSERT_EQ(black.size(), 18u);
        const RecordedPolygon& left = black[16];
        const RecordedPolygon& right = black[17];
        ASSERT_EQ(left.points.size(), 3u);
        ASSERT_EQ(right.points.size(), 3u);
        EXPECT_LT(MinX(left), MinX(black[0]));
        EXPECT_GT(MaxX(right), MaxX(black[15]));

        // The picture comes last: white box, then its shapes, left of the bars.
        const EmbeddingFactors f = EmbeddingFactorsOf(v);
        const int height = static_cast<int>(36.0 / 72 * 1000 * f.p);
        const int width = static_cast<int>(height * 384.0 / 301.0);
        const auto& polygons = dc.Polygons();
        const std::size_t box = polygons.size() - VanticPicture().shapes.size() - 1;
        ASSERT_EQ(polygons[box].brush, (Rgb{255, 255, 255}));
        EXPECT_EQ(polygons[box].points[2].x - polygons[box].points[0].x, width);
        EXPECT_EQ(polygons[box].points[2].y - polygons[box].points[0].y, height);
        EXPECT_LE(MaxX(polygons[box]), MinX(left));

        const bool beside = v == 117;
        ASSERT_EQ(dc.AllText(), "C 12 34 56");
        const RecordedText& first = dc.Texts().front();
        EXPECT_EQ(first.at.x > MaxX(right), beside);
        EXPECT_EQ(first.opaque, !beside);
        if (beside) {
            EXPECT_EQ(dc.Texts().size(), 10u);  // one character at a time
        }
    }
}

TEST(Vantic128, PictureTextOfAnyBytes) {
    const Picture& p = VanticPicture();
    EXPECT_EQ(p.width, 384);
    EXPECT_EQ(p.height, 301);
    EXPECT_GE(p.shapes.size(), 5u);
    const char* bad[] = {"picture 0 0\nfill 300 0 0\npolygon 1,2 3", "polygon 1,1 2,2 x,3\npolygon", "\xff\x00\n#",
                         "fill 1 2\npolygon 99999,1 2,2 3,3"};
    for (const char* text : bad) EXPECT_TRUE(ParsePicture(text).shapes.empty()) << text;
}

}  // namespace
}  // namespace vg

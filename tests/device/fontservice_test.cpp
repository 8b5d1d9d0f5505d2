#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "device/fontservice.h"

namespace vg {
namespace {

const FontFace* Face(const char* family, int weight = 400, bool italic = false) {
    return FontService::Instance().Resolve(family, weight, italic);
}

std::string FileName(const FontFace* face) {
    const std::string& f = face->File();
    return f.substr(f.find_last_of('/') + 1);
}

TEST(FontService, ResolvesFacesAndAliasesToInstalledFiles) {
    struct Case {
        const char* family;
        int weight;
        bool italic;
        const char* file;
    };
    const Case cases[] = {
        {"Arial", 400, false, "LiberationSans-Regular.ttf"},
        {"ARIAL", 0, false, "LiberationSans-Regular.ttf"},
        {"Arial", 700, false, "LiberationSans-Bold.ttf"},
        {"Arial", 400, true, "LiberationSans-Italic.ttf"},
        {"Arial", 700, true, "LiberationSans-BoldItalic.ttf"},
        {"Liberation Sans", 400, false, "LiberationSans-Regular.ttf"},
        {"Times New Roman", 400, false, "LiberationSerif-Regular.ttf"},
        {"Helvetica", 400, false, "NimbusSans-Regular.otf"},  // an alias of the system's rules
        {"DejaVu Sans", 700, false, "DejaVuSans-Bold.ttf"},
        {"OCRB Vornel Glyph", 400, false, "OCRB.otf"},
        {"OCRB Vornel Glyph", 700, false, "OCRB.otf"},
        {"OCRA Vornel Glyph", 400, false, "OCRA.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.weight) + (c.italic ? " italic" : ""));
        const FontFace* face = Face(c.family, c.weight, c.italic);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(FileName(face), c.file);
        ASSERT_NE(face->Face(), nullptr);
        EXPECT_GT(face->Face()->num_glyphs, 0);
    }
    EXPECT_NE(FontService::Instance().ConfigFile().find("vornel-fonts.conf"), std::string::npos);
}

TEST(FontService, UnknownOrUnrelatedFacesFailAndStayFailed) {
    const char* const families[] = {"No Such Face Anywhere", "", "   ", "sans-serif", "\xE9\x80\xFF", "OCR",
                                    "Arial Vornel Glyph"};
    for (const char* family : families) {
        SCOPED_TRACE(family);
        EXPECT_EQ(Face(family), nullptr);
        int matches = FontService::Instance().MatchCount();
        EXPECT_EQ(Face(family), nullptr);
        EXPECT_EQ(FontService::Instance().MatchCount(), matches);
    }
}

TEST(FontService, AliasesShareOneLoadedFace) {
    const FontFace* arial = Face("Arial");
    ASSERT_NE(arial, nullptr);
    int loads = FontService::Instance().FaceLoadCount();
    EXPECT_EQ(Face("Liberation Sans"), arial);
    EXPECT_EQ(Face("arial", 400, false), arial);
    EXPECT_EQ(FontService::Instance().FaceLoadCount(), loads);
}

// Values from the faces' Windows metrics (usWinAscent, usWinDescent, units per em).
TEST(FontService, MetricsFollowWindowsCellHeight) {
    struct Case {
        const char* family;
        int height;
        FontMetrics expected;  // maxCharWidth and aveCharWidth not checked here
    };
    const Case cases[] = {
        {"Arial", 2288, {2288, 1854, 434, 240, 0, 0}},
        {"Arial", 125, {125, 101, 24, 13, 0, 0}},
        {"Arial", -2048, {2288, 1854, 434, 240, 0, 0}},
        {"OCRB Vornel Glyph", 1274, {1274, 938, 336, 274, 0, 0}},
        {"OCRB Vornel Glyph", 125, {125, 92, 33, 27, 0, 0}},
        {"OCRA Vornel Glyph", 1250, {1250, 1048, 202, 250, 0, 0}},
        {"OCRA Vornel Glyph", -1000, {1250, 1048, 202, 250, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.height));
        const FontFace* face = Face(c.family);
        ASSERT_NE(face, nullptr);
        FontMetrics m = face->Metrics(c.height);
        EXPECT_EQ(m.height, c.expected.height);
        EXPECT_EQ(m.ascent, c.expected.ascent);
        EXPECT_EQ(m.descent, c.expected.descent);
        EXPECT_EQ(m.internalLeading, c.expected.internalLeading);
    }
}

TEST(FontService, CellHeightIsTheRequestedHeightAtAnySize) {
    for (const char* family : {"Arial", "OCRB Vornel Glyph", "OCRA Vornel Glyph"}) {
        const FontFace* face = Face(family, 700, true);
        ASSERT_NE(face, nullptr);
        for (int h : {1, 2, 7, 50, 99, 125, 139, 250, 1000, 9999, 100000}) {
            SCOPED_TRACE(std::string(family) + " " + std::to_string(h));
            FontMetrics m = face->Metrics(h);
            EXPECT_EQ(m.height, h);
            EXPECT_EQ(m.ascent + m.descent, h);
            EXPECT_GE(m.descent, 0);
            EXPECT_GE(m.ascent, m.descent);
            EXPECT_GE(m.internalLeading, 0);
            EXPECT_LT(m.internalLeading, h);
            EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
            EXPECT_EQ(face->Extent("Hg", h).cy, h);
        }
    }
}

TEST(FontService, ZeroHeightMeasuresNothing) {
    const FontFace* face = Face("Arial");
    ASSERT_NE(face, nullptr);
    FontMetrics m = face->Metrics(0);
    EXPECT_EQ(m.height, 0);
    EXPECT_EQ(m.maxCharWidth, 0);
    TextExtent e = face->Extent("123", 0);
    EXPECT_EQ(e.cx, 0);
    EXPECT_EQ(e.cy, 0);
}

TEST(FontService, OcrFacesAreMonospaced) {
    for (const char* family : {"OCRB Vornel Glyph", "OCRA Vornel Glyph"}) {
        SCOPED_TRACE(family);
        const FontFace* face = Face(family);
        ASSERT_NE(face, nullptr);
        for (char d = '0'; d <= '9'; ++d) EXPECT_EQ(face->Advance(d), face->Advance('0')) << d;
        FontMetrics m = face->Metrics(1000);
        EXPECT_EQ(m.maxCharWidth, face->Extent("0", 1000).cx);
        EXPECT_NEAR(face->Extent("0123456789", 1000).cx, 10 * face->Extent("0", 1000).cx, 5);
    }
}

TEST(FontService, ExtentIsAdditiveAndProportional) {
    const char* const texts[] = {"",  "1",    "0123456789",   "ISBN 978-0-306-40615-7",
                                 "W", "iiii", "\x80\xE9\xFF", "(01)09501101530003"};
    for (const char* family : {"Arial", "OCRB Vornel Glyph"}) {
        const FontFace* face = Face(family);
        ASSERT_NE(face, nullptr);
        for (const char* a : texts) {
            for (const char* b : texts) {
                SCOPED_TRACE(std::string(family) + " [" + a + "] [" + b + "]");
                int joined = face->Extent(std::string(a) + b, 125).cx;
                EXPECT_NEAR(joined, face->Extent(a, 125).cx + face->Extent(b, 125).cx, 1);
            }
            // Twice the height, twice the width (within rounding).
            EXPECT_NEAR(face->Extent(a, 2000).cx, 2 * face->Extent(a, 1000).cx, 1);
        }
        EXPECT_EQ(face->Extent("", 125).cx, 0);
        EXPECT_EQ(face->Extent("", 125).cy, 125);
    }
    EXPECT_LT(Face("Arial")->Extent("iiii", 125).cx, Face("Arial")->Extent("WWWW", 125).cx);
}

TEST(FontService, Windows1252BytesMapToUnicode) {
    struct Case {
        unsigned char byte;
        char32_t code;
    };
    const Case cases[] = {{'A', U'A'},    {0x00, 0x00}, {0x7F, 0x7F},   {0x80, 0x20AC}, {0x81, 0x81},
                          {0x8A, 0x0160}, {0x8D, 0x8D}, {0x92, 0x2019}, {0x96, 0x2013}, {0x9D, 0x9D},
                          {0x9F, 0x0178}, {0xA0, 0xA0}, {0xE9, 0xE9},   {0xFF, 0xFF}};
    for (const Case& c : cases) EXPECT_EQ(Cp1252ToUnicode(c.byte), c.code) << int(c.byte);
}

TEST(FontService, Windows1252TextFindsGlyphs) {
    const FontFace* face = Face("Arial");
    ASSERT_NE(face, nullptr);
    for (unsigned char b : {0x80, 0xE9, 0x8A, 0x9F, 0xA9, 0xDF, 0xFC}) {
        SCOPED_TRACE(int(b));
        EXPECT_NE(face->GlyphIndex(b), 0u);
        EXPECT_EQ(face->GlyphIndex(b), FT_Get_Char_Index(face->Face(), Cp1252ToUnicode(b)));
        EXPECT_GT(face->Extent(std::string(1, static_cast<char>(b)), 125).cx, 0);
    }
    // "é" is as wide as "e" in this face; the euro sign has its own glyph, not ".notdef".
    EXPECT_EQ(face->Advance(0xE9), face->Advance('e'));
    EXPECT_NE(face->GlyphIndex(0x80), face->GlyphIndex('E'));
}

TEST(FontService, ArbitraryBytesMeasureWithoutFault) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const char* family : {"Arial", "OCRB Vornel Glyph", "OCRA Vornel Glyph"}) {
        SCOPED_TRACE(family);
        const FontFace* face = Face(family);
        ASSERT_NE(face, nullptr);
        long long sum = 0;
        for (int b = 0; b < 256; ++b) {
            EXPECT_GE(face->Advance(static_cast<unsigned char>(b)), 0);
            sum += face->Extent(all.substr(b, 1), 1000).cx;
        }
        EXPECT_NEAR(face->Extent(all, 1000).cx, sum, 256);
        EXPECT_NEAR(face->Extent(std::string_view("\0\0", 2), 1000).cx,
                    2 * face->Extent(std::string_view("\0", 1), 1000).cx, 1);
    }
}

TEST(FontService, RepeatedResolvingAndMeasuringIsCached) {
    const FontFace* first = Face("OCRB Vornel Glyph");
    ASSERT_NE(first, nullptr);
    const int expected = first->Extent("4006381333931", 139).cx;
    int matches = FontService::Instance().MatchCount();
    int loads = FontService::Instance().FaceLoadCount();
    long long total = 0;
    for (int i = 0; i < 100000; ++i) {
        const FontFace* face = FontService::Instance().Resolve("OCRB Vornel Glyph", 400, false);
        total += face->Extent("4006381333931", 139).cx;
    }
    EXPECT_EQ(total, 100000LL * expected);
    EXPECT_EQ(FontService::Instance().MatchCount(), matches);
    EXPECT_EQ(FontService::Instance().FaceLoadCount(), loads);
}

TEST(FontService, ConfigPathFollowsTheEnvironment) {
    const char* saved = std::getenv("VGL_RESOURCE_DIR");
    std::string keep = saved != nullptr ? saved : "";
    setenv("VGL_RESOURCE_DIR", "/tmp/elsewhere", 1);
    EXPECT_EQ(FontConfigPath(), "/tmp/elsewhere/fonts/vornel-fonts.conf");
    setenv("VGL_RESOURCE_DIR", "", 1);
    EXPECT_EQ(FontConfigPath(), std::string(VGL_RESOURCE_DIR) + "/fonts/vornel-fonts.conf");
    if (saved != nullptr)
        setenv("VGL_RESOURCE_DIR", keep.c_str(), 1);
    else
        unsetenv("VGL_RESOURCE_DIR");
}

}  // namespace
}  // namespace vg

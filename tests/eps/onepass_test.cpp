// Number texts against the C library, the one-pass length field and the
// cached glyph procedures.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "eps/epsbody.h"
#include "eps/epswriter.h"
#include "epstestfiles.h"
#include "model/symbolsettings.h"
#include "symbology/encode.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

std::string Printf(double v, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

void ExpectLikePrintf(double v, int decimals) {
    const std::string expected = Printf(v, decimals);
    ASSERT_EQ(FixedText(v, decimals), expected) << v << " with " << decimals;
    std::string appended = "x";
    AppendFixed(appended, v, decimals);
    ASSERT_EQ(appended, "x" + expected);
}

TEST(FixedText, EdgesLikePrintf) {
    const double values[] = {0.0,
                             -0.0,
                             0.5,
                             1.5,
                             2.5,
                             -2.5,
                             0.05,
                             0.15,
                             0.25,
                             0.35,
                             1e-7,
                             5e-7,
                             -5e-7,
                             4.9999995,
                             0.0000005,
                             0.00000049999999,
                             1234567.1234567,
                             9.9999999,
                             99.995,
                             4503599627370495.5,
                             9007199254740993.0,
                             1.8e19,
                             1.9e19,
                             1e22,
                             DBL_MIN,
                             DBL_TRUE_MIN,
                             DBL_MAX,
                             -DBL_MAX,
                             67.608,
                             69.448545,
                             0.936,
                             2.675};
    for (double v : values)
        for (int d = 0; d <= 9; ++d) ExpectLikePrintf(v, d);
}

TEST(FixedText, RandomValuesLikePrintf) {
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200000; ++i) {
        // Bits of every magnitude that layouts can produce, and exact halves.
        double v;
        if (i % 3 == 0) {
            uint64_t bits = random();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v)) continue;
        } else if (i % 3 == 1) {
            v = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 70);
        } else {
            const int d = static_cast<int>(random() % 8);
            v = (static_cast<double>(random() % 100000000) + 0.5) / std::pow(10.0, d);
        }
        if (random() & 1) v = -v;
        ASSERT_NO_FATAL_FAILURE(ExpectLikePrintf(v, static_cast<int>(random() % 10)));
    }
}

TEST(EpsOutput, PutFixedWritesTheNumberOnly) {
    test::ScratchDir dir;
    EpsOutput out;
    ASSERT_TRUE(out.Open(dir.File("n.txt").c_str()));
    out.PutFixed(-1.25, 4);
    out.PutFixed(35, 6);
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(test::ReadBytes(dir.File("n.txt")), "-1.250035.000000");
}

uint32_t U32At(const std::string& bytes, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// A body larger than the channel's buffer reaches the file before the length is
// known; the length field is then patched on disk.
TEST(WriteEpsFile, LengthOfABodyLargerThanTheBuffer) {
    test::ScratchDir dir;
    test::FactorySymbol(16, 72, "03600029145");
    EpsOptions o;
    o.WithPreview = false;
    o.Title = "big";
    o.Extent = SymbolExtent{0, 0, 1000, 1000};
    o.symbolParts = [](const EpsOptions& opt) {
        EpsSymbolParts p = PlainSymbolParts(opt.Extent, 0);
        p.writeBody = [](EpsOutput& out) {
            for (int i = 0; i < 40000; ++i) out.PutLine("0.000000 0.000000 m 1.000000 1.000000 l");
        };
        return p;
    };
    ASSERT_TRUE(WriteEpsFile(dir.File("big.eps"), o));
    const std::string bytes = test::ReadBytes(dir.File("big.eps"));
    ASSERT_GT(bytes.size(), 1u << 20);
    EXPECT_EQ(U32At(bytes, 8), bytes.size() - 30);
    EXPECT_EQ(bytes.compare(bytes.size() - 7, 7, "%%EOF\r\n"), 0);
}

void Ean13(const std::string& data, const char* font) {
    test::FactorySymbol(6, 26, data);
    SymbolSettings.FontName4humanreadable = font;
    ASSERT_EQ(EncodeCurrentVariation(), 1);
}

std::string WithoutDate(std::string text) {
    const std::size_t at = text.find("%%CreationDate: ");
    if (at != std::string::npos) text.erase(at, text.find("\r\n", at) - at);
    return text;
}

std::string WrittenSymbol(const test::ScratchDir& dir, const std::string& name) {
    EXPECT_TRUE(WriteCurrentSymbolEps(dir.File(name), false, false, "t"));
    return WithoutDate(test::ReadBytes(dir.File(name)));
}

// Files of a series with other digits carry the procedures of their own digits,
// and a repeated number gives the same file again.
TEST(WriteCurrentSymbolEps, GlyphProceduresFollowEachFilesDigits) {
    test::ScratchDir dir;
    const std::string four = std::string(OcrGlyphName(OcrFont::B, '4')) + "{pre";
    const std::string two = std::string(OcrGlyphName(OcrFont::B, '2')) + "{pre";
    Ean13("400638133393", "OCRB Vornel Glyph");
    const std::string first = WrittenSymbol(dir, "a.eps");
    Ean13("111111111111", "OCRB Vornel Glyph");
    const std::string ones = WrittenSymbol(dir, "b.eps");
    Ean13("400638133393", "OCRB Vornel Glyph");
    EXPECT_EQ(WrittenSymbol(dir, "c.eps"), first);

    auto has = [](const std::string& text, const std::string& what) {
        return text.find("/" + what) != std::string::npos;
    };
    EXPECT_TRUE(has(first, four));
    EXPECT_FALSE(has(first, two));
    // 111111111111 has the check digit 6.
    EXPECT_FALSE(has(ones, four));
    EXPECT_TRUE(has(ones, std::string(OcrGlyphName(OcrFont::B, '1')) + "{pre"));
    EXPECT_TRUE(has(ones, std::string(OcrGlyphName(OcrFont::B, '6')) + "{pre"));
    EXPECT_FALSE(has(ones, std::string(OcrGlyphName(OcrFont::B, '3')) + "{pre"));

    Ean13("400638133393", "Arial");
    EXPECT_EQ(WrittenSymbol(dir, "d.eps").find("/pre {"), std::string::npos) << "no outlines, no glyphs";
}

}  // namespace
}  // namespace vg

// ITF, Code 25, Codabar, MSI/Plessey, POSTNET, FIM and Pharmacode: patterns
// element by element, and the fixed geometry of the envelope symbols.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "device/recordingdc.h"
#include "render/drawsymbol.h"
#include "symbolfixture.h"
#include "symbology/check.h"
#include "symbology/encode.h"
#include "symbology/linear.h"

namespace vg {
namespace {

const Rgb kBlack{0, 0, 0};

struct EncodeCase {
    const char* name;
    int family;
    int variation;
    const char* main;
    const char* addOn;
    int start, stop;  // Codabar letters
    int result;
    const char* encoded;
    std::string pattern;  // "" with result 0: the pattern is empty
};

std::string Repeat(const std::string& s, int n) {
    std::string r;
    while (n-- > 0) r += s;
    return r;
}

// Runs check dispatch and encoder as the pipeline does.
int Encode(const EncodeCase& c) {
    test::PlainSettings(c.family, c.variation);
    SettingsRecord& s = SymbolSettings;
    SetText(s.MainText, c.main);
    SetText(s.OriginalMainText, c.main);
    SetText(s.AddOnText, c.addOn);
    s.StartCharacter = c.start;
    s.StopCharacter = c.stop;
    ComputeCheckCharacters(c.main, c.main[0] || c.addOn[0]);
    return EncodeCurrentVariation();
}

const std::string kItfStart = "B1S1B1S1", kItfStop = "B2S1B1";

TEST(LinearEncoders, PatternsElementByElement) {
    const std::string itf12 = kItfStart + "B2S1B1S2B1S1B1S1B2S2" + kItfStop;
    // ITF-14 1001234500001 + check 7; second symbol 12345 + check 7.
    const std::string itf14 = ItfElements("10012345000017");
    const std::string addOn = ItfElements("123457");
    const std::string postnet12345 =
        "L"
        "SSSLL"
        "SSLSL"
        "SSLLS"
        "SLSSL"
        "SLSLS"
        "SLSLS"
        "L";
    const std::string codabarA123B =
        "B1S1B2S2B1S2B1S1"
        "B1S1B1S1B2S2B1S1"
        "B1S1B1S2B1S1B2S1"
        "B2S2B1S1B1S1B1S1"
        "B1S2B1S2B1S1B2S1";
    const std::string msi5 = "B1S2B2S1B1S2B2S1";
    const EncodeCase cases[] = {
        {"Itf12", 10, 39, "12", "", 0, 0, 1, "12", itf12},
        {"ItfOdd", 10, 39, "123", "", 0, 0, 0, "", ""},
        {"ItfMode10", 10, 40, "1234567", "", 0, 0, 1, "12345670", ItfElements("12345670")},
        {"CanadianCoupon", 10, 98, "123456", "", 0, 0, 1, "612345", ItfElements("612345")},
        {"Itf14Alone", 10, 41, "1001234500001", "", 0, 0, 1, "10012345000017", itf14},
        {"Itf14BothParts", 10, 42, "1001234500001", "12345", 0, 0, 1, "10012345000017 123457", itf14 + "++" + addOn},
        {"Itf14SecondAlone", 10, 41, "", "12345", 0, 0, 1, "123457", addOn},
        {"JisItf5", 10, 43, "12345", "", 0, 0, 1, "123457", ItfElements("123457")},
        {"Astra", 10, 99, "12345", "", 0, 0, 1, "123453", ItfElements("123453")},
        {"Code25", 3, 10, "0", "", 0, 0, 1, "0",
         "B2S1B2S1B1S1"
         "B1S1B1S1B2S1B2S1B1S1"
         "B2S1B1S1B2"},
        {"CodabarA123B", 1, 1, "123", "", 0, 1, 1, "A123B", codabarA123B},
        {"CodabarMod16", 1, 5, "37859", "", 0, 1, 1, "A37859+B", CodabarElements("A37859+B")},
        {"CodabarBadChar", 1, 1, "12x", "", 0, 0, 0, "", ""},
        {"MsiDoubleMod10", 11, 46, "1234567", "", 0, 0, 1, "123456741", MsiElements("123456741")},
        {"MsiDigit5", 11, 47, "5", "", 0, 0, 1, "59",
         "B2S1" + msi5 +
             "B2S1B1S2B1S2B2S1"
             "B1S2B1"},
        {"MsiMod11NoCheck", 11, 48, "6", "", 0, 0, 0, "", ""},  // check value 10
        {"Postnet12345", 13, 52, "12345", "", 0, 0, 1, "123455", postnet12345},
        {"FimA", 7, 30, "", "", 0, 0, 1, "A", "B1S1B1S5B1S5B1S1B1"},
        {"FimD", 7, 33, "", "", 0, 0, 1, "D", "B1S1B1S1B1S3B1S3B1S1B1S1B1"},
        {"Pharmacode1", 12, 49, "1", "", 0, 0, 1, "1", "B1S2"},
        {"Pharmacode3", 12, 49, "3", "", 0, 0, 1, "3", "B1S2B1S2"},
        {"Pharmacode4", 12, 97, "4", "", 0, 0, 1, "4", "B1S2B2S2"},
        {"Pharmacode131070", 12, 49, "131070", "", 0, 0, 1, "131070", Repeat("B2S2", 16)},
        {"Pharmacode131071", 12, 49, "131071", "", 0, 0, 0, "", ""},
        {"Pharmacode0", 12, 49, "0", "", 0, 0, 0, "", ""},
        // 311 = 128 + 64 + 64 + 32 + 16 + 4 + 2 + 1: narrow, narrow, wide, wide, wide, narrow x3.
        {"CompInput200", 12, 50, "200", "", 0, 0, 1, "311", "B1S2B1S2B2S2B2S2B2S2B1S2B1S2B1S2"},
        {"CompInputTooLarge", 12, 50, "600", "", 0, 0, 0, "", ""},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Encode(c), c.result);
        EXPECT_EQ(BarPattern, c.pattern);
        EXPECT_EQ(EncodedText, c.encoded);
        EXPECT_EQ(BarPattern.size() % 2, 0u);
    }
}

TEST(LinearEncoders, FailedSecondItf14SymbolKeepsTheFirst) {
    // An incomplete second number has an odd digit count with its check.
    const EncodeCase c{"", 10, 41, "1001234500001", "1234", 0, 0, 0, "", ""};
    EXPECT_EQ(Encode(c), 0);
    EXPECT_EQ(BarPattern, ItfElements("10012345000017"));
}

TEST(LinearEncoders, StaleCheckCharacterIsNotEncodedWhereNoneBelongs) {
    for (int v : {39, 98}) {
        test::PlainSettings(10, v);
        SetText(SymbolSettings.MainText, "123456");
        SymbolSettings.CheckCharacter1 = '7';
        ASSERT_EQ(EncodeCurrentVariation(), 1) << v;
        EXPECT_EQ(EncodedText.size(), 6u) << v;
    }
}

TEST(LinearEncoders, PharmacodeDecompositionAddsUp) {
    // Every value has one narrow-first decomposition whose bars sum to it.
    for (std::uint64_t n = 1; n <= kPharmacodeMax; n += 97) {
        const std::string p = PharmacodeElements(n);
        ASSERT_FALSE(p.empty()) << n;
        std::uint64_t sum = 0;
        const std::size_t bars = p.size() / 4;
        for (std::size_t i = 0; i < bars; ++i) sum += (p[4 * i + 1] == '2' ? 2u : 1u) << (bars - 1 - i);
        EXPECT_EQ(sum, n);
        EXPECT_LE(bars, 16u);
    }
}

// Drawn bars of the current settings on a file-output recording, left edges in output units.
std::vector<RecordedPolygon> DrawnBars() {
    RecordingDC dc(1000, 1000);
    EXPECT_TRUE(DrawSymbol(dc, ClipRect{}, 1, 0, nullptr));
    return dc.PolygonsIn(kBlack);
}

int Left(const RecordedPolygon& p) {
    return std::min_element(p.points.begin(), p.points.end(), [](Point a, Point b) { return a.x < b.x; })->x;
}
int Top(const RecordedPolygon& p) {
    return std::min_element(p.points.begin(), p.points.end(), [](Point a, Point b) { return a.y < b.y; })->y;
}

TEST(EnvelopeSymbols, PostnetBarsAndWideAreaMargin) {
    const EncodeCase c{"", 13, 52, "12345", "", 0, 0, 1, "", ""};
    ASSERT_EQ(Encode(c), 1);
    ASSERT_EQ(BarPattern.size(), 32u);
    SymbolSettings.BarHeight = 9;  // 0.125 inch
    const auto bars = DrawnBars();
    ASSERT_EQ(bars.size(), 32u);
    // Pitch 0.0475 inch; the first bar after the 1/72-inch quiet zone.
    EXPECT_EQ(Left(bars[0]), 13);
    EXPECT_NEAR(Left(bars[31]) - Left(bars[0]), 31 * 47.5, 1);
    // Half bars (S) start 0.075 inch below the full ones, at any magnification.
    EXPECT_EQ(Top(bars[1]) - Top(bars[0]), 75);
    SymbolSettings.Magnification = 200;
    const auto magnified = DrawnBars();
    EXPECT_NEAR(Top(magnified[1]) - Top(magnified[0]), 75, 1);
    EXPECT_NEAR(Left(magnified[1]) - Left(magnified[0]), 95, 1);
    SymbolSettings.Magnification = 100;
    // Wide area: the rectangle ends 1/72 inch after the last bar.
    RecordingDC dc(1000, 1000);
    CPostnetSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
    RenderSymbol(symbol);
    EXPECT_DOUBLE_EQ(symbol.m_rightMargin, 32 * 0.0475 - 0.0275 + 1.0 / 72.0);
    EXPECT_EQ(symbol.SymbolBox()[2].x, static_cast<int>((1.0 / 72 + 32 * 0.0475 - 0.0275 + 1.0 / 72) * 1000));
}

TEST(EnvelopeSymbols, PostnetLowerRightAreaIsOutlinedOnScreenOnly) {
    const EncodeCase c{"", 13, 51, "12345", "", 0, 0, 1, "", ""};
    ASSERT_EQ(Encode(c), 1);
    for (int output : {0, 1}) {
        RecordingDC dc(96, 96);
        CPostnetSymbol symbol(dc, ClipRect{0, 0, 100, 100}, output, 0, nullptr);
        RenderSymbol(symbol);
        EXPECT_EQ(dc.Outlines().size(), output == 0 ? 1u : 0u);
        const Point* box = symbol.SymbolBox();
        EXPECT_EQ(box[2].x - box[0].x, 4750);
        EXPECT_EQ(Left(dc.PolygonsIn(kBlack).at(0)) - box[0].x, 875);
    }
}

TEST(EnvelopeSymbols, FimBarsStandOnTheGrid) {
    // Bar positions (1-based) of nine, 0.06 inch apart.
    const struct {
        int variation;
        std::vector<int> positions;
    } cases[] = {
        {30, {1, 2, 5, 8, 9}}, {31, {1, 3, 4, 6, 7, 9}}, {32, {1, 2, 4, 6, 8, 9}}, {33, {1, 2, 3, 5, 7, 8, 9}}};
    for (const auto& c : cases) {
        for (int magnification : {100, 200}) {
            const EncodeCase e{"", 7, c.variation, "", "", 0, 0, 1, "", ""};
            ASSERT_EQ(Encode(e), 1);
            SymbolSettings.Magnification = magnification;
            const auto bars = DrawnBars();
            ASSERT_EQ(bars.size(), c.positions.size()) << c.variation;
            const int first = Left(bars[0]);
            EXPECT_EQ(first, 500) << "half-inch quiet zone at " << magnification;
            for (std::size_t i = 0; i < bars.size(); ++i)
                EXPECT_NEAR(Left(bars[i]) - first, (c.positions[i] - 1) * 60, 1) << c.variation << " bar " << i;
        }
    }
}

}  // namespace
}  // namespace vg

namespace vg {
namespace {

// Centre of bars [first, last] of a file-output drawing along x, output units.
double BarsCentre(const std::vector<RecordedPolygon>& bars, std::size_t first, std::size_t last) {
    int right = bars[last].points[0].x;
    for (Point p : bars[last].points) right = std::max(right, p.x);
    return (Left(bars[first]) + right) / 2.0;
}

TEST(ItfText, CentredUnderEachSymbolAndTurnedAboutTheFrame) {
    for (int bearer : {0, 14}) {
        const EncodeCase c{"", 10, 41, "1001234500001", "12345", 0, 0, 1, "", ""};
        ASSERT_EQ(Encode(c), 1);
        SettingsRecord& s = SymbolSettings;
        s.CurBarXDimension = 2.88;
        s.CurRatio = 2.5;
        s.BearerBar = bearer;
        s.Size = 12;
        s.Align = 1;
        s.DistanceToBars = 3;
        std::vector<CItfSymbol::SpecialText> flat;
        Point flatCorner;
        for (int rotation : {0, 90, 180, 270}) {
            s.Rotation = rotation;
            RecordingDC dc(1000, 1000);
            CItfSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
            RenderSymbol(symbol);
            const auto& texts = symbol.SpecialTexts();
            ASSERT_EQ(texts.size(), 2u);
            EXPECT_EQ(texts[0].text, "10012345000017");
            EXPECT_EQ(texts[1].text, "12345 7");
            EXPECT_EQ(dc.AllText(),
                      "10012345000017"
                      "12345 7");
            const Point corner = bearer ? symbol.BearerBox()[0] : symbol.SymbolBox()[0];
            if (rotation == 0) {
                flat = texts;
                flatCorner = corner;
                const auto bars = dc.PolygonsIn(kBlack);
                // 39 bars for 14 digits, 19 for 6; then the separator bar and the frame.
                ASSERT_GE(bars.size(), 58u);
                const std::size_t second = bearer ? 40 : 39;
                EXPECT_NEAR(texts[0].anchor.x + texts[0].width / 2.0, BarsCentre(bars, 0, 38), 40);
                EXPECT_NEAR(texts[1].anchor.x + texts[1].width / 2.0, BarsCentre(bars, second, second + 18), 40);
                // Below the frame by the distance and 0.041 inch.
                int barBottom = 0;
                for (Point p : bars[0].points) barBottom = std::max(barBottom, p.y);
                const int bottom = barBottom + (bearer ? bearer * 1000 / 72 : 0);
                EXPECT_NEAR(texts[0].anchor.y - bottom, static_cast<int>(3 * 1000 / 72.0) + 41, 2);
                continue;
            }
            // The same anchors, turned with the symbol about corner 0 of the frame.
            for (std::size_t i = 0; i < 2; ++i) {
                const int x = flat[i].anchor.x - flatCorner.x, y = flat[i].anchor.y - flatCorner.y;
                const Point turned = rotation == 90 ? Point{-y, x} : rotation == 180 ? Point{-x, -y} : Point{y, -x};
                EXPECT_EQ(texts[i].anchor.x - corner.x, turned.x) << rotation << " text " << i;
                EXPECT_EQ(texts[i].anchor.y - corner.y, turned.y) << rotation << " text " << i;
            }
            // The box grows to hold the texts.
            const Point* bg = symbol.BackgroundBox();
            const int bx0 = std::min({bg[0].x, bg[2].x}), bx1 = std::max({bg[0].x, bg[2].x});
            const int by0 = std::min({bg[0].y, bg[2].y}), by1 = std::max({bg[0].y, bg[2].y});
            for (const RecordedText& t : dc.Texts()) {
                EXPECT_GE(t.at.x, bx0);
                EXPECT_LE(t.at.x, bx1);
                EXPECT_GE(t.at.y, by0);
                EXPECT_LE(t.at.y, by1);
                EXPECT_EQ(t.font.escapement, (3600 - 10 * rotation) % 3600);
            }
        }
    }
}

}  // namespace
}  // namespace vg

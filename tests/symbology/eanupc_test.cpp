#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "device/recordingdc.h"
#include "symbolfixture.h"
#include "symbology/eanupc.h"

namespace vg {
namespace {

// Module strings of published symbols.
constexpr const char* kEan13_4006381333931 =
    "10100011010100111010111101111010001001011001101010100001010000101000010111010010000101100110101";
constexpr const char* kUpcA_036000291452 =
    "10100011010111101010111100011010001101000110101010110110011101001100110101110010011101101100101";
constexpr const char* kEan8_96385074 =
    "1010001011010111101111010110111010101001110111001010001001011100101";
constexpr const char* kUpcE_01234565 = "101011001100100110111101001110101110010101111010101";
constexpr const char* kUpcE_04252614 = "101001110100100110111001001101101011110011001010101";
constexpr const char* kUpcE_11234562 = "101001100100100110100001001110101100010000101010101";
constexpr const char* kAddOn_34 = "10110100001010100011";
constexpr const char* kAddOn_52495 = "10110111001010010011010011101010001011010110001";
constexpr const char* kIsbn_9780306406157 =
    "10101110110001001010011101111010100111010111101010101110011100101010000110011010011101000100101";

struct EncodeCase {
    const char* name;
    int variation;
    const char* main;
    char check1;
    char check2;
    const char* addOn;
    const char* coupon;
    const char* issnExtra;
    int result;
    std::string modules;  // main symbol, then add-on after a '|'
    const char* encoded;
};

std::string Expanded(std::string_view pattern) {
    std::size_t gap = pattern.find("++");
    if (gap == std::string_view::npos || gap % 2) return test::Modules(pattern);
    return test::Modules(pattern.substr(0, gap)) + "|" + test::Modules(pattern.substr(gap + 2));
}

TEST(EanUpcEncoder, MatchesPublishedSymbols) {
    using std::string;
    const EncodeCase cases[] = {
        {"EAN-13", 26, "400638133393", '1', 0, "", "", "", 1, kEan13_4006381333931, "4006381333931"},
        {"EAN-13 add-on 2", 26, "400638133393", '1', 0, "34", "", "", 1,
         string(kEan13_4006381333931) + "|" + kAddOn_34, "4006381333931 34"},
        {"EAN-13 add-on 5", 28, "400638133393", '1', 0, "52495", "", "", 1,
         string(kEan13_4006381333931) + "|" + kAddOn_52495, "4006381333931 52495"},
        {"UPC-A", 72, "03600029145", '2', 0, "", "", "", 1, kUpcA_036000291452, "036000291452"},
        {"UPC-A add-on", 73, "03600029145", '2', 0, "52495", "", "", 1,
         string(kUpcA_036000291452) + "|" + kAddOn_52495, "036000291452 52495"},
        {"EAN-8", 27, "9638507", '4', 0, "", "", "", 1, kEan8_96385074, "96385074"},
        {"EAN-8 add-on", 29, "9638507", '4', 0, "34", "", "", 1,
         string(kEan8_96385074) + "|" + kAddOn_34, "96385074 34"},
        {"UPC-E 6", 74, "123456", '5', 0, "", "", "", 1, kUpcE_01234565, "01234565"},
        {"UPC-E 6 b", 74, "425261", '4', 0, "", "", "", 1, kUpcE_04252614, "04252614"},
        {"UPC-E 11", 75, "04210000526", '4', 0, "", "", "", 1, kUpcE_04252614, "04252614"},
        {"UPC-E NS1", 101, "123456", '2', 0, "", "", "", 1, kUpcE_11234562, "11234562"},
        {"UPC-E NS1 11", 102, "11234500006", '2', 0, "34", "", "", 1,
         string(kUpcE_11234562) + "|" + kAddOn_34, "11234562 34"},
        {"ISBN 978", 35, "030640615", '7', '7', "", "", "", 1, kIsbn_9780306406157, "9780306406157"},
        {"ISBN-13 Adjusted", 105, "030640615", '7', '7', "52495", "", "", 1,
         string(kIsbn_9780306406157) + "|" + kAddOn_52495, "9780306406157 52495"},
        {"UPC coupon part", 61, "", '2', 0, "", "03600029145", "", 1, kUpcA_036000291452,
         "036000291452"},
        {"EAN coupon part", 81, "", '1', 0, "", "400638133393", "", 1, kEan13_4006381333931,
         "4006381333931"},
        {"add-on of 3 adds the start only", 26, "400638133393", '1', 0, "123", "", "", 1,
         string(kEan13_4006381333931) + "|1011", "4006381333931 123"},
    };
    for (const EncodeCase& c : cases) {
        test::PlainSettings(6, c.variation);
        SetText(SymbolSettings.MainText, c.main);
        SetText(SymbolSettings.AddOnText, c.addOn);
        SetText(SymbolSettings.CouponFormatUPCpartText, c.coupon);
        SymbolSettings.ISSNExtraDigits = c.issnExtra;
        SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c.check1);
        SymbolSettings.CheckCharacter2 = static_cast<uint8_t>(c.check2);
        EXPECT_EQ(EncodeEanUpc(c.variation), c.result) << c.name;
        EXPECT_EQ(Expanded(BarPattern), c.modules) << c.name;
        EXPECT_EQ(EncodedText, c.encoded) << c.name;
    }
}

TEST(EanUpcEncoder, GuardMarkersAndLetterSets) {
    test::PlainSettings(6, 26);
    SetText(SymbolSettings.MainText, "400638133393");
    SymbolSettings.CheckCharacter1 = '1';
    ASSERT_EQ(EncodeEanUpc(26), 1);
    // Start guard, short data bars, 0 0 6 3 8 1 in A B A A B B, centre, 3 3 3 9 3 1 in C.
    EXPECT_EQ(BarPattern,
              "B1S1B1ss" "S3B2S1B1" "S1B1S2B3" "S1B1S1B4" "S1B4S1B1" "T3A1T2A1" "R1C2R2C2"
              "LLS1B1S1B1S1ss" "B1S4B1S1" "B1S4B1S1" "B1S4B1S1" "B3S1B1S2" "B1S4B1S1" "C2R2C2R1"
              "LLB1S1B1");

    // UPC-A: number system and check digit have guard-length bars.
    test::PlainSettings(6, 72);
    SetText(SymbolSettings.MainText, "03600029145");
    SymbolSettings.CheckCharacter1 = '2';
    ASSERT_EQ(EncodeEanUpc(72), 1);
    EXPECT_EQ(BarPattern.substr(0, 16), "B1S1B1S3B2S1B1ss");
    EXPECT_EQ(BarPattern.substr(BarPattern.size() - 16), "LLC2R1C2R2B1S1B1");

    // ISSN: 977, the seven digits, the two extra digits and the EAN check.
    test::PlainSettings(9, 38);
    SetText(SymbolSettings.MainText, "0317847");
    SymbolSettings.ISSNExtraDigits = "00";
    SymbolSettings.CheckCharacter1 = '1';
    SymbolSettings.CheckCharacter2 = '1';
    ASSERT_EQ(EncodeEanUpc(38), 1);
    EXPECT_EQ(EncodedText, "9770317847001");
}

TEST(EanUpcEncoder, RefusesWhatItCannotEncode) {
    struct Case {
        const char* name;
        int variation;
        const char* main;
        char check1;
        char check2;
        const char* addOn;
    };
    const Case cases[] = {
        {"EAN-13 short", 26, "40063813339", '1', 0, ""},
        {"EAN-13 long", 26, "4006381333931", '1', 0, ""},
        {"EAN-13 no check", 26, "400638133393", 0, 0, ""},
        {"EAN-13 letter", 26, "40063813339X", '1', 0, ""},
        {"EAN-13 check ?", 26, "400638133393", '?', 0, ""},
        {"EAN-8 short", 27, "963850", '4', 0, ""},
        {"UPC-A empty", 72, "", '2', 0, ""},
        {"UPC-A no check", 72, "03600029145", 0, 0, ""},
        {"UPC-A 10 digits", 72, "0360002914", '2', 0, ""},
        {"UPC-E empty", 74, "", '5', 0, ""},
        {"UPC-E check letter", 74, "123456", 'X', 0, ""},
        {"UPC-E 5 digits", 74, "12345", '5', 0, ""},
        {"UPC-E not suppressible", 75, "01234500004", '5', 0, ""},
        {"UPC-E 11 short", 75, "0123", '5', 0, ""},
        {"ISBN no EAN check", 35, "030640615", '7', 0, ""},
        {"ISBN no check", 35, "030640615", 0, '7', ""},
        {"ISBN empty", 35, "", '7', '7', ""},
        {"add-on letter", 26, "400638133393", '1', 0, "3A"},
        {"add-on 5 letter", 26, "400638133393", '1', 0, "5249X"},
        {"not EAN/UPC", 11, "400638133393", '1', 0, ""},
    };
    for (const Case& c : cases) {
        test::PlainSettings(6, c.variation);
        SetText(SymbolSettings.MainText, c.main);
        SetText(SymbolSettings.AddOnText, c.addOn);
        SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c.check1);
        SymbolSettings.CheckCharacter2 = static_cast<uint8_t>(c.check2);
        BarPattern = "B1S1";
        EncodedText = "old";
        EXPECT_EQ(EncodeEanUpc(c.variation), 0) << c.name;
        EXPECT_TRUE(BarPattern.empty()) << c.name;
        EXPECT_TRUE(EncodedText.empty()) << c.name;
    }
}

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

TEST(EanUpcBars, AddOnGapIsTwelveModules) {
    SetUpEan13("34");
    SymbolSettings.Hidden = 1;
    RecordingDC dc;
    ASSERT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
    auto bars = Bars(dc);
    ASSERT_EQ(bars.size(), 37u);
    const double module = 2.5 / 72 * 1000;
    // Last main bar ends at module 95, add-on starts 12 modules later.
    EXPECT_NEAR(bars[30].points[0].x - bars[29].points[1].x, 12 * module, 1);
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

#include <gtest/gtest.h>

#include <string>

#include "geometry/settingsdefaults.h"
#include "symbolfixture.h"
#include "symbology/encode.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

struct WidthCase {
    const char* pattern;
    double ratio;
    int variation;
    double modules;
};

TEST(PatternWidth, CountsElementsByGrammar) {
    const WidthCase cases[] = {
        {"", 2.0, 11, 0},
        {"B1S2B1S1B2S1B2S1B1S1", 3.0, 11, 16},  // Code 39 start at ratio 3
        {"B1S2B1S1B2S1B2S1B1S1", 2.5, 11, 14.5},
        {"B1S1B1ssT2A2T2A1LLB1S1B1", 2.0, 26, 13},  // markers count nothing
        {"A4C3R2T1a1b1c1r1s1t1", 2.0, 26, 16},      // every letter case
        {"++", 2.0, 26, 9},                         // EAN/UPC add-on gap
        {"+1", 2.0, 26, 9},
        {"++", 2.0, 62, 10},   // coupon's second symbol
        {"++", 2.0, 41, 12},   // ITF-14 pair: the separator adds the rest
        {"B2S2", 3.0, 49, 7},  // Pharmacode wide space is 4 modules
        {"B2S2", 3.0, 50, 7},
        {"B2S2", 3.0, 97, 5},  // standard Pharmacode: 2 modules
        {"B2S2", 3.0, 11, 6},
        {"B1S", 2.0, 11, 1},  // trailing odd character ignored
        {"B", 2.0, 11, 0},
        {"1B2S", 2.0, 11, 0},  // digit where the letter belongs
        {"X9B0L5", 2.0, 11, 0},
    };
    for (const WidthCase& c : cases)
        EXPECT_DOUBLE_EQ(PatternModules(c.pattern, c.ratio, c.variation), c.modules)
            << c.pattern << " ratio " << c.ratio << " variation " << c.variation;
}

TEST(EncodedText, IsCutTo79Characters) {
    SetEncodedText(std::string(200, '7'));
    EXPECT_EQ(EncodedText.size(), kMaxEncodedText);
    SetEncodedText("12");
    EXPECT_EQ(EncodedText, "12");
}

TEST(Dispatch, VariationsWithoutEncoderLeaveNothingToDraw) {
    for (int v : {0, 57, 58, 112, 133, 200, -3}) {
        test::PlainSettings(1, v);
        SetText(SymbolSettings.MainText, "123");
        BarPattern = "B1S1B1";
        EncodedText = "old";
        EXPECT_EQ(EncodeCurrentVariation(), 0) << v;
        EXPECT_TRUE(BarPattern.empty()) << v;
        EXPECT_TRUE(EncodedText.empty()) << v;
    }
}

TEST(Dispatch, EveryEanUpcVariationEncodes) {
    struct Case {
        int variation;
        const char* main;
        char check1;
        char check2;
        const char* coupon;
        std::size_t modules;
    };
    const Case cases[] = {
        {26, "400638133393", '1', 0, "", 95},  {28, "400638133393", '1', 0, "", 95},
        {114, "003600029145", '2', 0, "", 95}, {27, "9638507", '4', 0, "", 67},
        {29, "9638507", '4', 0, "", 67},       {72, "03600029145", '2', 0, "", 95},
        {73, "03600029145", '2', 0, "", 95},   {74, "123456", '5', 0, "", 51},
        {75, "01234500006", '5', 0, "", 51},   {101, "123456", '2', 0, "", 51},
        {102, "11234500006", '2', 0, "", 51},  {35, "030640615", '7', '7', "", 95},
        {134, "030640615", '7', '7', "", 95},  {36, "123456789", '0', '0', "", 95},
        {61, "", '2', 0, "03600029145", 95},   {81, "", '1', 0, "400638133393", 95},
    };
    for (const Case& c : cases) {
        test::PlainSettings(6, c.variation);
        SetText(SymbolSettings.MainText, c.main);
        SetText(SymbolSettings.CouponFormatUPCpartText, c.coupon);
        SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c.check1);
        SymbolSettings.CheckCharacter2 = static_cast<uint8_t>(c.check2);
        EXPECT_EQ(EncodeCurrentVariation(), 1) << c.variation;
        EXPECT_EQ(test::Modules(BarPattern).size(), c.modules) << c.variation;
        EXPECT_EQ(BarPattern.size() % 2, 0u) << c.variation;
    }
}

TEST(Defaults, EmptyTheBarPattern) {
    test::PlainSettings(6, 27);
    SetText(SymbolSettings.MainText, "9638507");
    SymbolSettings.CheckCharacter1 = '4';
    ASSERT_EQ(EncodeCurrentVariation(), 1);
    ApplySymbolDefaults();
    EXPECT_TRUE(BarPattern.empty());
}

}  // namespace
}  // namespace vg

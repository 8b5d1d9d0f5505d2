#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "symbolfixture.h"
#include "symbology/eanupc.h"

namespace vg {
namespace {

// Module strings of published symbols.
constexpr const char* kEan13_4006381333931 =
    "10100011010100111010111101111010001001011001101010100001010000101000010111010010000101100110101";
constexpr const char* kUpcA_036000291452 =
    "10100011010111101010111100011010001101000110101010110110011101001100110101110010011101101100101";
constexpr const char* kEan8_96385074 = "1010001011010111101111010110111010101001110111001010001001011100101";
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
        {"EAN-13 add-on 2", 26, "400638133393", '1', 0, "34", "", "", 1, string(kEan13_4006381333931) + "|" + kAddOn_34,
         "4006381333931 34"},
        {"EAN-13 add-on 5", 28, "400638133393", '1', 0, "52495", "", "", 1,
         string(kEan13_4006381333931) + "|" + kAddOn_52495, "4006381333931 52495"},
        {"UPC-A", 72, "03600029145", '2', 0, "", "", "", 1, kUpcA_036000291452, "036000291452"},
        {"UPC-A add-on", 73, "03600029145", '2', 0, "52495", "", "", 1, string(kUpcA_036000291452) + "|" + kAddOn_52495,
         "036000291452 52495"},
        {"EAN-8", 27, "9638507", '4', 0, "", "", "", 1, kEan8_96385074, "96385074"},
        {"EAN-8 add-on", 29, "9638507", '4', 0, "34", "", "", 1, string(kEan8_96385074) + "|" + kAddOn_34,
         "96385074 34"},
        {"UPC-E 6", 74, "123456", '5', 0, "", "", "", 1, kUpcE_01234565, "01234565"},
        {"UPC-E 6 b", 74, "425261", '4', 0, "", "", "", 1, kUpcE_04252614, "04252614"},
        {"UPC-E 11", 75, "04210000526", '4', 0, "", "", "", 1, kUpcE_04252614, "04252614"},
        {"UPC-E NS1", 101, "123456", '2', 0, "", "", "", 1, kUpcE_11234562, "11234562"},
        {"UPC-E NS1 11", 102, "11234500006", '2', 0, "34", "", "", 1, string(kUpcE_11234562) + "|" + kAddOn_34,
         "11234562 34"},
        {"ISBN 978", 35, "030640615", '7', '7', "", "", "", 1, kIsbn_9780306406157, "9780306406157"},
        {"ISBN-13 Adjusted", 105, "030640615", '7', '7', "52495", "", "", 1,
         string(kIsbn_9780306406157) + "|" + kAddOn_52495, "9780306406157 52495"},
        {"UPC coupon part", 61, "", '2', 0, "", "03600029145", "", 1, kUpcA_036000291452, "036000291452"},
        {"EAN coupon part", 81, "", '1', 0, "", "400638133393", "", 1, kEan13_4006381333931, "4006381333931"},
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
              "B1S1B1ss"
              "S3B2S1B1"
              "S1B1S2B3"
              "S1B1S1B4"
              "S1B4S1B1"
              "T3A1T2A1"
              "R1C2R2C2"
              "LLS1B1S1B1S1ss"
              "B1S4B1S1"
              "B1S4B1S1"
              "B1S4B1S1"
              "B3S1B1S2"
              "B1S4B1S1"
              "C2R2C2R1"
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

}  // namespace
}  // namespace vg

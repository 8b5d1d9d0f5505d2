#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/catalogue.h"
#include "symbolfixture.h"
#include "symbology/check.h"
#include "symbology/code39.h"
#include "symbology/code93.h"
#include "symbology/encode.h"

namespace vg {
namespace {

struct Code39Case {
    const char* name;
    int variation;
    const char* fact;
    const char* main;      // MainText and OriginalMainText
    int flags;             // kAsterisks, kShowFact, kHideCheck
    const char* encoded;   // "" when the encoder fails
    const char* readable;  // human-readable text
};

constexpr int kAsterisks = 1;
constexpr int kShowFact = 2;
constexpr int kHideCheck = 4;

void SetUpCode39(const Code39Case& c) {
    test::PlainSettings(kFamilyCode39, c.variation);
    SettingsRecord& s = SymbolSettings;
    SetText(s.FACTdataIDtext, c.fact);
    SetText(s.MainText, c.main);
    SetText(s.OriginalMainText, c.main);
    s.ShowAsterisks = (c.flags & kAsterisks) != 0;
    s.ShowFactDataID = (c.flags & kShowFact) != 0;
    s.HideCheckDigits = (c.flags & kHideCheck) != 0;
    // The pipeline computes the check before encoding.
    s.CheckCharacter1 = 0;
    ComputeCheckCharacters(TextOf(s.MainText), 1);
}

// Number of Code 39 characters (ten elements each) between start and stop.
std::size_t Code39Characters(const std::string& pattern) {
    return pattern.size() < 40 ? 0 : (pattern.size() - 40) / 20;
}

TEST(Code39, EncodesAndReads) {
    const Code39Case cases[] = {
        {"direct lower case", 103, "", "ab", 0, "+A+B", "ab"},
        {"direct at sign and backquote", 103, "", "@`", 0, "%V%W", "@`"},
        {"direct escape stays, dollar digit does not", 103, "", "$A$1", 0, "$A/D1", "$1"},
        {"direct punctuation", 103, "", "a/b:c!", kAsterisks, "+A/O+B/Z+C/A", "*a/b:c!*"},
        {"direct mod 43", 104, "", "ab", 0, "+A+BH", "abH"},
        {"direct control characters only", 103, "", "$M$J", 0, "$M$J", ""},
        {"general with FACT", 11, "P", "123", 0, "P123", "123"},
        {"general with FACT shown", 11, "P", "123", kAsterisks | kShowFact, "P123", "*P123*"},
        {"general lower case", 11, "", "abc-1", 0, "ABC-1", "abc-1"},
        {"general mod 43", 12, "", "CODE39", kAsterisks, "CODE39W", "*CODE39W*"},
        {"general mod 43 over FACT", 12, "P", "123", 0, "P123V", "123V"},
        {"general mod 43 hidden check", 12, "", "CODE39", kHideCheck, "CODE39W", "CODE39"},
        {"DPS", 14, "", "A1", kAsterisks, "A1", "*A1*"},
        {"LOGMARS", 20, "", "A1", 0, "A1", "A1"},
        {"PZN", 21, "", "1234562", kAsterisks, "-1234562", "PZN -1234562"},
        {"PZN small", 23, "P", "1234562", kShowFact, "-1234562", "PZN -1234562"},
        {"Customs", 13, "", "ABC1234567", 0, "ABC12345676", "ABC-1234567-6"},
        {"Customs hidden check", 13, "", "ABC1234567", kHideCheck, "ABC12345676", "ABC-1234567"},
        {"HIBC space check", 17, "", "+AU", 0, "+AU ", "*+AU_*"},
        {"HIBC hidden check", 18, "", "+A", kHideCheck, "+A8", "*+A*"},
        // A FACT text carried over from another variation is not encoded where
        // the check does not cover it.
        {"HIBC ignores FACT", 19, "P", "+A", kShowFact, "+A8", "*+A8*"},
        {"full ASCII escapes decoded", 15, "", "+A%V", 0, "+A%V", "a@"},
        {"full ASCII lower-case escapes", 15, "", "+a$m", kAsterisks, "+A$M", "*a*"},
        {"full ASCII mod 43", 16, "", "+A", 0, "+A8", "a8"},
        {"Fisher-Price", 76, "", "123", 0, "123", ""},
        {"not in the set", 11, "", "A{B", 0, "", "A{B"},
        {"no check possible", 12, "", "A*B", 0, "", "A*B?"},
        {"empty", 11, "P", "", 0, "", ""},
    };
    for (const Code39Case& c : cases) {
        SetUpCode39(c);
        const int result = EncodeCurrentVariation();
        const std::string encoded = c.encoded;
        EXPECT_EQ(result, encoded.empty() ? 0 : 1) << c.name;
        EXPECT_EQ(EncodedText, encoded) << c.name;
        if (encoded.empty()) {
            EXPECT_EQ(BarPattern, "") << c.name;
        } else {
            EXPECT_EQ(BarPattern.substr(0, 20), kCode39StartStop) << c.name;
            EXPECT_EQ(BarPattern.substr(BarPattern.size() - 20), kCode39StartStop) << c.name;
            EXPECT_EQ(Code39Characters(BarPattern), encoded.size()) << c.name;
            EXPECT_EQ(BarPattern.find_first_not_of("BS12"), std::string::npos) << c.name;
        }
        if (c.variation != 76) {
            EXPECT_EQ(Code39HumanReadable(), c.readable) << c.name;
        }
    }
    // A hyphen the typed text keeps (IgnoreHyphens) does not double the separator.
    SetUpCode39({"Customs typed hyphen", 13, "", "ABC1234567", 0, "", ""});
    SetText(SymbolSettings.OriginalMainText, "ABC-1234567");
    EXPECT_EQ(Code39HumanReadable(), "ABC-1234567-6");
}

TEST(Code39, PatternOfOneCharacter) {
    // The digit 0 and the wide/narrow layout of its neighbours.
    test::PlainSettings(kFamilyCode39, 11);
    SetText(SymbolSettings.MainText, "0");
    ASSERT_EQ(EncodeCurrentVariation(), 1);
    EXPECT_EQ(BarPattern, std::string(kCode39StartStop) + "B1S1B1S2B2S1B2S1B1S1" + std::string(kCode39StartStop));
}

TEST(Code39, SixtyCharactersOfTwoSymbolsEachAreNotCut) {
    test::PlainSettings(kFamilyCode39, 103);
    SetText(SymbolSettings.MainText, std::string(60, 'a'));
    SetText(SymbolSettings.OriginalMainText, std::string(60, 'a'));
    ASSERT_EQ(EncodeCurrentVariation(), 1);
    EXPECT_EQ(Code39Characters(BarPattern), 120u);
    EXPECT_EQ(EncodedText.size(), kMaxEncodedText);
    EXPECT_EQ(Code39HumanReadable(), std::string(60, 'a'));
}

TEST(Code39, FullAsciiDisplayDecoding) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"+A%V", "a@"},
        {"/A/L/M/N/O/Z", "!,-./:"},
        {"%F%J%K%O%P%S%W", ";?[_{~`"},
        {"$A%A%E%T%U%X%Y%Z", ""},    // control characters and DEL
        {"/P/Y%+$1+", "/P/Y%+$1+"},  // no escape pairs
        {"AB%", "AB%"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeCode39FullAscii(c.text), c.shown) << c.text;
    // Decoding undoes the direct-input conversion of every printable character.
    std::string printable;
    for (int c = 0x20; c < 0x7F; ++c) printable += static_cast<char>(c);
    EXPECT_EQ(DecodeCode39FullAscii(ToCode39FullAscii(printable)), printable);
}

TEST(Code39AndCode93, AnyByteFromALoadedRecordEncodesOrFailsCleanly) {
    // Records read from files do not pass the input formats.
    for (int v : {11, 12, 13, 15, 16, 17, 21, 24, 76, 103, 104}) {
        for (int byte = 1; byte < 256; ++byte) {
            test::PlainSettings(v == 24 ? kFamilyCode93 : kFamilyCode39, v);
            const std::string text = std::string("A") + static_cast<char>(byte) + "[1";
            SetText(SymbolSettings.MainText, text);
            SetText(SymbolSettings.OriginalMainText, text);
            SetText(SymbolSettings.FACTdataIDtext, std::string(1, static_cast<char>(byte)));
            SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(byte);
            if (EncodeCurrentVariation()) {
                EXPECT_EQ(BarPattern.find_first_not_of("BS1234"), std::string::npos) << v << " " << byte;
            } else {
                EXPECT_EQ(BarPattern, "") << v << " " << byte;
            }
            EXPECT_LE((v == 24 ? Code93HumanReadable() : Code39HumanReadable()).size(), 20u);
        }
    }
}

struct Code93Case {
    std::string name;
    std::string main;
    std::vector<int> values;  // data symbols; empty when the encoder fails
    std::string encoded;
};

TEST(Code93, EncodesWithBothChecks) {
    const std::string a30(30, 'a');
    const Code93Case cases[] = {
        {"TEST93", "TEST93", {29, 14, 28, 29, 9, 3}, "TEST93"},
        {"full ASCII pairs", "a!]", {46, 10, 45, 10, 44, 22}, "a!]"},
        {"shift group",
         "[S2]A",
         {44, 10},
         "\xA3"
         "A"},
        {"every shift group",
         "[x1]A[x3]B[x4]C",
         {43, 10, 45, 11, 46, 12},
         "\xA4"
         "A\xA2"
         "B\xB4"
         "C"},
        {"stray brackets dropped", "[A[S9]B[S1", {10, 28, 9, 44, 22, 11, 28, 1}, "AS9]BS1"},
        {"60 values", a30, std::vector<int>(), a30},
        {"61 values", a30 + "A", {}, ""},
        {"control character", "A\x01", {}, ""},
        {"only brackets", "[[", {}, ""},
    };
    for (const Code93Case& c : cases) {
        test::PlainSettings(kFamilyCode93, 24);
        SetText(SymbolSettings.MainText, c.main);
        SymbolSettings.CheckCharacter1 = 'X';
        SymbolSettings.CheckCharacter2 = 'Y';
        std::vector<int> values = c.values;
        if (c.name == "60 values")
            for (int i = 0; i < 30; ++i) values.insert(values.end(), {46, 10});
        const int result = EncodeCurrentVariation();
        EXPECT_EQ(SymbolSettings.CheckCharacter1, 0) << c.name;
        EXPECT_EQ(SymbolSettings.CheckCharacter2, 0) << c.name;
        EXPECT_EQ(result, values.empty() ? 0 : 1) << c.name;
        EXPECT_EQ(EncodedText, c.encoded) << c.name;
        if (values.empty()) {
            EXPECT_EQ(BarPattern, "") << c.name;
            continue;
        }
        values.push_back(CheckCode93(values, kCode93WeightC));
        values.push_back(CheckCode93(values, kCode93WeightK));
        std::string pattern(kCode93Start);
        for (int v : values) pattern += Code93Elements(v);
        pattern += kCode93Stop;
        EXPECT_EQ(BarPattern, pattern) << c.name;
    }

    // The published example: C is '+' (41) and K is '6'; 6 + 2 symbols.
    test::PlainSettings(kFamilyCode93, 25);
    SetText(SymbolSettings.MainText, "TEST93");
    SetText(SymbolSettings.OriginalMainText, "TEST-93");
    ASSERT_EQ(EncodeCurrentVariation(), 1);
    EXPECT_EQ(BarPattern.size(), 12 + 8 * 12 + 14u);
    EXPECT_EQ(BarPattern.substr(12 + 6 * 12, 24), Code93Elements(41) + Code93Elements(6));
    EXPECT_EQ(Code93Elements(0), "B1S3B1S1B1S2");
    EXPECT_EQ(Code93HumanReadable(), "TEST-93");
}

}  // namespace
}  // namespace vg

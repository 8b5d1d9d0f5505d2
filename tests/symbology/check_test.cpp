#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/symbolsettings.h"
#include "symbology/check.h"

namespace vg {
namespace {

using Scheme = char (*)(std::string_view);

struct SchemeCase {
    const char* name;
    Scheme scheme;
    std::string input;
    char expected;
};

// Expected values are published check digits or were worked out by hand.
TEST(CheckSchemes, CharacterSchemes) {
    const std::string digits40 = "1234567890123456789012345678901234567890";
    const std::string digits61 = "5260181590830166131860913909960308246281948219935181909378657";
    const SchemeCase cases[] = {
        {"mod10 EAN-13", CheckMod10, "400638133393", '1'},
        {"mod10 UPC-A", CheckMod10, "03600029145", '2'},
        {"mod10 EAN-8", CheckMod10, "9638507", '4'},
        {"mod10 SSCC", CheckMod10, "10614141123456789", '7'},
        {"mod10 EAN-13 b", CheckMod10, "629104150021", '3'},
        {"mod10 empty", CheckMod10, "", '0'},
        {"mod10 letter", CheckMod10, "4006381333A3", '?'},
        {"mod10 too long", CheckMod10, std::string(256, '1'), '?'},
        {"mod10 255 digits", CheckMod10, std::string(255, '0'), '0'},

        {"addon5 a", CheckAddOn5, "52495", '1'},
        {"addon5 b", CheckAddOn5, "24699", '8'},
        {"addon5 c", CheckAddOn5, "54495", '9'},
        {"addon5 short", CheckAddOn5, "5249", '?'},
        {"addon5 long", CheckAddOn5, "524951", '?'},

        {"astra", CheckAstra, "12345", '3'},
        {"astra one", CheckAstra, "7", '7'},
        {"astra nine", CheckAstra, "123456789", '1'},
        {"astra even", CheckAstra, "1234", '?'},
        {"astra empty", CheckAstra, "", '?'},

        {"opc", CheckLuhnOpc, "12345", '5'},
        {"opc one", CheckLuhnOpc, "7", '5'},
        {"opc nine", CheckLuhnOpc, "123456789", '7'},
        {"opc nines", CheckLuhnOpc, "9999999", '7'},
        {"opc even", CheckLuhnOpc, "123456", '?'},

        {"isbn", CheckMod11Isbn, "030640615", '2'},
        {"isbn X", CheckMod11Isbn, "080442957", 'X'},
        {"isbn X b", CheckMod11Isbn, "316148410", 'X'},
        {"issn", CheckMod11Isbn, "0317847", '1'},
        {"issn 0", CheckMod11Isbn, "2049363", '0'},
        {"isbn 8 digits", CheckMod11Isbn, "03064061", '?'},
        {"isbn letter", CheckMod11Isbn, "03064061X", '?'},

        {"msi10", CheckMsiMod10, "1234567", '4'},
        {"msi10 b", CheckMsiMod10, "80523", '4'},
        {"msi10 one", CheckMsiMod10, "9", '1'},
        {"msi10 40 digits", CheckMsiMod10, digits40, '2'},
        {"msi10 61 nines", CheckMsiMod10, std::string(61, '9'), '1'},
        {"msi10 61 digits", CheckMsiMod10, digits61, '7'},
        {"msi10 62 digits", CheckMsiMod10, digits61 + "1", '?'},
        {"msi10 empty", CheckMsiMod10, "", '?'},

        {"msi11", CheckMsiMod11, "1234567", '4'},
        {"msi11 b", CheckMsiMod11, "98765", '4'},
        {"msi11 c", CheckMsiMod11, "100", '7'},
        {"msi11 r0", CheckMsiMod11, "28", '0'},
        {"msi11 value 10", CheckMsiMod11, "6", '?'},
        {"msi11 61 digits", CheckMsiMod11, std::string(61, '1'), '?'},

        {"customs digits", CheckCustoms, "1234567890", '3'},
        {"customs letters", CheckCustoms, "ABC1234567", '6'},
        {"customs S-Z", CheckCustoms, "ZZZ9999999", '0'},
        {"customs J-R", CheckCustoms, "JRS0000000", '8'},
        {"customs lower", CheckCustoms, "abc1234567", '?'},
        {"customs 9 chars", CheckCustoms, "123456789", '?'},

        {"mod43", CheckMod43, "CODE39", 'W'},
        {"mod43 b", CheckMod43, "WIKIPEDIA", '$'},
        {"mod43 space", CheckMod43, "HELLO WORLD", '.'},
        {"mod43 plus", CheckMod43, "+A", '8'},
        {"mod43 lower", CheckMod43, "code39", '?'},
        {"mod43 asterisk", CheckMod43, "A*B", '?'},
        {"mod43 empty", CheckMod43, "", '?'},
        {"mod43 66 chars", CheckMod43, std::string(66, 'A'), '?'},

        {"postnet 5", CheckPostnet, "12345", '5'},
        {"postnet 9", CheckPostnet, "555551237", '2'},
        {"postnet 11", CheckPostnet, "12345678901", '4'},
        {"postnet 10", CheckPostnet, "1234567890", '?'},

        {"canadian", CheckCanadianLibrary, "12345", '8'},
        {"canadian 9 and 8", CheckCanadianLibrary, "98989", '7'},
        {"canadian zero", CheckCanadianLibrary, "0", '0'},
        {"canadian 12", CheckCanadianLibrary, "123456789012", '9'},
        {"canadian one", CheckCanadianLibrary, "7", '2'},
        {"canadian letter", CheckCanadianLibrary, "12a", '?'},

        {"codabar16", CheckCodabar16, "A37859B", '+'},
        {"codabar16 digits", CheckCodabar16, "A0123456789B", '2'},
        {"codabar16 symbols", CheckCodabar16, "C$-:/.+D", '0'},
        {"codabar16 colon", CheckCodabar16, "A1D", ':'},
        {"codabar16 dash", CheckCodabar16, "D00D", '-'},
        {"codabar16 no start", CheckCodabar16, "37859B", '?'},
        {"codabar16 bad stop", CheckCodabar16, "A3785E", '?'},
        {"codabar16 bad char", CheckCodabar16, "A37X59B", '?'},
        {"codabar16 empty", CheckCodabar16, "", '?'},
        {"codabar16 63 chars", CheckCodabar16, "A" + std::string(61, '1') + "B", '?'},
    };
    for (const auto& c : cases) EXPECT_EQ(c.scheme(c.input), c.expected) << c.name;
}

TEST(CheckSchemes, Library) {
    const struct {
        const char* digits;
        char f1, f2, f3;
    } cases[] = {
        {"1234567890123", '0', '7', '0'},
        {"3141592653589", '6', '2', '5'},  // 13th digit >= 5: format 3 differs
        {"0000000000005", '0', '9', '9'},
        {"9999999999999", '0', '3', '9'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckLibrary(c.digits, 1), c.f1) << c.digits;
        EXPECT_EQ(CheckLibrary(c.digits, 2), c.f2) << c.digits;
        EXPECT_EQ(CheckLibrary(c.digits, 3), c.f3) << c.digits;
    }
    EXPECT_EQ(CheckLibrary("1234567890123", 0), '?');
    EXPECT_EQ(CheckLibrary("1234567890123", 4), '?');
    EXPECT_EQ(CheckLibrary("123456789012", 1), '?');
}

TEST(CheckSchemes, Isbt) {
    const struct {
        std::string text;
        int n;
        char expected;
    } cases[] = {
        {"G123498654321", 13, 'H'},    {"W000012345678", 13, 'Y'},
        {"A999912345678", 13, 'R'},    {"0000000000000", 13, '1'},
        {"G123498654321XYZ", 13, 'H'},                      // only n characters count
        {"g123498654321", 13, 'D'},                         // above '*' counts 36
        {"G12349865432!", 13, 'J'},                         // below '*' counts 0
        {"G12349865432*", 13, 'L'},    {"G1234", 13, '?'},  // shorter than n
        {"G123498654321", -1, '?'},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckIsbt(c.text, c.n), c.expected) << c.text;
}

TEST(CheckSchemes, Code39FullAscii) {
    const struct {
        std::string text, full;
    } cases[] = {
        {"AZ09 -.", "AZ09 -."},
        {"az", "+A+Z"},
        {"!$%+,", "/A/D/E/K/L"},
        {"/:", "/O/Z"},
        {";?@[_`{~\x7f", "%F%J%V%K%O%W%P%S%T"},
        {"$A%U%E$Z", "$A%U%E$Z"},  // typed escape pairs stay
        {"$a%F%", "/D+A/EF/E"},    // not escape pairs
    };
    for (const auto& c : cases) EXPECT_EQ(ToCode39FullAscii(c.text), c.full) << c.text;
}

std::vector<int> Code128B(std::string_view text) {
    std::vector<int> v{104};
    for (char c : text) v.push_back(c - 32);
    return v;
}

TEST(CheckSchemes, Code128) {
    EXPECT_EQ(CheckCode128(Code128B("Wikipedia")), 88);
    EXPECT_EQ(CheckCode128(Code128B("PJJ123C")), 55);
    EXPECT_EQ(CheckCode128(std::vector<int>{105, 12, 34, 56}), 44);
    EXPECT_EQ(CheckCode128(std::vector<int>{103, 40, 41}), 19);
    EXPECT_EQ(CheckCode128({}), kCode128NoCheck);
    EXPECT_EQ(CheckCode128(std::vector<int>(70, 1)), (1 + 1 * (69 * 70 / 2)) % 103);
    EXPECT_EQ(CheckCode128(std::vector<int>(71, 1)), kCode128NoCheck);
    EXPECT_EQ(CheckCode128(std::vector<int>{104, -5}), kCode128NoCheck);
    EXPECT_EQ(CheckCode128(std::vector<int>{104, 107}), kCode128NoCheck);
}

std::vector<int> Code93Values(std::string_view text) {
    constexpr std::string_view set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    std::vector<int> v;
    for (char c : text) v.push_back(static_cast<int>(set.find(c)));
    return v;
}

TEST(CheckSchemes, Code93) {
    const struct {
        const char* text;
        int c, k;
    } cases[] = {
        {"TEST93", 41, 6},
        {"CODE 93", 14, 0},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 35, 3},  // weights wrap past both limits
    };
    for (const auto& t : cases) {
        std::vector<int> v = Code93Values(t.text);
        int c = CheckCode93(v, kCode93WeightC);
        EXPECT_EQ(c, t.c) << t.text;
        v.push_back(c);
        EXPECT_EQ(CheckCode93(v, kCode93WeightK), t.k) << t.text;
    }
    EXPECT_NE(CheckCode93(std::vector<int>(60, 1), kCode93WeightC), kCode93NoCheck);
    EXPECT_EQ(CheckCode93(std::vector<int>(61, 1), kCode93WeightC), kCode93NoCheck);
    EXPECT_NE(CheckCode93(std::vector<int>(61, 1), kCode93WeightK), kCode93NoCheck);
    EXPECT_EQ(CheckCode93(std::vector<int>(62, 1), kCode93WeightK), kCode93NoCheck);
    EXPECT_EQ(CheckCode93(std::vector<int>{1, 47}, kCode93WeightC), kCode93NoCheck);
    EXPECT_EQ(CheckCode93(std::vector<int>{1, -1}, kCode93WeightC), kCode93NoCheck);
    EXPECT_EQ(CheckCode93(std::vector<int>{1, 2}, 0), kCode93NoCheck);
}

struct DispatchCase {
    int variation;
    std::string data;
    std::string display;
    char first;   // 0: left as it was
    char second;  // 0: left as it was
    const char* upcPart = "";
    const char* addOn = "";
    const char* fact = "";
    const char* issnExtra = "";
    int start = 0, stop = 1;
};

constexpr uint8_t kUntouched = 0xEE;

TEST(CheckDispatch, ByVariation) {
    const DispatchCase cases[] = {
        {2, "1234567890123", "0", '0', 0},
        {3, "1234567890123", "7", '7', 0},
        {4, "3141592653589", "5", '5', 0},
        {5, "37859", "+", '+', 0},
        {5, "37859", "?", '?', 0, "", "", "", "", 7, 1},  // start letter out of range
        {115, "12345", "8", '8', 0},
        {7, "code39", "W", 'W', 0},
        {104, "CODE39", "W", 'W', 0},
        {104, "Code39", "Q", 'Q', 0},  // over C+O+D+E39
        {104, "abc", "R", 'R', 0},
        {104, "a!", "F", 'F', 0},
        {104, std::string(40, 'a') + std::string(20, '!'), "U", 'U', 0},  // 120 symbol characters
        {16, "+a", "8", '8', 0},                                          // escapes typed by the user
        {12, "de39", "W", 'W', 0, "", "", "co"},
        {13, "abc1234567", "6", '6', 0},
        {26, "400638133393", "1", '1', 0},
        {26, "40063813339A", "", '?', 0},  // stored, not shown
        {27, "9638507", "4", '4', 0},
        {72, "03600029145", "2", '2', 0},
        {74, "123455", "8", '8', 0},
        {74, "0123455", "8", '8', 0},  // typed with its number system
        {74, "1123455", "", '?', 0},
        {101, "654321", "4", '4', 0},
        {75, "01234500005", "8", '8', 0},
        {75, "01234500004", "", '?', 0},  // cannot be suppressed
        {102, "14210000526", "1", '1', 0},
        {40, "12345", "7", '7', 0},
        {41, "1234567890123", "1", '1', '\0'},
        {41, "12345-67890 123", "1/5", '1', '5', "", "123456"},
        {42, "", "5", '\0', '5', "", "123456"},
        {46, "1234567", "4/1", '4', '1'},
        {47, "1234567", "4", '4', 0},
        {48, "1234567", "4", '4', 0},
        {48, "6", "?", '?', 0},
        {51, "12345", "5", '5', 0},
        {56, "12345678901", "4", '4', 0},
        {61, "", "2", '2', 0, "036000291452"},
        {61, "", "", '?', 0, "0360"},
        {81, "", "1", '1', 0, "400638133393"},
        {71, "(00)10614141123456789", "7", '7', 0},
        {67, "(01)0061414112345", "2", '2', 0},
        {67, "(01", "?", '?', 0},
        {124, "(8018)400638133393", "1", '1', 0},
        {125, "(410)400638133393", "1", '1', 0},
        {88, "=G123498654321", "H", 'H', 0},
        {88, "=G1234", "?", '?', 0},
        {99, "12345", "3", '3', 0},
        {100, "12345", "5", '5', 0},
        {34, "080442957", "X", 'X', 0},
        {37, "0317847", "1", '1', 0},
        {35, "030640615", "2/7", '2', '7'},
        {136, "123456789", "X/6", 'X', '6'},
        {38, "0317847", "1/1", '1', '1', "", "", "", "00"},
        {35, "03064061", "", '?', '2'},  // wrong length: stored, not shown
        {11, "CODE39", "", 0, 0},        // no check character
        {24, "CODE 93", "", 0, 0},
    };
    for (const auto& c : cases) {
        ResetSettingsRecord();
        SymbolSettings.Variation = c.variation;
        SetText(SymbolSettings.CouponFormatUPCpartText, c.upcPart);
        SetText(SymbolSettings.AddOnText, c.addOn);
        SetText(SymbolSettings.FACTdataIDtext, c.fact);
        SymbolSettings.ISSNExtraDigits = c.issnExtra;
        SymbolSettings.StartCharacter = c.start;
        SymbolSettings.StopCharacter = c.stop;
        SymbolSettings.CheckCharacter1 = kUntouched;
        SymbolSettings.CheckCharacter2 = kUntouched;

        EXPECT_EQ(ComputeCheckCharacters(c.data, 1), c.display) << c.variation << " " << c.data;
        const bool itf14 = c.variation == 41 || c.variation == 42;
        EXPECT_EQ(SymbolSettings.CheckCharacter1, c.first || itf14 ? c.first : kUntouched)
            << c.variation << " " << c.data;
        EXPECT_EQ(SymbolSettings.CheckCharacter2, c.second || itf14 ? c.second : kUntouched)
            << c.variation << " " << c.data;
    }
}

TEST(CheckDispatch, NoInputLeavesRecordAlone) {
    ResetSettingsRecord();
    SymbolSettings.Variation = 26;
    SymbolSettings.CheckCharacter1 = '5';
    EXPECT_EQ(ComputeCheckCharacters("400638133393", 0), "");
    EXPECT_EQ(SymbolSettings.CheckCharacter1, '5');
}

TEST(CheckDispatch, OverlongAndBinaryDataAreSafe) {
    ResetSettingsRecord();
    const std::string junk = std::string(300, '\xff') + std::string("\0\x01", 2);
    for (int v = 0; v < 200; ++v) {
        SymbolSettings.Variation = v;
        SymbolSettings.StartCharacter = 1 << 30;
        std::string shown = ComputeCheckCharacters(junk, 1);
        EXPECT_LE(shown.size(), 3u) << v;
    }
}

}  // namespace
}  // namespace vg

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/catalogue.h"
#include "symbolfixture.h"
#include "symbology/code128.h"
#include "symbology/encode.h"

namespace vg {
namespace {

// Values of a Code 128 pattern read back through the value table: 12 characters
// per value up to the 14-character stop, which must end the pattern.
std::vector<int> ReadValues(std::string_view pattern) {
    std::vector<int> values;
    while (pattern.size() > kCode128Stop.size()) {
        int found = -1;
        for (int v = 0; v <= 105; ++v)
            if (pattern.substr(0, 12) == Code128ValueElements(v)) found = v;
        if (found < 0) return {-1};
        values.push_back(found);
        pattern.remove_prefix(12);
    }
    if (pattern != kCode128Stop) return {-2};
    return values;
}

struct ValueCase {
    const char* name;
    int variation;
    const char* main;
    char check;
    std::vector<int> values;  // start (unless Vantic128), data, switches, check
    const char* text;         // human-readable
};

TEST(Code128Encoder, ValueSequences) {
    const ValueCase cases[] = {
        {"switch to C for four digits", 6, "ABC1234", 0, {104, 33, 34, 35, 99, 12, 34, 43}, "ABC1234"},
        {"start C", 6, "1234ABC", 0, {105, 12, 34, 100, 33, 34, 35, 70}, "1234ABC"},
        {"odd digit after the pairs", 6, "12345", 0, {105, 12, 34, 100, 21, 54}, "12345"},
        {"odd digit before the switch", 6, "AB12345", 0, {104, 33, 34, 17, 99, 23, 45, 7}, "AB12345"},
        {"three digits stay in B", 6, "A123B", 0, {104, 33, 17, 18, 19, 34, 59}, "A123B"},
        {"SHIFT between control bytes",
         6,
         "\x8C"
         "a"
         "\x8C",
         0,
         {103, 65, 98, 65, 65, 98},
         "\x8C"
         "a"
         "\x8C"},
        {"CODE B before lower case",
         6,
         "\x8C"
         "ab",
         0,
         {103, 65, 100, 65, 66, 3},
         "\x8C"
         "ab"},
        {"variable-length field ends with FNC1",
         60,
         "(10)ABC(17)991231",
         0,
         {104, 102, 17, 16, 33, 34, 35, 99, 102, 17, 99, 12, 31, 42},
         "(10)ABC(17)991231"},
        {"predefined length needs no FNC1",
         60,
         "(17)991231(10)ABC",
         0,
         {105, 102, 17, 99, 12, 31, 10, 100, 33, 34, 35, 52},
         "(17)991231(10)ABC"},
        {"ISBT check printed only",
         88,
         "=G123498654321",
         'H',
         {104, 29, 39, 99, 12, 34, 98, 65, 43, 21, 36},
         "G123498654321H"},
        {"Vantic128 without start", 116, "123456", 0, {12, 34, 56, 55}, "C 12 34 56"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlainSettings(GroupOf(c.variation) == SymbolGroup::UccEan128 ? 15 : 2, c.variation);
        SetText(SymbolSettings.MainText, c.main);
        SetText(SymbolSettings.OriginalMainText, c.main);
        SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c.check);
        ASSERT_EQ(EncodeCurrentVariation(), 1);
        EXPECT_EQ(ReadValues(BarPattern), c.values);
        EXPECT_EQ(Code128HumanReadable(c.variation), c.text);
    }
}

TEST(Code128Encoder, CouponPartFollowsTheUpcPart) {
    test::PlainSettings(15, 61);
    SetText(SymbolSettings.CouponFormatUPCpartText, "51234567890");
    SetText(SymbolSettings.CouponFormat128partText, "(8100)123456");
    SymbolSettings.CheckCharacter1 = '5';
    ASSERT_EQ(EncodeCurrentVariation(), 1);
    const std::size_t gap = BarPattern.find("++");
    ASSERT_NE(gap, std::string::npos);
    EXPECT_EQ(test::Modules(BarPattern.substr(0, gap)).size(), 95u);
    EXPECT_EQ(ReadValues(std::string_view(BarPattern).substr(gap + 2)),
              (std::vector<int>{105, 102, 81, 0, 12, 34, 56, 99}));
    EXPECT_EQ(EncodedText, "512345678905 (8100)123456");
}

TEST(Code128Encoder, RefusalsLeaveNoPattern) {
    struct Case {
        const char* name;
        int variation;
        std::string main;
        char check;
    } cases[] = {
        {"empty", 6, "", 0},
        {"literal control byte", 6, "AB\x01", 0},
        {"lower case after a typed CODE C", 6,
         "A\xBB"
         "a",
         0},
        {"SHIFT at the end", 6, "AB\xB3", 0},
        {"more than 70 values", 6,
         [] {
             std::string s;
             for (int i = 0; i < 30; ++i)
                 s += "\x8C"
                      "a";
             return s;
         }(),
         0},
        {"HIBC without check", 7, "+A123", 0},
        {"HIBC with no valid check", 7, "+A123", '?'},
        {"shipping container without check", 71, "(00)12345678901234567", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlainSettings(2, c.variation);
        BarPattern = "B1S1";
        SetText(SymbolSettings.MainText, c.main);
        SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c.check);
        EXPECT_EQ(EncodeCurrentVariation(), 0);
        EXPECT_EQ(BarPattern, "");
    }
}

TEST(Code128Encoder, UccPreparation) {
    const std::string f(1, '\xC1');
    struct Case {
        const char* in;
        std::string out;
    } cases[] = {
        {"(01) 0061414-1000001(21)12", f + "0100614141000001" + "2112"},
        {"(21)A(22)B(30)7", f + "21A" + f + "22B" + f + "307"},
        {"(410)1234567890128(8004)X", f + "4101234567890128" + "8004X"},
        {"(10AB(11)990101", f + "10AB" + f + "11990101"},
        {"", f},
    };
    for (const Case& c : cases) EXPECT_EQ(PrepareUccData(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vg

#include "entry/formatengine.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "recordingsink.h"

namespace vg {
namespace {

using R = FormatResult;
using F = FieldRole;

const std::string kIncorrect =
    "Incorrect input.  Your input does not match the format of this variation.  Consult on-line "
    "Help or the User's Guide for more information.";

std::string WithNumber(int number) { return kIncorrect + "\n\nError Number:  " + std::to_string(number); }

const char* RoleName(F role) {
    switch (role) {
    case F::Main: return "main";
    case F::AddOn: return "add-on";
    case F::Fact: return "FACT";
    case F::CouponUpc: return "coupon UPC";
    case F::Coupon128: return "coupon 128";
    }
    return "?";
}

std::vector<int> Codes(std::vector<std::pair<int, int>> ranges) {
    std::vector<int> out;
    for (auto [a, b] : ranges)
        for (int v = a; v <= b; ++v) out.push_back(v);
    return out;
}

// One validation and the messages it showed.
struct Outcome {
    R result;
    std::vector<test::RecordedMessage> messages;
};

Outcome Validate(int variation, F role, std::string_view text) {
    test::ScopedRecordingSink box;
    R result = ValidateInput(variation, role, text);
    return {result, box.sink.messages};
}

void ExpectOutcome(int variation, F role, const std::string& text, R result, const std::string& message) {
    SCOPED_TRACE("variation " + std::to_string(variation) + " " + RoleName(role) + " '" + text + "'");
    Outcome o = Validate(variation, role, text);
    EXPECT_EQ(o.result, result);
    if (message.empty()) {
        EXPECT_TRUE(o.messages.empty()) << o.messages.front().text;
        return;
    }
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, message);
    EXPECT_EQ(o.messages[0].caption, "Edit Control");
    EXPECT_EQ(o.messages[0].icon, MsgIcon::Stop);
}

// Every variation's main format and every add-on, FACT and coupon format.
struct FormatSample {
    std::vector<int> variations;
    F role;
    int maxLength;
    std::string complete;
    std::string incomplete;
    std::string rejected;
    std::string refusal;  // message of the rejected sample
};

std::vector<FormatSample> Samples() {
    const std::string range131070 = "超出范围:  1 . . 131070";
    return {
        {{1, 5}, F::Main, 60, "12-34$+./:", "", "12A", kIncorrect},
        {{2, 3, 4, 41, 42, 44}, F::Main, 13, "4006381333931", "400638133393", "40063X", kIncorrect},
        {{6}, F::Main, 60, "Ab 12-%~\x8c\xa0\xfb", "", "AB\x80", kIncorrect},
        {{7}, F::Main, 50, "+A9991234/$$3990228LOT1", "+A9991234/$$399", "+A999123X/", WithNumber(335)},
        {{17}, F::Main, 50, "+A99912345/12001LOT", "+A9991234", "+A999123X/", kIncorrect},
        {{8, 18}, F::Main, 19, "+A9991234", "+A9991", "A999", WithNumber(333)},
        {{9, 19}, F::Main, 32, "+$$3990228LOT1", "+$$399", "+$$3991232LOT1", WithNumber(334)},
        {{10, 39, 46, 47, 48, 115}, F::Main, 60, "0123456789", "", "12A", kIncorrect},
        {{40, 99}, F::Main, 59, "12345", "", "1-", kIncorrect},
        {{98}, F::Main, 8, "12345678", "1234567", "1234567A", kIncorrect},
        {{11, 12, 14, 15, 16, 20, 76}, F::Main, 60, "Code 39-$%./+", "", "AB#", kIncorrect},
        {{103, 104}, F::Main, 60, " !#@[`{~\x7f az", "", "AB\xe9", kIncorrect},
        {{11, 12, 14, 20}, F::Fact, 5, "12V", "", "1#", kIncorrect},
        {{13}, F::Main, 10, "AB91234567", "ABC12", "ABC12X", kIncorrect},
        {{21, 22, 23, 27, 37, 38, 111, 138, 141}, F::Main, 7, "1234567", "123", "12A", kIncorrect},
        {{24, 25}, F::Main, 60, "AB[S2]C", "AB[S2", "AB[X", kIncorrect},
        {{26}, F::Main, 12, "400638133393", "4006", "40A", kIncorrect},
        {{114}, F::Main, 12, "012345678905", "0123", "01A", kIncorrect},
        {Codes({{81, 85}}), F::CouponUpc, 12, "991234567890", "99", "9A", kIncorrect},
        {{28}, F::Main, 12, "451234567890", "4912", "46", kIncorrect},
        {{29}, F::Main, 7, "4912345", "45", "47", kIncorrect},
        {Codes({{34, 36}, {53, 54}, {77, 80}, {86, 87}, {100, 100}, {105, 110}, {134, 136}, {145, 146}}), F::Main, 9,
         "123456789", "1234", "12A", kIncorrect},
        {{43, 51, 52}, F::Main, 5, "12345", "12", "1A", kIncorrect},
        {{45}, F::Main, 15, "123456789012345", "12345678901234", "A", kIncorrect},
        {{55, 56, 72}, F::Main, 11, "12345678901", "1234567890", "12345A", kIncorrect},
        {{73}, F::Main, 11, "31234567890", "312", "41", kIncorrect},
        {{49, 97}, F::Main, 6, "131070", "", "131071", range131070},
        {{50}, F::Main, 3, "276", "", "277", "超出范围:  1 . . 276"},
        {{60}, F::Main, 60, "(01)12345(10)AB", "(01)", "01", WithNumber(332)},
        {Codes({{61, 65}}), F::CouponUpc, 11, "51234567890", "512", "41", kIncorrect},
        {{61, 81}, F::Coupon128, 12, "(8100)123456", "(8100)12", "(8101)", kIncorrect},
        {{62, 82}, F::Coupon128, 16, "(8101)1234567890", "(8101)1", "(8100)", kIncorrect},
        {{63, 83}, F::Coupon128, 24, "(8100)123456(21)12345678", "(8100)123456(21)", "(8100)123456(22)", kIncorrect},
        {{64, 84},
         F::Coupon128,
         28,
         "(8101)1234567890(21)12345678",
         "(8101)1234567890(2",
         "(8101)12345678901",
         kIncorrect},
        {{65, 85}, F::Coupon128, 8, "(8102)12", "(8102)1", "(8103)", kIncorrect},
        {{66}, F::Main, 53, "(01)12345678901234(240)ABC", "(01)1234567890123", "(02)", WithNumber(346)},
        {{67}, F::Main, 17, "(01)1234567890123", "(01)1", "(01)A", kIncorrect},
        {{68}, F::Main, 33, "(22)3990228LOT1", "(22)399", "(22)3991232", WithNumber(345)},
        {{69}, F::Main, 14, "(420)ABC", "(420", "(421)", kIncorrect},
        {{70}, F::Main, 17, "(421)123AB", "(421)12", "(421)12A", kIncorrect},
        {{71}, F::Main, 21, "(00)12345678901234567", "(00)1", "(01)", kIncorrect},
        {{88}, F::Main, 16, "=A12345678901234", "=A1", "A", WithNumber(336)},
        {{89}, F::Main, 6, "=%AB12", "=%A", "=&", WithNumber(337)},
        {{90}, F::Main, 12, "&*1234567890", "&*1", "&(", WithNumber(341)},
        {{91}, F::Main, 8, "=*123456", "=*1", "=*A", WithNumber(340)},
        {{92}, F::Main, 8, "=>123456", "=>", "=>12A", WithNumber(338)},
        {{93}, F::Main, 12, "&>1234567890", "&", "&>A", WithNumber(339)},
        {{94}, F::Main, 12, "=)ABCDE12345", "=)ABC", "=)AB-", WithNumber(343)},
        {{95}, F::Main, 10, "=<ABCD1234", "=<", "=>A", WithNumber(342)},
        {{96}, F::Main, 7, "&(AB123", "&(A", "&)", WithNumber(344)},
        {Codes({{116, 123}}), F::Main, 60, "019500", "019", "00", kIncorrect},
        {{124}, F::Main, 23, "(8018)12345678901234567", "(8018)1", "(8019)", kIncorrect},
        {{125}, F::Main, 17, "(410)123456789012", "(410)1", "(411)", kIncorrect},
        {{126}, F::Main, 17, "(411)123456789012", "(411)1", "(410)", kIncorrect},
        {{127}, F::Main, 17, "(412)123456789012", "(412)1", "(413)", kIncorrect},
        {{128}, F::Main, 17, "(413)123456789012", "(413)1", "(414)", kIncorrect},
        {{129}, F::Main, 17, "(414)123456789012", "(414)1", "(415)", kIncorrect},
        {{130}, F::Main, 17, "(415)123456789012", "(415)1", "(410)", kIncorrect},
        {{131}, F::Main, 36, "(8003)12345678901234AB(9)-_", "(8003)123", "(8003)1234567890123A", kIncorrect},
        {{132}, F::Main, 36, "(8004)1ABC(2)", "(8004)", "(8004)A", kIncorrect},
        {Codes({{26, 29},
                {35, 36},
                {38, 38},
                {72, 75},
                {77, 80},
                {101, 102},
                {105, 111},
                {114, 114},
                {134, 136},
                {138, 138},
                {141, 141},
                {145, 146}}),
         F::AddOn, 5, "12345", "123", "1A", kIncorrect},
        {{41, 42}, F::AddOn, 5, "12345", "12", "1A", kIncorrect},
    };
}

TEST(FormatTable, EveryFormatTakesItsSamples) {
    for (const FormatSample& s : Samples()) {
        for (int v : s.variations) {
            const FormatRecord* format = FindFormat(v, s.role);
            ASSERT_NE(format, nullptr) << v << " " << RoleName(s.role);
            EXPECT_EQ(format->maxLength, s.maxLength) << v << " " << RoleName(s.role);
            ExpectOutcome(v, s.role, s.complete, R::Complete, "");
            ExpectOutcome(v, s.role, s.incomplete, R::Incomplete, "");
            ExpectOutcome(v, s.role, s.rejected, R::Rejected, s.refusal);
            std::string tooLong = s.complete;
            tooLong.resize(s.maxLength + 1, s.complete.back());
            ExpectOutcome(v, s.role, tooLong, R::TooLong, "");
        }
    }
}

TEST(FormatTable, EveryRecordStepsLikeItsAutomaton) {
    std::string error;
    EXPECT_TRUE(CheckFormatTable(&error)) << error;
}

TEST(FormatTable, SamplesCoverEveryFormat) {
    std::set<std::pair<int, F>> sampled;
    for (const FormatSample& s : Samples())
        for (int v : s.variations) EXPECT_TRUE(sampled.insert({v, s.role}).second) << v << " twice";
    for (int v = -5; v <= 300; ++v)
        for (F role : {F::Main, F::AddOn, F::Fact, F::CouponUpc, F::Coupon128})
            EXPECT_EQ(FindFormat(v, role) != nullptr, sampled.count({v, role}) == 1) << v << " " << RoleName(role);
}

TEST(FormatEngine, EdgeCases) {
    struct Case {
        int variation;
        F role;
        std::string text;
        R result;
        std::string message;
    };
    const std::string range276 = "超出范围:  1 . . 276";
    const std::string upcE = "Invalid input for UPC(E).";
    const Case cases[] = {
        {72, F::Main, "12345678901", R::Complete, ""},
        {72, F::Main, "123456789012", R::TooLong, ""},
        {72, F::Main, "1234567890", R::Incomplete, ""},
        {72, F::Main, "12345A", R::Rejected, kIncorrect},
        {50, F::Main, "277", R::Rejected, range276},
        {50, F::Main, "0", R::Rejected, range276},
        {50, F::Main, "276", R::Complete, ""},
        {50, F::Main, "1", R::Complete, ""},
        {50, F::Main, "2A", R::Rejected, kIncorrect},
        {49, F::Main, "0", R::Rejected, "超出范围:  1 . . 131070"},
        {97, F::Main, "99999", R::Complete, ""},
        {97, F::Main, "131069", R::Complete, ""},
        {97, F::Main, "140000", R::Rejected, "超出范围:  1 . . 131070"},
        {49, F::Main, "1x", R::Rejected, kIncorrect},
        {28, F::Main, "451234567890", R::Complete, ""},
        {28, F::Main, "491234567890", R::Complete, ""},
        {28, F::Main, "461234567890", R::Rejected, kIncorrect},
        {9, F::Main, "+$$3990230LOT1", R::InvalidDate, ""},
        {9, F::Main, "+$$3990228LOT1", R::Complete, ""},
        {9, F::Main, "+$$3991232LOT1", R::Rejected, WithNumber(334)},
        {24, F::Main, "AB[S2]C", R::Complete, ""},
        {24, F::Main, "AB[S2", R::Incomplete, ""},
        {24, F::Main, "AB[S5]C", R::Rejected, kIncorrect},
        {24, F::Main, "AB[S2]c", R::Rejected, kIncorrect},
        {24, F::Main, "]S{}\\a", R::Complete, ""},
        {26, F::AddOn, "12", R::Complete, ""},
        {26, F::AddOn, "12345", R::Complete, ""},
        {26, F::AddOn, "123", R::Incomplete, ""},
        {26, F::AddOn, "1234", R::Incomplete, ""},
        {26, F::AddOn, "123456", R::TooLong, ""},
        // Convert UPC to EAN needs a leading 0.
        {114, F::Main, "112345678905", R::Reported,
         "Invalid input for \"Convert UPC to EAN\": 1st  character must be 0."},
        {114, F::Main, "A", R::Reported, "Invalid input for \"Convert UPC to EAN\": 1st  character must be 0."},
        {114, F::Main, "", R::Incomplete, ""},
        {114, F::AddOn, "12", R::Complete, ""},
        // UPC-E six digits.
        {74, F::Main, "123456", R::Complete, ""},
        {74, F::Main, "12345", R::Incomplete, ""},
        {74, F::Main, "", R::Incomplete, ""},
        {74, F::Main, "1234567", R::TooLong, ""},
        {74, F::Main, "12a", R::Rejected, kIncorrect},
        {101, F::Main, "000000", R::Complete, ""},
        {101, F::Main, "1234567890", R::TooLong, ""},
        // UPC-E eleven digits.
        {75, F::Main, "01234500005", R::Complete, ""},
        {75, F::Main, "01230000045", R::Complete, ""},
        {75, F::Main, "01234500004", R::Reported, upcE},
        {75, F::Main, "01200001234", R::Reported, upcE},
        {75, F::Main, "0123450000", R::Incomplete, ""},
        {75, F::Main, "", R::Incomplete, ""},
        {75, F::Main, "012345000051", R::Rejected, kIncorrect},
        {75, F::Main, "0123A", R::Rejected, kIncorrect},
        {75, F::Main, "11234500005", R::Reported, "Invalid input :  1st character must be 0."},
        {75, F::Main, "A", R::Reported, "Invalid input :  1st character must be 0."},
        {102, F::Main, "11234500005", R::Complete, ""},
        {102, F::Main, "01234500005", R::Reported, "Invalid input :  1st character must be 1."},
        {102, F::Main, "11234500004", R::Reported, upcE},
        {75, F::AddOn, "12", R::Complete, ""},
        // No input for FIM and the unsupported family; no add-on where the layout has none.
        {30, F::Main, "", R::Incomplete, ""},
        {30, F::Main, "A", R::Rejected, kIncorrect},
        {57, F::Main, "123", R::Rejected, kIncorrect},
        {6, F::AddOn, "12", R::Rejected, kIncorrect},
        {0, F::Main, "1", R::Rejected, kIncorrect},
        {-1, F::Main, "1", R::Rejected, kIncorrect},
        // HIBC primary: the last character is a digit.
        {8, F::Main, "+A999A", R::Incomplete, ""},
        {8, F::Main, "+A99912345678901234", R::Complete, ""},
        {8, F::Main, "+1999", R::Rejected, WithNumber(333)},
        // Vantic128 digit pairs.
        {116, F::Main, "94", R::Complete, ""},
        {116, F::Main, "95", R::Rejected, kIncorrect},
        {116, F::Main, "0195", R::Complete, ""},
        {116, F::Main, "0196", R::Rejected, kIncorrect},
        {116, F::Main, "01000", R::Incomplete, ""},
        // Several application identifiers.
        {60, F::Main, "(01)1(10)A(21)B", R::Complete, ""},
        {60, F::Main, "(01)1(10", R::Incomplete, ""},
        {60, F::Main, "(01)(10)", R::Rejected, WithNumber(332)},
        {66, F::Main, "(01)12345678901234(240)", R::Complete, ""},
        {69, F::Main, "(420)", R::Complete, ""},
    };
    for (const Case& c : cases) ExpectOutcome(c.variation, c.role, c.text, c.result, c.message);
}

TEST(FormatEngine, DateChecks) {
    struct Case {
        int variation;
        std::string text;
        R result;
    };
    const Case cases[] = {
        // MMYY
        {9, "+$$1299LOT", R::Complete},
        {9, "+$$1399LOT", R::Rejected},
        // MMDDYY, February in leap and common years
        {9, "+$$2022900", R::Complete},
        {9, "+$$2022901", R::InvalidDate},
        {9, "+$$2022801", R::Complete},
        {9, "+$$2043199", R::InvalidDate},
        {9, "+$$2123199A", R::Complete},
        // YYMMDD and YYMMDDHH
        {9, "+$$3000229", R::Complete},
        {9, "+$$3010229", R::InvalidDate},
        {9, "+$$4990430241", R::Complete},
        {9, "+$$4990431121", R::InvalidDate},
        {9, "+$$499043025", R::Rejected},
        // YYJJJ and YYJJJHH
        {9, "+$$500366", R::Complete},
        {9, "+$$501366", R::InvalidDate},
        {9, "+$$501000", R::Rejected},
        {9, "+$$501367", R::Rejected},
        {9, "+$$60136524X", R::Complete},
        {9, "+$$60136624X", R::InvalidDate},
        // no date, quantities
        {9, "+$$7LOT", R::Complete},
        {9, "+$$8123990230", R::InvalidDate},
        {9, "+$$8123990228", R::Complete},
        {9, "+$$9123453990230", R::InvalidDate},
        {9, "+$$9123457", R::Complete},
        {9, "+$$9123458", R::Rejected},
        // julian date first, single '$'
        {9, "+99365LOT", R::Complete},
        {9, "+99366LOT", R::InvalidDate},
        {9, "+00366", R::Complete},
        {9, "+$LOT1", R::Complete},
        {9, "+$99366A", R::InvalidDate},
        {9, "+$$7ABCDEFGHIJKLM/", R::Complete},
        {9, "+$$7ABCDEFGHIJKLMN", R::Complete},
        {9, "+$$7ABCDEFGHIJKLMNO", R::Rejected},
        {19, "+$$3990230", R::InvalidDate},
        // combination: the date after the '/'
        {7, "+A9991234/$$3990230", R::InvalidDate},
        {17, "+A9991234/$$3990228", R::Complete},
        {7, "+A9991234/99366", R::InvalidDate},
        {17, "+A9991234/$$8123990230", R::InvalidDate},
        // (22) forms
        {68, "(22)3990230", R::InvalidDate},
        {68, "(22)2022900LOT", R::Complete},
        {68, "(22)7ABCDEFGHIJKLMN", R::Complete},
        {68, "(22)7ABCDEFGHIJKLMN/", R::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.variation) + " " + c.text);
        EXPECT_EQ(Validate(c.variation, F::Main, c.text).result, c.result);
    }
}

TEST(FormatEngine, CurrentFormatFollowsTheField) {
    SelectMainFormat(26);
    EXPECT_EQ(CurrentFormat(), FindFormat(26, F::Main));
    Validate(26, F::AddOn, "12");
    EXPECT_EQ(CurrentFormat(), FindFormat(26, F::AddOn));
    SelectMainFormat(30);
    EXPECT_EQ(CurrentFormat(), nullptr);
}

// A hand-made record: the automaton as the record describes it.
TEST(FormatAutomaton, RunsRecordTables) {
    FormatRecord f;
    f.maxLength = 10;
    f.symbolCount = 2;
    f.symbols[0] = {CharClass::Literal, '7'};
    f.symbols[1] = {CharClass::Digit, 0};
    f.stateCount = 4;
    f.acceptingState = 2;
    // 0 -digit-> 1 -digit-> 2 -digit-> -3 (accepting by group) -'7'-> -1 (reject)
    f.next[1][0] = 1;
    f.next[1][1] = 2;
    f.next[1][2] = -3;
    f.next[1][3] = 2;
    f.next[0][0] = 1;
    f.next[0][1] = 2;
    f.next[0][2] = -3;
    f.next[0][3] = -1;
    f.groupCount = 1;
    f.groups[0] = {-3, 2, {1, 2}};

    std::size_t at = 99;
    EXPECT_EQ(RunFormat(f, "12", &at), 2);
    EXPECT_EQ(RunFormat(f, "123"), -3);
    EXPECT_TRUE(IsAcceptingState(f, -3));
    EXPECT_EQ(RunFormat(f, "1234"), 2);       // row 3 of state -3
    EXPECT_EQ(RunFormat(f, "1237", &at), 0);  // '7' matches its literal first
    EXPECT_EQ(at, 3u);
    EXPECT_EQ(RunFormat(f, "1A", &at), 0);
    EXPECT_EQ(at, 1u);
    EXPECT_FALSE(IsAcceptingState(f, 1));
    EXPECT_FALSE(IsAcceptingState(f, 0));
    f.groups[0].members[1] = 1;  // group no longer holds the accepting state
    EXPECT_FALSE(IsAcceptingState(f, -3));
    // A state beyond the record's rows rejects instead of reading past it.
    f.next[1][2] = 100;
    EXPECT_EQ(RunFormat(f, "1234"), 0);
}

TEST(FormatBuilder, ChecksRecordLimits) {
    struct Case {
        std::string pattern;
        int maxLength;
        bool fits;
    };
    const Case cases[] = {
        {"D{127}", 127, true},
        {"D{128}", 128, false},  // 129 states
        {"'abcdefghijklmnopqr'", 18, true},
        {"'abcdefghijklmnopqrs'", 19, false},  // 19 symbols
        {"D{2} | D{5}", 0, false},
        {"D*", 5, false},  // accepts the empty text
        {"D{", 5, false},
        {"'abc", 5, false},
        {"(D", 5, false},
        {"<nothing>", 5, false},
        {"[9-0]", 5, false},
        {"D{3..2}", 5, false},
        {"", 5, false},
        {"D | ", 5, false},
    };
    for (const Case& c : cases) {
        FormatRecord f;
        std::string error;
        EXPECT_EQ(BuildFormat(c.pattern, c.maxLength, f, &error), c.fits) << c.pattern;
        EXPECT_EQ(error.empty(), c.fits) << c.pattern << ": " << error;
    }
}

TEST(FormatBuilder, SymbolListSeparatesOverlappingClasses) {
    // '(8003)' needs the digits 0, 3 and 8 apart from the others, and the AI
    // characters after them.
    FormatRecord f;
    ASSERT_TRUE(BuildFormat("'(8003)'D{2}(D | <ai>)*", 36, f));
    for (const char* text : {"(8003)12", "(8003)12AB-3", "(8003)00"})
        EXPECT_TRUE(IsAcceptingState(f, RunFormat(f, text))) << text;
    for (const char* text : {"(8004)12", "(8003)A", "8003"}) EXPECT_EQ(RunFormat(f, text), 0) << text;
}

TEST(FormatEngine, AnyBytesAreSafe) {
    test::ScopedRecordingSink box;
    std::vector<std::string> texts;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        texts.push_back(one);
        texts.push_back("12" + one + "34");
        texts.push_back("+A9991234/$$" + one);
    }
    for (char c : {'0', 'A', '\0', '\x80', '\xff', '(', '['}) texts.push_back(std::string(10000, c));
    std::string mixed;
    for (int i = 0; i < 10000; ++i) mixed += static_cast<char>((i * 37 + 11) % 256);
    texts.push_back(mixed);

    for (int v = 0; v <= 200; ++v) {
        for (F role : {F::Main, F::AddOn, F::Fact, F::CouponUpc, F::Coupon128}) {
            for (const std::string& t : texts) {
                box.sink.messages.clear();
                const R r = ValidateInput(v, role, t);
                const bool shown = r == R::Rejected || r == R::Reported;
                ASSERT_EQ(box.sink.messages.size(), shown ? 1u : 0u)
                    << v << " " << RoleName(role) << " size " << t.size();
            }
        }
    }
}

}  // namespace
}  // namespace vg

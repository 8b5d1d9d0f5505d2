#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/drawsymbol.h"
#include "device/recordingdc.h"
#include "symbolfixture.h"
#include "symbology/check.h"
#include "symbology/eanupc.h"
#include "symbology/encode.h"

namespace vg {
namespace {

constexpr const char* kOcrB = "OCRB Vornel Glyph";
constexpr const char* kOcrA = "OCRA Vornel Glyph";
constexpr Rgb kBlack{0, 0, 0};

// Font height of a point size as the drawing asks for it at 100 %.
int Height(double points) { return static_cast<int>(points / 72.0 * 1000.0); }

struct Bar {
    int left, right, top, bottom;
};

struct Drawing {
    RecordingDC dc;
    std::vector<Bar> bars;
    std::vector<RecordedText> texts;

    int BarsLeft() const { return bars.front().left; }
    int BarsRight() const { return bars.back().right; }
    int BarsTop() const {
        int top = bars.front().top;
        for (const Bar& b : bars) top = std::min(top, b.top);
        return top;
    }
    // Texts above the highest bar end, in drawing order.
    std::vector<RecordedText> Above() const {
        std::vector<RecordedText> out;
        for (const RecordedText& t : texts)
            if (bars.empty() || t.at.y < BarsTop()) out.push_back(t);
        return out;
    }
    std::vector<RecordedText> NotAbove() const {
        std::vector<RecordedText> out;
        for (const RecordedText& t : texts)
            if (!bars.empty() && t.at.y >= BarsTop()) out.push_back(t);
        return out;
    }
    // Advance of a recorded text in its font.
    int Advance(const RecordedText& t) {
        dc.SelectFont(t.font);
        return dc.GetTextExtent(t.text).cx;
    }
};

std::string Join(const std::vector<RecordedText>& texts) {
    std::string s;
    for (const RecordedText& t : texts) s += t.text;
    return s;
}

std::vector<RecordedText> ByX(std::vector<RecordedText> texts) {
    std::stable_sort(texts.begin(), texts.end(),
                     [](const RecordedText& a, const RecordedText& b) { return a.at.x < b.at.x; });
    return texts;
}

void Draw(Drawing& d, int previewFlag = 0) {
    ASSERT_TRUE(DrawSymbol(d.dc, ClipRect{0, 0, 800, 600}, 1, previewFlag, nullptr));
    for (const RecordedPolygon& p : d.dc.PolygonsIn(kBlack)) {
        Bar b{p.points[0].x, p.points[0].x, p.points[0].y, p.points[0].y};
        for (const Point& q : p.points) {
            b.left = std::min(b.left, q.x);
            b.right = std::max(b.right, q.x);
            b.top = std::min(b.top, q.y);
            b.bottom = std::max(b.bottom, q.y);
        }
        d.bars.push_back(b);
    }
    d.texts = d.dc.Texts();
}

char Check(std::string_view digits) { return CheckMod10(digits); }

// An EAN/UPC symbol with its encoded pattern.
void Symbol(int family, int variation, const char* typed, const char* main, char check1, char check2 = 0,
            const char* addOn = "") {
    test::PlainSettings(family, variation);
    SettingsRecord& s = SymbolSettings;
    SetText(s.OriginalMainText, typed);
    SetText(s.MainText, main);
    SetText(s.AddOnText, addOn);
    s.CheckCharacter1 = static_cast<uint8_t>(check1);
    s.CheckCharacter2 = static_cast<uint8_t>(check2);
    s.FontName4ISBN_ISSN_SPCNs = kOcrB;
    if (family == 9) s.ISSNExtraDigits = "00";
    ASSERT_EQ(EncodeCurrentVariation(), 1);
}

// ISBN 0-306-40615: modulo 11 check 2, EAN-13 978030640615 check 7.
void Isbn(int variation, const char* typed = "0-306-40615") {
    Symbol(8, variation, typed, "030640615", '2', Check("978030640615"));
}

TEST(EanUpcText, Ean13DigitsSitInTheirGuardSeparatedGroups) {
    Symbol(6, 26, "400638133393", "400638133393", '1');
    Drawing d;
    Draw(d);
    ASSERT_EQ(d.bars.size(), 30u);
    ASSERT_EQ(Join(d.texts), "4006381333931");
    const int startGuardEnd = d.bars[1].right, centreStart = d.bars[14].left;
    const int centreEnd = d.bars[15].right, endStart = d.bars[28].left;
    EXPECT_LT(d.texts[0].at.x, d.BarsLeft());
    EXPECT_EQ(d.texts[0].align, kAlignCentreTop);
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        const int x = d.texts[i].at.x;
        if (i <= 6) {
            EXPECT_GT(x, startGuardEnd);
            EXPECT_LT(x, centreStart);
        } else {
            EXPECT_GT(x, centreEnd);
            EXPECT_LT(x, endStart);
        }
        if (i > 1) {
            EXPECT_GT(x, d.texts[i - 1].at.x);
        }
        // Narrow digits stand between the guard-bar extensions.
        EXPECT_LT(d.texts[i].at.y, d.bars[0].bottom);
        EXPECT_GT(d.texts[i].at.y, d.bars[2].bottom);
        EXPECT_EQ(d.texts[i].font.height, Height(9));
    }
}

TEST(EanUpcText, TypedHyphensSpreadTheTypedTextEvenly) {
    Symbol(6, 26, "400-638-133-393", "400638133393", '1');
    Drawing d;
    Draw(d);
    ASSERT_EQ(Join(d.texts), "400-638-133-3931");
    const std::vector<RecordedText>& t = d.texts;
    EXPECT_LT(t[0].at.x, d.BarsLeft());
    const int pitch = t[2].at.x - t[1].at.x;
    EXPECT_GT(pitch, 0);
    for (std::size_t i = 1; i < t.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(t[i].at.x - t[1].at.x, static_cast<int>(i - 1) * pitch, 2 + static_cast<int>(i));
        EXPECT_GE(t[i].at.x, d.BarsLeft());
        EXPECT_LT(t[i].at.x, d.BarsRight());
        // Below the guard bars, not between their extensions.
        EXPECT_GE(t[i].at.y, d.bars[0].bottom - 1);
    }
}

TEST(EanUpcText, HiddenCheckDigitLeavesTheThirteenthPlaceEmptyExceptForStandardNumbers) {
    struct Case {
        int family, variation;
        std::string below;
    } cases[] = {{6, 26, "400638133393"}, {8, 35, "9780306406157"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        if (c.variation == 26)
            Symbol(6, 26, "400638133393", "400638133393", '1');
        else
            Isbn(c.variation);
        SymbolSettings.HideCheckDigits = 1;
        Drawing d;
        Draw(d);
        EXPECT_EQ(Join(d.NotAbove()), c.below);
    }
}

TEST(EanUpcText, StandardNumberLines) {
    struct Case {
        int variation;
        const char* typed;
        int hideCheck;
        std::string line;
    } cases[] = {
        {35, "0-306-40615", 0, "ISBN 0-306-40615-2"},
        {35, "0-306-40615-", 0, "ISBN 0-306-40615-2"},
        {35, "0-306-40615", 1, "ISBN 0-306-40615"},
        {36, "0-306-40615", 0, "ISBN 0-306-40615-2"},
        {77, "0-306-40615", 0, "ISMN 0-306-40615-2"},
        {80, "0-306-40615", 0, "ISRC 0-306-40615-2"},
        {135, "0-306-40615", 0, "ISBN 978-0-306-40615-7"},
        {136, "0-306-40615", 0, std::string("ISBN 979-0-306-40615-") + Check("979030640615")},
        {38, "0317-847", 0, "ISSN 0317-8471"},
        {138, "0317-847", 0, std::string("ISSN 977-0317-847") + Check("977031784700")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        if (c.variation == 38 || c.variation == 138) {
            Symbol(9, c.variation, c.typed, "0317847", '1', Check("977031784700"));
        } else {
            const char* prefix =
                c.variation == 36 || c.variation == 78 || c.variation == 80 || c.variation == 136 ? "979" : "978";
            Symbol(8, c.variation, c.typed, "030640615", '2', Check(std::string(prefix) + "030640615"));
        }
        SymbolSettings.HideCheckDigits = c.hideCheck;
        Drawing d;
        Draw(d);
        const std::vector<RecordedText> line = d.Above();
        EXPECT_EQ(Join(line), c.line);
        ASSERT_FALSE(line.empty());
        const int points = c.variation == 135 || c.variation == 136 || c.variation == 138 ? 7 : 8;
        EXPECT_EQ(line[0].font.height, Height(points));
        EXPECT_EQ(line[0].font.face, kOcrB);
        // The line starts at the first bar and lies above the box of the bars.
        EXPECT_EQ(line[0].at.x, d.BarsLeft());
        for (std::size_t i = 1; i < line.size(); ++i) EXPECT_GT(line[i].at.x, line[i - 1].at.x);
        EXPECT_LE(d.dc.Polygons()[0].points[0].y, line[0].at.y);
        // The typed texts are back in the record.
        EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), c.typed);
    }
}

TEST(EanUpcText, AdjustedLineGrowsUntilItSpansTheBars) {
    for (int variation : {105, 145}) {
        SCOPED_TRACE(variation);
        Isbn(variation);
        Drawing d;
        Draw(d);
        std::vector<RecordedText> line = d.Above();
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(Join(line).substr(0, 5), "ISBN ");
        const int span = d.BarsRight() - d.BarsLeft();
        const RecordedText last = line.back();
        EXPECT_GE(last.at.x + d.Advance(last) - line[0].at.x, span - 2);
        // One point less would not have spanned them.
        const int points = static_cast<int>(line[0].font.height * 72.0 / 1000.0 + 0.5);
        EXPECT_GT(points, variation == 105 ? 8 : 6);
        FontSpec smaller = line[0].font;
        smaller.height = Height(points - 1);
        ASSERT_TRUE(d.dc.SelectFont(smaller));
        EXPECT_LT(d.dc.GetTextExtent(Join(line)).cx, span);
    }
}

TEST(EanUpcText, DualNumberingPrintsTwoLinesApart) {
    struct Case {
        const char* addOn;
        double points;
    } cases[] = {{"", 5.5}, {"12", 7.5}, {"52495", 8.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addOn);
        Symbol(8, 134, "0-306-40615", "030640615", '2', Check("978030640615"), c.addOn);
        Drawing d;
        Draw(d);
        std::vector<RecordedText> above = d.Above();
        std::string isbn13, isbn10;
        ASSERT_FALSE(above.empty());
        int y13 = above[0].at.y, y10 = 0;
        for (const RecordedText& t : above) {
            EXPECT_EQ(t.font.height, Height(c.points));
            if (t.at.y == y13) {
                y13 = t.at.y;
                isbn13 += t.text;
            } else {
                y10 = t.at.y;
                isbn10 += t.text;
            }
        }
        EXPECT_EQ(isbn13, "ISBN-13: 978-0-306-40615-7");
        EXPECT_EQ(isbn10, "ISBN-10: 0-306-40615-2");
        EXPECT_NEAR(y10 - y13, 120, 1);
    }
}

TEST(EanUpcText, UpcAOutsideDigitsAreSmaller) {
    Symbol(16, 72, "03600029145", "03600029145", '2');
    Drawing d;
    Draw(d);
    std::vector<RecordedText> t = ByX(d.texts);
    ASSERT_EQ(t.size(), 12u);
    EXPECT_EQ(Join(t), "036000291452");
    EXPECT_LT(t.front().at.x, d.BarsLeft());
    EXPECT_GT(t.back().at.x, d.BarsRight());
    for (std::size_t i = 0; i < t.size(); ++i) {
        SCOPED_TRACE(i);
        const bool outside = i == 0 || i + 1 == t.size();
        EXPECT_EQ(t[i].font.height, outside ? Height(9 * 0.9) : Height(9));
    }
}

TEST(EanUpcText, NdcFormShowsTheLetterNAboveTheDigit3) {
    Symbol(16, 73, "31234567890", "31234567890", Check("31234567890"));
    Drawing d;
    Draw(d);
    const std::vector<RecordedText>& t = d.texts;
    auto n = std::find_if(t.begin(), t.end(), [](const RecordedText& r) { return r.text == "N"; });
    ASSERT_NE(n, t.end());
    auto three =
        std::find_if(t.begin(), t.end(), [&](const RecordedText& r) { return r.text == "3" && r.at.x == n->at.x; });
    ASSERT_NE(three, t.end());
    EXPECT_LT(n->at.x, d.BarsLeft());
    EXPECT_LT(n->at.y, three->at.y);
    EXPECT_EQ(t.size(), 13u);  // N, 3, check digit and ten digits under the bars
}

TEST(EanUpcText, UpcEShowsTheSixDigitForm) {
    struct Case {
        int variation;
        const char* main;
        const char* six;
        char system;
        std::string ten;  // digits after the number system digit
    } cases[] = {
        {74, "123455", "123455", '0', "1234500005"},
        {75, "01234500005", "123455", '0', "1234500005"},
        {101, "123453", "123453", '1', "1230000045"},
        {102, "11230000045", "123453", '1', "1230000045"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        const char check = Check(std::string(1, c.system) + c.ten);
        Symbol(17, c.variation, c.main, c.main, check);
        Drawing d;
        Draw(d);
        std::vector<RecordedText> t = ByX(d.texts);
        EXPECT_EQ(Join(t), std::string(1, c.system) + c.six + check);
        ASSERT_EQ(t.size(), 8u);
        EXPECT_LT(t.front().at.x, d.BarsLeft());
        EXPECT_GT(t.back().at.x, d.BarsRight());
        for (std::size_t i = 1; i <= 6; ++i) {
            EXPECT_GT(t[i].at.x, d.bars[1].right);
            EXPECT_LT(t[i].at.x, d.bars[14].left);
        }
    }
}

TEST(EanUpcText, QuietZoneIndicators) {
    struct Case {
        int family, variation;
        const char* main;
        int hideCheck;
        std::string expected;
    } cases[] = {
        {6, 26, "400638133393", 0, "4006381333931>"},
        {6, 27, "5512345", 0, std::string("<5512345") + Check("5512345") + ">"},
        // The UPC-A check digit stands where the indicator would go.
        {16, 72, "03600029145", 0, "036000291452"},
        {16, 72, "03600029145", 1, "03600029145>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Symbol(c.family, c.variation, c.main, c.main, Check(c.main));
        SymbolSettings.QuietZoneIndicators = 1;
        SymbolSettings.HideCheckDigits = c.hideCheck;
        Drawing d;
        Draw(d);
        std::vector<RecordedText> t = ByX(d.texts);
        EXPECT_EQ(Join(t), c.expected);
        EXPECT_GT(t.back().at.x, d.BarsRight());
        EXPECT_EQ(t.back().font.height, Height(9 * 0.9));
    }
}

TEST(EanUpcText, AddOnDigitsStandOverTheAddOnBars) {
    Symbol(6, 26, "400638133393", "400638133393", '1', 0, "52495");
    SymbolSettings.QuietZoneIndicators = 1;
    Drawing d;
    Draw(d);
    const int addOnLeft = d.bars[30].left;
    std::vector<RecordedText> addOn;
    for (const RecordedText& t : d.texts)
        if (t.at.x >= addOnLeft) addOn.push_back(t);
    addOn = ByX(addOn);
    EXPECT_EQ(Join(addOn), "52495>");
    for (std::size_t i = 0; i + 1 < addOn.size(); ++i) {
        EXPECT_LT(addOn[i].at.x, d.BarsRight());
        // Above the lowered add-on bars, level with the top of the main bars.
        EXPECT_EQ(addOn[i].at.y, d.bars[0].top);
        EXPECT_LT(addOn[i].at.y, d.bars[30].top);
    }
    EXPECT_GT(addOn.back().at.x, d.BarsRight());
}

TEST(EanUpcText, CouponTextsOverTheSecondSymbol) {
    struct Case {
        int variation;
        const char* part128;
        int hideParentheses;
        std::string shown;
    } cases[] = {
        {61, "(8100)123456", 0, "(8100)1 23456"},
        {64, "(8101)1234567890(21)12345678", 0, "(8101)1 23456 7890(21)12345678"},
        {84, "(8101)1234567890(21)12345678", 1, " 8101 1 23456 7890 21 12345678"},
        {82, "(8102)123456789012", 0, "(8102)1 23456 9012"},
        {65, "(8110)12", 0, "(8110)12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const bool ean = c.variation >= 81;
        test::PlainSettings(15, c.variation);
        SettingsRecord& s = SymbolSettings;
        const std::string part = ean ? "991234567890" : "01234567890";
        SetText(s.CouponFormatUPCpartText, part);
        SetText(s.CouponFormat128partText, c.part128);
        s.CheckCharacter1 = static_cast<uint8_t>(Check(part));
        s.HideParentheses = c.hideParentheses;
        if (ean)
            ASSERT_EQ(AppendEan13(part + static_cast<char>(s.CheckCharacter1)), 1);
        else
            ASSERT_EQ(AppendUpcA(part + static_cast<char>(s.CheckCharacter1)), 1);
        BarPattern += "++B2S1B1S4B1S2";
        for (int i = 0; i < 12; ++i) BarPattern += "B1S1B2S2B1S3";
        Drawing d;
        Draw(d);
        const int secondLeft = d.bars[30].left;
        std::vector<RecordedText> main, second;
        for (const RecordedText& t : d.texts) (t.at.x >= secondLeft ? second : main).push_back(t);
        EXPECT_EQ(Join(ByX(second)), c.shown);
        EXPECT_EQ(Join(ByX(main)), part + static_cast<char>(s.CheckCharacter1));
        for (const RecordedText& t : second) EXPECT_LT(t.at.x, d.BarsRight());
    }
}

TEST(EanUpcText, WideCouponTextIsOneLineThatHonoursHideAddonText) {
    for (int hide : {0, 1}) {
        SCOPED_TRACE(hide);
        test::PlainSettings(15, 61);
        SettingsRecord& s = SymbolSettings;
        SetText(s.CouponFormatUPCpartText, "01234567890");
        SetText(s.CouponFormat128partText, "(8100)123456");
        s.CheckCharacter1 = static_cast<uint8_t>(Check("01234567890"));
        s.HideAddonText = hide;
        s.Size = 30;
        ASSERT_EQ(AppendUpcA(std::string("01234567890") + static_cast<char>(s.CheckCharacter1)), 1);
        BarPattern += "++B2S1B1S4B1S2";
        Drawing d;
        Draw(d);
        const std::string number = std::string("01234567890") + static_cast<char>(s.CheckCharacter1);
        EXPECT_EQ(Join(d.texts), hide ? number : number + "(8100)1 23456");
    }
}

TEST(EanUpcText, TextAboveDrawsNoDigitUnderTheBars) {
    for (int variation : {26, 72}) {
        SCOPED_TRACE(variation);
        if (variation == 26)
            Symbol(6, 26, "400638133393", "400638133393", '1');
        else
            Symbol(16, 72, "03600029145", "03600029145", '2');
        SymbolSettings.TextAbove = 1;
        Drawing d;
        Draw(d);
        EXPECT_EQ(Join(d.texts), variation == 26 ? "4006381333931" : "036000291452");
        EXPECT_TRUE(d.NotAbove().empty());
        for (std::size_t i = 1; i < d.texts.size(); ++i) EXPECT_GT(d.texts[i].at.x, d.texts[i - 1].at.x);
    }
}

TEST(EanUpcText, TextWiderThanTheSymbolIsOneLineBelowTheBars) {
    Symbol(6, 26, "400638133393", "400638133393", '1', 0, "12");
    SymbolSettings.Size = 30;
    SymbolSettings.Align = 0;
    Drawing d;
    Draw(d);
    // Number, check digit and add-on in one row from the first bar.
    EXPECT_EQ(Join(d.texts), "400638133393112");
    ASSERT_FALSE(d.texts.empty());
    EXPECT_EQ(d.texts[0].at.x, d.BarsLeft());
    for (const RecordedText& t : d.texts) {
        EXPECT_EQ(t.at.y, d.texts[0].at.y);
        EXPECT_GE(t.at.y, d.bars[0].bottom - 1);
    }
}

TEST(EanUpcText, GeneralVariationsDrawOnlyTheLine) {
    struct Case {
        int family, variation;
        const char* typed;
        char check;
        std::string line;
    } cases[] = {
        {8, 34, "0-306-40615", '2', "ISBN 0-306-40615-2"},
        {9, 37, "0317-847", '1', "ISSN 0317-8471"},
        {18, 86, "2306-7118", '7', "ISMN 2306-7118-7"},
        {19, 87, "123456789", 'X', "ISRC 123456789-X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        test::PlainSettings(c.family, c.variation);
        SettingsRecord& s = SymbolSettings;
        SetText(s.OriginalMainText, c.typed);
        SetText(s.MainText, c.typed);
        s.CheckCharacter1 = static_cast<uint8_t>(c.check);
        s.FontName4humanreadable = kOcrA;
        s.Size = 12;
        Drawing d;
        Draw(d);
        EXPECT_TRUE(d.bars.empty());
        EXPECT_EQ(Join(d.texts), c.line);
        for (const RecordedText& t : d.texts) {
            EXPECT_EQ(t.font.face, kOcrA);
            EXPECT_EQ(t.font.height, Height(12));
        }
        // The background takes the line in.
        ASSERT_FALSE(d.texts.empty());
        const RecordedPolygon& background = d.dc.Polygons()[0];
        EXPECT_LE(background.points[0].y, d.texts[0].at.y);
        EXPECT_EQ(TextOf(s.MainText), c.typed);
    }
}

TEST(EanUpcText, StandardNumberTextsAreRestoredOnEveryPath) {
    for (int preview : {0, 1}) {
        SCOPED_TRACE(preview);
        Isbn(105);
        Drawing d;
        Draw(d, preview);
        EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), "0-306-40615");
        EXPECT_EQ(TextOf(SymbolSettings.MainText), "030640615");
    }
}

TEST(EanUpcText, BadInputNeverCrashes) {
    const std::string long61(61, '7');
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!\"#$%&'()";
    const char* patterns[] = {"", "++", "B1ssLL++B1", "LLLLssss", "++B1S1B2S1"};
    const int variations[] = {26, 27, 34, 35,  37,  38,  61,  62,  64,  72,  73, 74,
                              75, 81, 84, 101, 102, 105, 111, 134, 138, 141, 145};
    for (int v : variations) {
        for (const std::string& text : {std::string(), long61, letters}) {
            for (const char* pattern : patterns) {
                for (int flags = 0; flags < 8; ++flags) {
                    SCOPED_TRACE(std::to_string(v) + " " + text + " " + pattern);
                    test::PlainSettings(8, v);
                    SettingsRecord& s = SymbolSettings;
                    SetText(s.MainText, text);
                    SetText(s.OriginalMainText, text + "-");
                    SetText(s.AddOnText, text);
                    SetText(s.CouponFormatUPCpartText, text);
                    SetText(s.CouponFormat128partText, text);
                    s.CheckCharacter1 = flags & 1 ? 0 : 'X';
                    s.CheckCharacter2 = 0;
                    s.TextAbove = flags & 2;
                    s.Rotation = flags & 4 ? 270 : 0;
                    s.CenterSysChk = s.AddonTextDown = flags & 4;
                    s.QuietZoneIndicators = 1;
                    s.HideParentheses = 1;
                    s.FontName4ISBN_ISSN_SPCNs.clear();
                    BarPattern = pattern;
                    Drawing d;
                    Draw(d);
                    EXPECT_EQ(TextOf(s.MainText), std::string_view(text).substr(0, 61));
                }
            }
        }
    }
}

}  // namespace
}  // namespace vg

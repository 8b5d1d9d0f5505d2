#include <algorithm>
#include "model/settingstrailer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "model/settingsfields.h"

namespace vg {
namespace {

// A record with a distinct value in every trailer field.
SettingsRecord DistinctRecord() {
    SettingsRecord r;
    int n = 1;
    for (const SettingsField* f : SettingsTrailerFields()) {
        ++n;
        switch (f->kind) {
        case FieldKind::Integer:
            f->setInteger(r, f->maximum == 255 ? n % 200 + 30 : n * 1001 - (n % 2 ? 70000 : 0));
            break;
        case FieldKind::Decimal: f->setDecimal(r, n * 1.0625 - 3.3); break;
        default: f->setText(r, std::to_string(n % 90 + 10)); break;
        }
    }
    return r;
}

uint32_t U32At(const SettingsTrailer& t, std::size_t at) {
    uint32_t v;
    std::memcpy(&v, t.data() + at, 4);
    return v;
}

TEST(SettingsTrailer, FieldsSitAtTheirOffsets) {
    SettingsRecord r = DistinctRecord();
    r.Family = 8;
    r.Variation = 26;  // 0x1A
    r.VariationName = "ISBN";
    r.CheckCharacter1 = '7';
    r.CurRatio = 2.5;
    r.Rotation = 270;
    r.PrinterDpi = 2400;
    r.AdditionalText = "extra";
    r.H = -1.5;
    r.Hueproof = 2;
    r.CMYKblackBarsText = 99;
    r.SerialIncrement = 0x0A0D;  // CR LF
    r.Film = 3;
    r.Comments = "last";
    const SettingsTrailer t = FillSettingsTrailer(r);
    EXPECT_EQ(std::memcmp(t.data(),
                          "VORNEL GLYPH\0"
                          "6.02",
                          17),
              0);
    EXPECT_EQ(t[26] | t[27] << 8, 8);
    EXPECT_EQ(U32At(t, 28), 26u);
    EXPECT_STREQ(reinterpret_cast<const char*>(t.data() + 32), "ISBN");
    EXPECT_EQ(t[473], '7');
    double ratio, h;
    std::memcpy(&ratio, t.data() + 476, 8);
    std::memcpy(&h, t.data() + 1092, 8);
    EXPECT_EQ(ratio, 2.5);
    EXPECT_EQ(h, -1.5);
    EXPECT_EQ(U32At(t, 540), 270u);
    EXPECT_EQ(U32At(t, 576), 2400u);
    EXPECT_STREQ(reinterpret_cast<const char*>(t.data() + 759), "extra");
    EXPECT_EQ(t[1190], 2);
    EXPECT_EQ(t[1206], 99);
    EXPECT_EQ(U32At(t, 1488), 0x0A0Du);
    EXPECT_EQ(U32At(t, 1556), 3u);
    EXPECT_STREQ(reinterpret_cast<const char*>(t.data() + 2584), "last");
    for (std::size_t reserved : {475u, 572u, 573u, 574u, 575u, 1207u}) EXPECT_EQ(t[reserved], 0) << reserved;
}

// Every field comes back, brought into its valid values, and the read names
// each one it changed.
TEST(SettingsTrailer, EveryFieldComesBackInRange) {
    const SettingsRecord written = DistinctRecord();
    const SettingsTrailer t = FillSettingsTrailer(written);
    SettingsRecord valid = written;
    const std::vector<std::string> changed = ClampToValidValues(valid);
    EXPECT_GT(changed.size(), 50u);
    SettingsRecord read;
    std::vector<std::string> clamped;
    ASSERT_TRUE(ApplySettingsTrailer(t, read, &clamped));
    EXPECT_EQ(clamped, changed);
    for (const SettingsField* f : SettingsTrailerFields())
        EXPECT_EQ(FieldValueText(read, *f, 17), FieldValueText(valid, *f, 17)) << f->name;
}

TEST(SettingsTrailer, TextsAreCutToTheirFields) {
    SettingsRecord r;
    struct Case {
        std::string SettingsRecord::*field;
        std::size_t limit;
    };
    const Case cases[] = {{&SettingsRecord::VariationName, 255},    {&SettingsRecord::AdditionalText, 255},
                          {&SettingsRecord::ISSNExtraDigits, 2},    {&SettingsRecord::FontName4humanreadable, 49},
                          {&SettingsRecord::BarsTextColorName, 40}, {&SettingsRecord::Comments, 255}};
    for (const Case& c : cases) {
        for (std::size_t length : {c.limit, c.limit + 1, c.limit + 100}) {
            r.*c.field = std::string(length, 'x');
            SettingsRecord back;
            ASSERT_TRUE(ApplySettingsTrailer(FillSettingsTrailer(r), back));
            EXPECT_EQ(back.*c.field, std::string(c.limit, 'x')) << length;
        }
    }
}

// A stored text that its field would refuse is brought into it on reading,
// and the read says so.
TEST(SettingsTrailer, StoredTextsAreBroughtIntoTheirFields) {
    struct Case {
        std::string SettingsRecord::*field;
        const char* stored;
        const char* read;
    };
    const Case cases[] = {
        {&SettingsRecord::ISSNExtraDigits, "7V", "7V"},
        {&SettingsRecord::SerialStart, "99999999999", "2147483646"},
        {&SettingsRecord::SerialStop, "12x45", "12"},
        {&SettingsRecord::BarsTextColorName, "", "Black"},
        {&SettingsRecord::SpacesQuietZoneColorName, "", "White"},
        {&SettingsRecord::AdditionalText, "ab\r\ncd", "ab"},
        {&SettingsRecord::Comments, "as stored", "as stored"},
    };
    for (const Case& c : cases) {
        SettingsRecord r;
        r.BarsTextColorName = "Black";
        r.SpacesQuietZoneColorName = "White";
        r.*c.field = c.stored;
        SettingsRecord back;
        std::vector<std::string> clamped;
        ASSERT_TRUE(ApplySettingsTrailer(FillSettingsTrailer(r), back, &clamped));
        EXPECT_EQ(back.*c.field, c.read) << c.stored;
        const bool said = std::any_of(clamped.begin(), clamped.end(), [&](const std::string& line) {
            return line.find(std::string("'") + c.read + "'") != std::string::npos;
        });
        EXPECT_EQ(said, std::string(c.stored) != c.read) << c.stored;
    }
}

TEST(SettingsTrailer, ForeignBytesAreRefusedAndChangeNothing) {
    SettingsRecord current = DistinctRecord();
    const SettingsRecord before = current;
    SettingsTrailer t = FillSettingsTrailer(SettingsRecord{});
    t[12] = ' ';  // tag without its NUL
    EXPECT_FALSE(ApplySettingsTrailer(t, current));
    t = FillSettingsTrailer(SettingsRecord{});
    t[0] = 'v';
    EXPECT_FALSE(ApplySettingsTrailer(t, current));
    EXPECT_FALSE(ApplySettingsTrailer(std::span(t.data(), t.size() - 1), current));
    for (const SettingsField* f : SettingsTrailerFields())
        EXPECT_EQ(FieldValueText(current, *f, 17), FieldValueText(before, *f, 17)) << f->name;

    // Another version text is not examined.
    t = FillSettingsTrailer(before);
    std::memcpy(t.data() + 13, "9.99", 4);
    SettingsRecord other;
    EXPECT_TRUE(ApplySettingsTrailer(t, other));
    EXPECT_EQ(other.Variation, before.Variation);
}

TEST(SettingsTrailer, UnterminatedTextsStayInsideTheirField) {
    SettingsTrailer t = FillSettingsTrailer(SettingsRecord{});
    std::memset(t.data() + 292, 'M', 62 + 62 + 7);  // MainText, OriginalMainText, AddOnText
    SettingsRecord r;
    ASSERT_TRUE(ApplySettingsTrailer(t, r));
    EXPECT_EQ(TextOf(r.MainText), std::string(61, 'M'));
    EXPECT_EQ(TextOf(r.AddOnText), std::string(6, 'M'));
}

class TrailerFile : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vglyph-trailer-XXXXXX";
        const int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        m_path = name;
        m_saved = SymbolSettings;
        SymbolSettings = DistinctRecord();
    }
    void TearDown() override {
        std::remove(m_path.c_str());
        SymbolSettings = m_saved;
    }
    void Write(const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; }
    bool Unchanged() const {
        const SettingsRecord expected = DistinctRecord();
        for (const SettingsField* f : SettingsTrailerFields())
            if (FieldValueText(SymbolSettings, *f, 17) != FieldValueText(expected, *f, 17)) return false;
        return true;
    }
    std::string m_path;
    SettingsRecord m_saved;
};

TEST_F(TrailerFile, TheLast2840BytesAreRead) {
    SettingsRecord r;
    r.Variation = 72;
    r.MainText[0] = '0';
    const SettingsTrailer t = FillSettingsTrailer(r);
    Write(std::string(5000, '\xD7') + std::string(t.begin(), t.end()));
    ASSERT_TRUE(ReadSettingsTrailer(m_path));
    EXPECT_EQ(SymbolSettings.Variation, 72);
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "0");
}

TEST_F(TrailerFile, ShortWrongAndRandomFilesAreRefused) {
    const SettingsTrailer t = FillSettingsTrailer(SettingsRecord{});
    std::mt19937 random(12);
    std::string noise(6000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::string cases[] = {
        std::string(t.begin(), t.end() - 1),    // one byte short
        std::string(t.begin(), t.end()) + "x",  // tag one byte off the end
        "",
        noise,
    };
    for (const std::string& bytes : cases) {
        Write(bytes);
        EXPECT_FALSE(ReadSettingsTrailer(m_path)) << bytes.size();
        EXPECT_TRUE(Unchanged());
    }
    EXPECT_FALSE(ReadSettingsTrailer(m_path + ".missing"));
    EXPECT_FALSE(ReadSettingsTrailer("/tmp"));
    EXPECT_TRUE(Unchanged());
}

}  // namespace
}  // namespace vg

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "model/settingsfields.h"

namespace {

using vg::FieldKind;
using vg::FindSettingsField;
using vg::SettingsField;
using vg::SettingsRecord;

const SettingsField& Field(const char* name) {
    const SettingsField* f = FindSettingsField(name);
    EXPECT_NE(f, nullptr) << name;
    static const SettingsField none{"", FieldKind::Text};
    return f ? *f : none;
}

TEST(SettingsFields, NamesAreUniqueAndExact) {
    std::set<std::string> names;
    for (const SettingsField& f : vg::SettingsFields()) EXPECT_TRUE(names.insert(f.name).second) << f.name;
    EXPECT_EQ(names.size(), 121u);  // every member of the record
    EXPECT_EQ(FindSettingsField("magnification"), nullptr);
    EXPECT_EQ(FindSettingsField("Magnification "), nullptr);
    EXPECT_EQ(FindSettingsField(""), nullptr);
}

struct SetCase {
    const char* field;
    const char* text;
    bool ok;
    const char* shown;  // value text afterwards (6 decimals)
};

TEST(SettingsFields, ParsesAndShowsEachKind) {
    const SetCase cases[] = {
        {"Rotation", "90", true, "90"},
        {"Rotation", "+270", true, "270"},
        {"Rotation", "-90", true, "-90"},
        {"Rotation", "ninety", false, "0"},
        {"Rotation", "90 ", false, "0"},
        {"Rotation", "", false, "0"},
        {"Rotation", "+-1", false, "0"},
        {"Rotation", "2147483648", false, "0"},
        {"Family", "19", true, "19"},
        {"Family", "32768", false, "0"},  // int16
        {"CheckCharacter1", "255", true, "255"},
        {"CheckCharacter1", "256", false, "0"},  // uint8
        {"CheckCharacter1", "-1", false, "0"},
        {"Magnification", "150", true, "150.000000"},
        {"Magnification", "80.5", true, "80.500000"},
        {"Magnification", "+2e2", true, "200.000000"},
        {"Magnification", "-.5", true, "-0.500000"},
        {"Magnification", "1,5", false, "0.000000"},
        {"Magnification", "inf", false, "0.000000"},
        {"Magnification", "nan", false, "0.000000"},
        {"Magnification", "1e400", false, "0.000000"},
        {"Magnification", "0x10", false, "0.000000"},
        {"AddOnText", "51234", true, "51234"},
        {"AddOnText", "123456789", true, "123456"},  // char[7]
        {"MainText", "", true, ""},
        {"Company", "ACME Print & Co = \xe6\xb5\x8b", true, "ACME Print & Co = \xe6\xb5\x8b"},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(std::string(c.field) + "=" + c.text);
        SettingsRecord r;
        std::string problem;
        EXPECT_EQ(vg::SetFieldValue(r, Field(c.field), c.text, &problem), c.ok);
        EXPECT_EQ(problem.empty(), c.ok) << problem;
        EXPECT_EQ(vg::FieldValueText(r, Field(c.field)), c.shown);
    }
}

TEST(SettingsFields, ReachTheirOwnMember) {
    SettingsRecord r;
    ASSERT_TRUE(vg::SetFieldValue(r, Field("bFilm"), "1"));
    ASSERT_TRUE(vg::SetFieldValue(r, Field("Film"), "2"));
    ASSERT_TRUE(vg::SetFieldValue(r, Field("BarHeight"), "69.5"));
    ASSERT_TRUE(vg::SetFieldValue(r, Field("bBarHeight"), "1"));
    ASSERT_TRUE(vg::SetFieldValue(r, Field("OriginalMainText"), "4006-3813"));
    EXPECT_EQ(r.bFilm, 1);
    EXPECT_EQ(r.Film, 2);
    EXPECT_EQ(r.BarHeight, 69.5);
    EXPECT_EQ(r.bBarHeight, 1);
    EXPECT_STREQ(r.OriginalMainText, "4006-3813");
    EXPECT_STREQ(r.MainText, "");
    EXPECT_EQ(vg::FieldValueText(r, Field("BarHeight"), 2), "69.50");
    EXPECT_EQ(vg::FieldValueText(r, Field("BarHeight"), 0), "70");
    EXPECT_EQ(Field("OriginalMainText").capacity, 61u);
    EXPECT_EQ(Field("CouponFormat128partText").capacity, 29u);
}

TEST(SettingsFields, FixedTextStaysTerminatedWhateverItHeld) {
    SettingsRecord r;
    std::memset(r.AddOnText, 'x', sizeof r.AddOnText);  // no terminator
    EXPECT_EQ(vg::FieldValueText(r, Field("AddOnText")), std::string(sizeof r.AddOnText, 'x'));
    ASSERT_TRUE(vg::SetFieldValue(r, Field("AddOnText"), std::string(100, 'y')));
    EXPECT_EQ(std::string(r.AddOnText), std::string(6, 'y'));
}

}  // namespace

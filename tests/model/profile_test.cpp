#include <gtest/gtest.h>

#include <set>

#include "model/profile.h"
#include "model/settingsfields.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

// Fallbacks that leave a mark each, so the test sees which rule ran.
ProfileFallbacks MarkingFallbacks() {
    ProfileFallbacks f;
    f.ratio = [] { SymbolSettings.CurRatio = 2.5; };
    f.barHeight = [] { SymbolSettings.BarHeight = 55.5; };
    f.bearerBar = [] { SymbolSettings.BearerBar = 3.5; };
    f.distance = [] { SymbolSettings.DistanceToBars = 1.25; };
    f.textFont = [] { SymbolSettings.Size = 12; };
    f.additionalTextFont = [] { SymbolSettings.SizeAT = 14; };
    return f;
}

TEST(Profile, EveryKeyNamesAFieldOnce) {
    std::set<std::string> keys;
    for (const ProfileKey& k : ProfileKeys()) {
        EXPECT_NE(FindSettingsField(k.field), nullptr) << k.key;
        EXPECT_TRUE(keys.insert(k.key).second) << k.key;
    }
    EXPECT_EQ(keys.size(), 107u);
}

// Distinct in-range values in every field, saved and loaded back, and every key
// in the store (empty texts too).
TEST(Profile, EveryFieldSurvivesSaveAndLoad) {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    int n = 0;
    for (const ProfileKey& k : ProfileKeys()) {
        const SettingsField& f = *FindSettingsField(k.field);
        ++n;
        if (k.kind == ProfileKind::Integer) f.setInteger(s, 1 + n % 19);
        if (k.kind == ProfileKind::Real) f.setDecimal(s, 3 + n / 100.0);
        if (k.kind == ProfileKind::Text && n % 5) f.setText(s, "t\xe9xt " + std::to_string(n));
    }
    s.BarHeight = 72.1234567;
    s.Magnification = 87.5;
    const SettingsRecord saved = s;
    MemoryProfileStore store;
    SaveProfile(store);
    EXPECT_EQ(store.values.size(), ProfileKeys().size());
    EXPECT_EQ(std::get<std::string>(store.values["BarHeight-"]), "72.1234567");
    EXPECT_EQ(std::get<std::string>(store.values["Magnification-"]), "87.50");
    EXPECT_EQ(std::get<std::string>(store.values["CurRatio-"]).find('.'), 1u);

    ResetSettingsRecord();
    // Values outside their range come back inside it, and the load names them.
    SettingsRecord valid = saved;
    const std::vector<std::string> changed = ClampToValidValues(valid);
    EXPECT_FALSE(changed.empty());
    EXPECT_EQ(LoadProfile(store, MarkingFallbacks()), changed);
    EXPECT_EQ(ProgrammaticInput, 1);
    EXPECT_EQ(s.ProfileInvalid, 0);
    for (const ProfileKey& k : ProfileKeys()) {
        const SettingsField& f = *FindSettingsField(k.field);
        EXPECT_EQ(FieldValueText(s, f, 6), FieldValueText(valid, f, 6)) << k.key;
    }
}

TEST(Profile, MissingAndOutOfRangeValuesTakeTheFallbacks) {
    struct Case {
        const char* what;
        void (*fill)(MemoryProfileStore&);
        void (*check)();
    };
    const Case cases[] = {
        {"first run", [](MemoryProfileStore&) {},
         [] {
             const SettingsRecord& s = SymbolSettings;
             EXPECT_EQ(s.Family, 0);
             EXPECT_EQ(s.ProfileInvalid, 1);
             EXPECT_EQ(ProgrammaticInput, 0);
             EXPECT_EQ(s.Format, 1);
             EXPECT_EQ(s.FileName, 4);
             EXPECT_EQ(s.PrinterDpi, 2400);
             EXPECT_EQ(s.GSCalibration, 31);
             EXPECT_EQ(s.CurRatio, 2.5);  // 0 is out of range
             EXPECT_EQ(s.BarHeight, 55.5);
             EXPECT_EQ(s.BearerBar, 0);  // 0 is in range
             EXPECT_EQ(s.Size, 12);
             EXPECT_EQ(s.SizeAT, 14);
             EXPECT_EQ(s.blackBarsText, 100);
             EXPECT_EQ(s.redSpacesQuietZone, 100);
             EXPECT_EQ(s.BarsTextColorName, "Bars & Text Color");
             EXPECT_EQ(s.SpacesQuietZoneColorName, "Spaces & QZ Color");
         }},
        {"family 25",
         [](MemoryProfileStore& p) {
             p.WriteInt("Family", 25);
             p.WriteInt("Variation", 26);
         },
         [] {
             EXPECT_EQ(SymbolSettings.Family, 0);
             EXPECT_EQ(SymbolSettings.Variation, 26);
             EXPECT_EQ(SymbolSettings.ProfileInvalid, 1);
         }},
        {"ratio 5 replaced, x-dimension 0.01 brought to 0.13, bar height 1 replaced",
         [](MemoryProfileStore& p) {
             p.WriteInt("Family", 6);
             p.WriteInt("Variation", 26);
             p.WriteString("CurRatio-", "5.000000");
             p.WriteString("CurBarXDimension-", "0.01");
             p.WriteString("BarHeight-", "1.0000000");
             p.WriteString("BearerBar-", "40");
             p.WriteString("DistanceToBars-", "-7");
         },
         [] {
             const SettingsRecord& s = SymbolSettings;
             EXPECT_EQ(s.ProfileInvalid, 0);
             EXPECT_EQ(ProgrammaticInput, 1);
             EXPECT_EQ(s.CurRatio, 2.5);
             EXPECT_EQ(s.CurBarXDimension, 0.13);
             EXPECT_EQ(s.BarHeight, 55.5);
             EXPECT_EQ(s.BearerBar, 3.5);
             EXPECT_EQ(s.DistanceToBars, 1.25);
         }},
        {"ratio 3 kept, texts cut, colour bytes cut",
         [](MemoryProfileStore& p) {
             p.WriteString("CurRatio-", "3.000000");
             p.WriteString("OriginalMainText-", std::string(80, '7'));
             p.WriteString("AddOnText-", "123456789");
             p.WriteInt("redBarsText", 0x1FF);
             p.WriteInt("Size", 201);
             p.WriteString("Magnification-", "nan");
         },
         [] {
             const SettingsRecord& s = SymbolSettings;
             EXPECT_EQ(s.CurRatio, 3.0);
             EXPECT_EQ(TextOf(s.OriginalMainText), std::string(61, '7'));
             EXPECT_EQ(TextOf(s.AddOnText), "123456");
             EXPECT_EQ(s.redBarsText, 100);  // its low byte 0xFF, brought into range
             EXPECT_EQ(s.Size, 12);
             EXPECT_EQ(s.Magnification, 33);  // read as 0, brought into range
         }},
        {"a value of the wrong type is missing",
         [](MemoryProfileStore& p) {
             p.WriteString("Format", "2");
             p.WriteInt("Company-", 5);
         },
         [] {
             EXPECT_EQ(SymbolSettings.Format, 1);
             EXPECT_EQ(SymbolSettings.Company, "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSettingsRecord();
        MemoryProfileStore store;
        c.fill(store);
        LoadProfile(store, MarkingFallbacks());
        c.check();
    }
}

TEST(Profile, RealsReadLikeAtof) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0},     {"abc", 0}, {" 3.5x", 3.5}, {"-1.25", -1.25}, {"+2", 2}, {"1e3", 1000},
        {".5", 0.5}, {"nan", 0}, {"inf", 0},     {"1e999", 0},     {"-", 0},  {"0x10", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseProfileReal(c.text), c.value) << c.text;
    EXPECT_EQ(FormatProfileReal(0.0125, 7), "0.0125000");
    EXPECT_EQ(FormatProfileReal(2.0, 6), "2.000000");
    EXPECT_EQ(FormatProfileReal(-6.005, 2), "-6.00");
}

// The English texts switch: off when missing, kept apart from the record's keys.
TEST(Profile, EnglishTextsSwitch) {
    MemoryProfileStore store;
    LoadEnglishTextsSwitch(store);
    EXPECT_FALSE(EnglishTexts());
    SetEnglishTexts(true);
    SaveEnglishTextsSwitch(store);
    EXPECT_EQ(store.ReadInt(kEnglishTextsKey), 1);
    SetEnglishTexts(false);
    LoadEnglishTextsSwitch(store);
    EXPECT_TRUE(EnglishTexts());
    store.WriteInt(kEnglishTextsKey, 0);
    LoadEnglishTextsSwitch(store);
    EXPECT_FALSE(EnglishTexts());
    for (const ProfileKey& k : ProfileKeys()) EXPECT_STRNE(k.key, kEnglishTextsKey);
}

}  // namespace
}  // namespace vg

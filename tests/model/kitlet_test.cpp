#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdlib.h>

#include "model/kitlet.h"
#include "model/kitletmenu.h"
#include "model/settingsfields.h"
#include "recordingsink.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

// Fields a Kitlet does not carry (the data texts, the computed and per-run values).
bool NotInKitlet(std::string_view name) {
    static const std::set<std::string_view> kNot = {"Family",
                                                    "Variation",
                                                    "VariationName",
                                                    "Derived",
                                                    "MainText",
                                                    "OriginalMainText",
                                                    "AddOnText",
                                                    "FACTdataIDtext",
                                                    "CouponFormatUPCpartText",
                                                    "CouponFormat128partText",
                                                    "CheckCharacter1",
                                                    "CheckCharacter2",
                                                    "ProfileInvalid",
                                                    "DpiListCount",
                                                    "SerialMain",
                                                    "SerialAddOn",
                                                    "ISSNExtraDigits"};
    return kNot.count(name) != 0;
}

class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/vgl-kitlet-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string path;
};

// Items 0 to 4 of a schema-1 Kitlet, built by hand from the layout.
TEST(Kitlet, SchemaOneBytesAsLaidOut) {
    Kitlet k;
    k.schema = 1;
    k.tag = kKitletTag;
    k.version = "6.02";
    k.family = 16;
    k.variation = 72;
    k.full = 0;
    const std::string expected = std::string("\x01\x00\xff\xff\x01\x00\x0f\x00", 8) + "CKitletContents" +
                                 "\x13"
                                 "VORNEL GLYPH Kitlet" +
                                 "\x04"
                                 "6.02" +
                                 std::string(
                                     "\x10\0\0\0"
                                     "H\0\0\0"
                                     "\0\0\0\0",
                                     12);
    EXPECT_EQ(KitletBytes(k), expected);

    Kitlet back;
    ASSERT_EQ(ReadKitlet(Bytes(expected), back), KitletStatus::Ok);
    EXPECT_EQ(back.schema, 1);
    EXPECT_EQ(back.family, 16);
    EXPECT_EQ(back.variation, 72);
    // Full flag 0: only the family and variation are applied.
    SettingsRecord r;
    r.CurRatio = 2.75;
    r.Derived = 1;
    ApplyKitlet(back, r);
    EXPECT_EQ(r.Family, 16);
    EXPECT_EQ(r.Variation, 72);
    EXPECT_EQ(r.Derived, 0);
    EXPECT_EQ(r.CurRatio, 2.75);
}

// The offsets of the schema-2 items: 105 items after item 4, each of its width.
TEST(Kitlet, SchemaTwoItemWidthsAndStringLengths) {
    SettingsRecord r;
    r.Family = 6;
    r.Variation = 26;
    r.CurRatio = 2.5;
    r.Rotation4AdditionalText = -90;
    r.Hueproof = 3;
    r.Comments = std::string(300, 'c');  // 0xFF and a 16-bit length
    const std::string bytes = KitletBytes(KitletOf(r, false));
    // Header 23, tag 20, version 5, three int32; 8 doubles; 33 int32 + 4 after the strings...
    std::size_t at = 23 + 20 + 5 + 12;
    double ratio;
    std::memcpy(&ratio, bytes.data() + at, 8);
    EXPECT_EQ(ratio, 2.5);
    // Strings of the empty record are one length byte each; the last one is the comments.
    const std::size_t strings = 1 + 3 + 1 + 2 + 4 + 4;  // items 42..45, 47, 56, 57, 83..86, 105..108
    const std::size_t fixedWidth = 8 * 10 + 4 * 8 + 4 * 21 + 4 + 4 * 5 + 2 + 17 + 4 * 8 + 4 + 4 * 17;
    const std::string colours = std::string(r.BarsTextColorName) + r.SpacesQuietZoneColorName;
    ASSERT_EQ(bytes.size(), 23 + 20 + 5 + 12 + fixedWidth + strings + colours.size() + 3 + 300);
    EXPECT_EQ(bytes.substr(bytes.size() - 303, 3), std::string("\xff\x2c\x01", 3));
    Kitlet back;
    ASSERT_EQ(ReadKitlet(Bytes(bytes), back), KitletStatus::Ok);
    EXPECT_EQ(back.settings.Comments, r.Comments);
    EXPECT_EQ(back.settings.Rotation4AdditionalText, -90);
}

TEST(Kitlet, EveryStoredFieldSurvivesAFile) {
    TempFolder dir;
    SettingsRecord r;
    int n = 0;
    for (const SettingsField& f : SettingsFields()) {
        ++n;
        if (f.kind == FieldKind::Integer) f.setInteger(r, n % 100);
        if (f.kind == FieldKind::Decimal) f.setDecimal(r, n + 0.125);
        if (f.kind == FieldKind::FixedText || f.kind == FieldKind::Text) f.setText(r, "v\xe9" + std::to_string(n));
    }
    r.Family = 4;
    r.Variation = 11;
    SetText(r.FACTdataIDtext, "17V");
    const std::string path = dir.path + "/Code 39 mine";
    ASSERT_TRUE(WriteKitletFile(path, KitletOf(r, false)));
    Kitlet k;
    ASSERT_EQ(ReadKitletFile(path, k), KitletStatus::Ok);
    SettingsRecord applied;
    // Applied, the values out of range are brought into it and named.
    const std::vector<std::string> clamped = ApplyKitlet(k, applied);
    EXPECT_NE(std::find(clamped.begin(), clamped.end(), "CurRatio 14.125 -> 4.2"), clamped.end());
    EXPECT_EQ(applied.Family, 4);
    EXPECT_EQ(applied.Variation, 11);
    EXPECT_EQ(applied.Derived, 1);
    EXPECT_EQ(KitletFull, 1);
    EXPECT_EQ(applied.ISSNExtraDigits, "17V");  // Code 39 carries its FACT identifier
    SettingsRecord valid = r;
    ClampToValidValues(valid);
    for (const SettingsField& f : SettingsFields()) {
        if (NotInKitlet(f.name)) continue;
        EXPECT_EQ(FieldValueText(k.settings, f, 17), FieldValueText(r, f, 17)) << f.name;
        EXPECT_EQ(FieldValueText(applied, f, 17), FieldValueText(valid, f, 17)) << f.name;
    }
}

TEST(Kitlet, DataFlagOnlyForUpcANamesWithDollar) {
    EXPECT_TRUE(KitletDataFlag(16, "$shelf"));
    EXPECT_FALSE(KitletDataFlag(16, "shelf"));
    EXPECT_FALSE(KitletDataFlag(6, "$shelf"));
    SettingsRecord r;
    r.Family = 16;
    SetText(r.MainText, "03600029145");
    r.ISSNExtraDigits = "07";
    EXPECT_EQ(KitletOf(r, true).dataSlot, "03600029145");
    EXPECT_EQ(KitletOf(r, false).dataSlot, "07");
}

TEST(Kitlet, DamagedAndInvalidFilesAreRefused) {
    SettingsRecord r;
    r.Family = 6;
    r.Variation = 26;
    const std::string good = KitletBytes(KitletOf(r, false));
    Kitlet k;
    // Every truncation fails cleanly.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(ReadKitlet(Bytes(good.substr(0, n)), k), KitletStatus::Damaged) << n;

    struct Case {
        const char* what;
        std::size_t at;
        std::string with;
        KitletStatus status;
    };
    const Case cases[] = {
        {"no element", 0, std::string("\0\0", 2), KitletStatus::Damaged},
        {"class reference", 2, "\x01\x80", KitletStatus::Damaged},
        {"class name", 8, "CKitletContentz", KitletStatus::Damaged},
        {"schema 3", 4, std::string("\x03\0", 2), KitletStatus::Invalid},
        {"tag", 24, "v", KitletStatus::Invalid},
        {"string longer than the file", 23, "\xff\xff\xff", KitletStatus::Damaged},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        bytes.replace(c.at, c.with.size(), c.with);
        EXPECT_EQ(ReadKitlet(Bytes(bytes), k), c.status) << c.what;
        if (c.status == KitletStatus::Invalid) {
            EXPECT_EQ(k.family, 0) << c.what;
            EXPECT_EQ(k.variation, 0) << c.what;
            EXPECT_EQ(k.full, 0) << c.what;
        }
    }

    // Random damage never reads past the bytes.
    std::mt19937 random(14);
    for (int i = 0; i < 4000; ++i) {
        std::string bytes = good;
        for (int j = 0; j < 1 + i % 6; ++j) bytes[random() % bytes.size()] = static_cast<char>(random());
        ReadKitlet(Bytes(bytes), k);
    }
}

TEST(Kitlet, UnicodeStringsAreRead) {
    std::string bytes = std::string("\x01\x00\xff\xff\x01\x00\x0f\x00", 8) + "CKitletContents";
    const std::u16string tag = u"VORNEL GLYPH Kitlet";
    bytes += std::string("\xff\xfe\xff", 3) + static_cast<char>(tag.size());
    for (char16_t c : tag) bytes += std::string{static_cast<char>(c), '\0'};
    bytes += std::string(
        "\xff\xfe\xff\x02"
        "\xe9\x00"
        "\xac\x20",
        8);  // "é€"
    bytes += std::string(
        "\x06\0\0\0"
        "\x1a\0\0\0"
        "\0\0\0\0",
        12);
    Kitlet k;
    ASSERT_EQ(ReadKitlet(Bytes(bytes), k), KitletStatus::Ok);
    EXPECT_EQ(k.version, "\xe9\x80");
    EXPECT_EQ(k.variation, 26);
}

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(KitletMenu, FolderTreeBecomesPopupsAndItems) {
    TempFolder dir;
    const std::string root = dir.path + "/Kitlets";
    fs::create_directories(root + "/EAN");
    fs::create_directories(root + "/UPC/Deep");
    Touch(root + "/Code 39");
    Touch(root + "/EAN/EAN-13");
    Touch(root + "/EAN/EAN-8");
    Touch(root + "/UPC/Deep/UPC (E)");
    Touch(root + "/UPC/UPC (A) General");
    Touch(root + "/.hidden");

    const KitletMenu menu = ScanKitletFolder(root);
    ASSERT_EQ(menu.state, KitletFolderState::Found);
    ASSERT_EQ(menu.entries.size(), 3u);
    EXPECT_EQ(menu.entries[0].text, "Code 39");
    EXPECT_EQ(menu.entries[0].id, 32801);
    EXPECT_EQ(menu.entries[1].text, "EAN");
    ASSERT_TRUE(menu.entries[1].IsPopup());
    EXPECT_EQ(menu.entries[1].entries[0].id, 32802);
    EXPECT_EQ(menu.entries[1].entries[1].text, "EAN-8");
    EXPECT_EQ(menu.entries[1].entries[1].id, 32803);
    const KitletMenuEntry& upc = menu.entries[2];
    ASSERT_EQ(upc.entries.size(), 2u);
    EXPECT_EQ(upc.entries[0].entries[0].id, 32804);
    EXPECT_EQ(upc.entries[1].id, 32805);
    EXPECT_EQ(KitletItemPath(menu.entries, 32804), "/UPC/Deep/UPC (E)");
    EXPECT_EQ(KitletItemPath(menu.entries, 32806), "");

    // An empty folder gives an empty menu; a missing one is created and said.
    fs::create_directories(dir.path + "/empty");
    EXPECT_TRUE(ScanKitletFolder(dir.path + "/empty").entries.empty());
    test::ScopedRecordingSink sink;
    KitletChooser chooser;
    chooser.Build(dir.path + "/missing/Kitlets");
    EXPECT_EQ(chooser.Menu().state, KitletFolderState::Created);
    ASSERT_EQ(sink.sink.messages.size(), 1u);
    EXPECT_EQ(sink.sink.messages[0].text, "Empty Kitlets? Folder");
}

TEST(KitletMenu, ChooseAppliesSaveWritesAndMissingFilesAreSaid) {
    TempFolder dir;
    const std::string root = dir.path + "/Kitlets";
    fs::create_directories(root + "/UPC");
    SettingsRecord upc;
    upc.Family = 16;
    upc.Variation = 72;
    upc.CurRatio = 3.0;
    ASSERT_TRUE(WriteKitletFile(root + "/UPC/UPC (A) General", KitletOf(upc, false)));
    std::ofstream(root + "/Broken") << "not a kitlet";

    test::ScopedRecordingSink sink;
    KitletChooser chooser;
    chooser.Build(root);
    ResetSettingsRecord();
    ProgrammaticInput = 1;
    ASSERT_TRUE(chooser.Choose(32802));
    EXPECT_EQ(SymbolSettings.Variation, 72);
    EXPECT_EQ(SymbolSettings.CurRatio, 3.0);
    EXPECT_EQ(SymbolSettings.VariationName, "UPC (A) General");
    EXPECT_EQ(ProgrammaticInput, 0);
    EXPECT_EQ(chooser.LastId(), 32802);
    EXPECT_EQ(chooser.SaveFolder(), root + "/UPC");
    // An id without an item takes the last path again.
    SymbolSettings.Variation = 0;
    ASSERT_TRUE(chooser.Choose(72));
    EXPECT_EQ(SymbolSettings.Variation, 72);
    EXPECT_TRUE(sink.sink.messages.empty());

    // A damaged file changes nothing.
    const SettingsRecord before = SymbolSettings;
    EXPECT_FALSE(chooser.Choose(32801));
    ASSERT_EQ(sink.sink.messages.size(), 1u);
    EXPECT_NE(sink.sink.messages[0].text.find("Broken"), std::string::npos);
    EXPECT_EQ(FieldValueText(SymbolSettings, *FindSettingsField("CurRatio")),
              FieldValueText(before, *FindSettingsField("CurRatio")));
    EXPECT_EQ(SymbolSettings.Variation, 72);

    // A deleted file: "Unable to open %1" with the path, then "Kitlet not found".
    sink.sink.messages.clear();
    fs::remove(root + "/UPC/UPC (A) General");
    EXPECT_FALSE(chooser.Choose(32802));
    ASSERT_EQ(sink.sink.messages.size(), 2u);
    EXPECT_EQ(sink.sink.messages[0].text, "Unable to open " + root + "/UPC/UPC (A) General");
    EXPECT_EQ(sink.sink.messages[1].text, "Kitlet not found");

    // Save Kitlet As: a "$" UPC (A) Kitlet carries its main data.
    sink.sink.messages.clear();
    SetText(SymbolSettings.MainText, "03600029145");
    ASSERT_TRUE(chooser.SaveAs(root + "/$shelf"));
    EXPECT_EQ(sink.sink.messages.back().text, "Your Kitlet will appear at relaunch");
    Kitlet saved;
    ASSERT_EQ(ReadKitletFile(root + "/$shelf", saved), KitletStatus::Ok);
    EXPECT_EQ(saved.dataSlot, "03600029145");
    EXPECT_FALSE(chooser.SaveAs(dir.path + "/no/such/folder/k"));
    EXPECT_EQ(sink.sink.messages.back().text, "Unable to create " + dir.path + "/no/such/folder/k");
}

}  // namespace
}  // namespace vg

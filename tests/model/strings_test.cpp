#include <gtest/gtest.h>

#include <set>

#include "model/catalogue.h"
#include "model/strings.h"
#include "recordingsink.h"

namespace vg {
namespace {

TEST(StringTable, IdsStrictlyAscendingAndAllFound) {
    std::vector<int> ids = StringIds();
    ASSERT_FALSE(ids.empty());
    for (std::size_t i = 1; i < ids.size(); ++i) {
        EXPECT_LT(ids[i - 1], ids[i]) << "at index " << i;
    }
    // A lookup over every possible id finds exactly the stored ones.
    std::set<int> stored(ids.begin(), ids.end());
    std::size_t found = 0;
    for (int id = 0; id <= 70000; ++id) {
        bool has = FindString(id).has_value();
        EXPECT_EQ(has, stored.count(id) == 1) << id;
        found += has;
    }
    EXPECT_EQ(found, ids.size());
}

TEST(StringTable, KnownEntries) {
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {128, "VGL\n\nVGL\n\n\nVGL.Document\nVGL Document"},
        {57344, "Vornel Glyph"},
        {61204, "Empty Kitlets? Folder"},
        {61223, "超出范围:  %1 . . %2"},
        {61233, "毫米"},
        {61234, "点"},
        {61235, "厘米"},
        {61236, "英寸"},
        {61248, "\"Start\" may only consist of numeric characters."},
        {61263,
         "Input too long.  This variation has a fixed length format which prohibits additional "
         "characters.   Consult on-line Help or the User's Guide for more information."},
        {61265, "Codabar General"},
        {61281, "Code 128 ISBT Manufacturer's Information"},
        {61361, "Positive/Up"},
        {61364, "Negative/Down"},
        {61366, "Untitled-0001"},
        {61368, "Vornel Glyph Graphic 0001"},
        {61369, "Encoded: "},
        {61389, "\n\nError Number:  "},
        {61395, "黑"},
        {61396, "白"},
        {61423, "Invalid input for \"Convert UPC to EAN\": 1st  character must be 0."},
        {61424, "Convert UPC to EAN"},
        {61547, "Vantic128 embedded (85.5/17)"},
        {61660, "UCC/EAN-128 GIAI AI 8004"},
        {61712, "请输入一个整数。"},
    };
    for (const Case& c : cases) {
        auto s = FindString(c.id);
        ASSERT_TRUE(s.has_value()) << c.id;
        EXPECT_EQ(*s, c.text) << c.id;
    }
}

TEST(StringTable, HoldsEveryCatalogueName) {
    std::set<int> ids;
    for (const VariationInfo& v : Catalogue()) {
        auto s = FindString(v.nameId);
        ASSERT_TRUE(s.has_value()) << "variation " << v.code;
        EXPECT_EQ(*s, v.name) << "variation " << v.code;
        EXPECT_TRUE(ids.insert(v.nameId).second) << "shared id " << v.nameId;
    }
    EXPECT_EQ(ids.size(), 137u);
}

TEST(StringTable, LoadStringFoundIsSilent) {
    test::ScopedRecordingSink rec;
    EXPECT_EQ(LoadString(61395, "Black"), "黑");
    EXPECT_TRUE(rec.sink.messages.empty());
}

TEST(StringTable, LoadStringMissingReportsIdAndReturnsFallback) {
    test::ScopedRecordingSink rec;
    EXPECT_FALSE(FindString(12345).has_value());
    EXPECT_EQ(LoadString(12345, "White"), "White");
    EXPECT_EQ(LoadString(-7), "");
    ASSERT_EQ(rec.sink.messages.size(), 2u);
    EXPECT_EQ(rec.sink.messages[0].text, "Error Loading String: 12345");
    EXPECT_EQ(rec.sink.messages[0].caption, "Vornel Glyph");
    EXPECT_EQ(rec.sink.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(rec.sink.messages[1].text, "Error Loading String: -7");
}

}  // namespace
}  // namespace vg

namespace vg {
namespace {

bool HasCjk(const std::string& utf8) {
    // Lead bytes of U+2E80 to U+9FFF and of the full-width forms U+FF00 to U+FFEF.
    for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0xE2 && b <= 0xE9) {
            const unsigned cp = ((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
            if (cp >= 0x2E80 && cp <= 0x9FFF) return true;
        }
        if (b == 0xEF && static_cast<unsigned char>(utf8[i + 1]) >= 0xBC &&
            static_cast<unsigned char>(utf8[i + 1]) <= 0xBF)
            return true;
    }
    return false;
}

struct EnglishOn {
    EnglishOn() { SetEnglishTexts(true); }
    ~EnglishOn() { SetEnglishTexts(false); }
};

TEST(EnglishTexts, EveryStoredStringHasEnglishAndStoredTextsStay) {
    test::ScopedRecordingSink rec;
    EnglishOn on;
    for (int id : StringIds()) {
        const std::string stored = *FindString(id);
        EXPECT_FALSE(HasCjk(LoadString(id))) << id << " " << LoadString(id);
        EXPECT_EQ(LoadStoredString(id), stored) << id;
    }
    EXPECT_EQ(LoadString(61223), "Out of range:  %1 . . %2");
    EXPECT_TRUE(rec.sink.messages.empty());
}

TEST(EnglishTexts, TableAndLookups) {
    for (const auto& [stored, english] : EnglishTextTable()) {
        EXPECT_TRUE(HasCjk(std::string(stored))) << stored;
        EXPECT_FALSE(HasCjk(std::string(english))) << english;
    }
    // Off: every text as stored.
    EXPECT_EQ(UiText("条码选项"), "条码选项");
    EXPECT_EQ(LoadString(61236), "英寸");
    EnglishOn on;
    struct Case {
        const char* stored;
        const char* ui;
        const char* exact;
    };
    const Case cases[] = {
        {"条码选项", "Symbol Options", "Symbol Options"},
        {"撤销(&U)\tCtrl+Z", "&Undo\tCtrl+Z", "&Undo\tCtrl+Z"},
        {"单位: 毫米", "Unit: millimetres", "单位: 毫米"},    // composed of known phrases
        {"文泉驿微米黑", "文泉驿微米Black", "文泉驿微米黑"},  // a font family: exact only keeps it
        {"Code 39 General", "Code 39 General", "Code 39 General"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UiText(c.stored), c.ui) << c.stored;
        EXPECT_EQ(UiTextExact(c.stored), c.exact) << c.stored;
    }
}

}  // namespace
}  // namespace vg

#include "eps/settingsblock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "eps/epswriter.h"
#include "epstestfiles.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

TEST(SettingsBlock, EveryLineNamesAFieldOfItsKind) {
    auto lines = SettingsBlockLines();
    ASSERT_EQ(lines.size(), 108u) << "111 lines with the markers and the empty line";
    EXPECT_STREQ(lines.front().key, "VersionNumber");
    EXPECT_EQ(lines.front().field, nullptr);
    std::set<const SettingsField*> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const SettingsBlockLine& l = lines[i];
        ASSERT_NE(l.field, nullptr) << l.key;
        EXPECT_TRUE(seen.insert(l.field).second) << "field twice: " << l.field->name;
        const std::string f = l.format;
        switch (l.field->kind) {
        case FieldKind::Integer: EXPECT_EQ(f, "%d") << l.key; break;
        case FieldKind::Decimal: EXPECT_TRUE(f == "%f" || f == "%.7f" || f == "%.2f") << l.key; break;
        case FieldKind::FixedText:
        case FieldKind::Text: EXPECT_EQ(f, "%s") << l.key; break;
        }
        // The key is the field's name, but for Film, which shares bFilm's key.
        if (std::strcmp(l.field->name, "Film") == 0)
            EXPECT_STREQ(l.key, "bFilm");
        else
            EXPECT_STREQ(l.key, l.field->name);
    }
}

TEST(SettingsBlock, DecimalsOfTheFormats) {
    struct Case {
        const char* key;
        int decimals;
    } cases[] = {{"CurRatio", 6}, {"SymbolWidth", 7}, {"BarHeight", 7}, {"Magnification", 2}, {"H", 6}};
    for (const Case& c : cases) {
        bool found = false;
        for (const SettingsBlockLine& l : SettingsBlockLines()) {
            if (std::strcmp(l.key, c.key) != 0) continue;
            found = true;
            EXPECT_EQ(BlockLineDecimals(l), c.decimals) << c.key;
        }
        EXPECT_TRUE(found) << c.key;
    }
}

// The block as written follows the table line for line; its byte count is returned.
TEST(SettingsBlock, WriterFollowsTheTable) {
    test::ScratchDir dir;
    ResetSettingsRecord();
    SymbolSettings.Company = "ACME (Labels)";
    EpsOutput out;
    ASSERT_TRUE(out.Open(dir.File("block.txt").c_str()));
    out.Put(std::string(12, '.'));
    const uint32_t bytes = WriteSettingsComments(out);
    ASSERT_TRUE(out.Close());
    const std::string text = test::ReadBytes(dir.File("block.txt")).substr(12);
    EXPECT_EQ(bytes, text.size());
    const std::vector<std::string> lines = test::SplitCrLf(text);
    auto table = SettingsBlockLines();
    ASSERT_EQ(lines.size(), table.size() + 3);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::string value;
        AppendBlockValue(value, SymbolSettings, table[i]);
        EXPECT_EQ(lines[i + 1], std::string("%%_") + table[i].key + ": " + value);
    }
    EXPECT_EQ(lines[104], "%%_Company: ACME (Labels)");
}

}  // namespace
}  // namespace vg

#include <gtest/gtest.h>

#include <filesystem>

#include "clitool.h"
#include "model/kitlet.h"
#include "model/kitletmenu.h"

namespace vg::test {
namespace {

namespace fs = std::filesystem;

TEST(KitletCommand, WritesOneKitletOrTheShippedSet) {
    TempFolder dir;
    const std::string one = dir.Path() + "/EAN-13";
    ToolResult r = RunTool("kitlet -v 26 -o " + Quote(one));
    ASSERT_EQ(r.status, 0) << r.err;
    Kitlet k;
    ASSERT_EQ(ReadKitletFile(one, k), KitletStatus::Ok);
    EXPECT_EQ(k.family, 6);
    EXPECT_EQ(k.variation, 26);
    EXPECT_EQ(k.full, 0);
    EXPECT_GT(k.settings.CurRatio, 0);  // the factory values stand in the items

    r = RunTool("kitlet --full --set Magnification=150 -v 'UPC (A) General' -o " + Quote(one));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(ReadKitletFile(one, k), KitletStatus::Ok);
    EXPECT_EQ(k.variation, 72);
    EXPECT_EQ(k.full, 1);
    EXPECT_NEAR(k.settings.Magnification, 150, 1);  // on the printer's grid

    EXPECT_EQ(RunTool("kitlet -v 999 -o " + Quote(one)).status, 2);
    EXPECT_EQ(RunTool("kitlet -v 26").status, 2);
    EXPECT_EQ(RunTool("kitlet -v 26 -o " + Quote(dir.Path() + "/no/folder/k")).status, 1);

    // One per variation, a folder per family: the menu the application builds.
    r = RunTool("kitlet --all " + Quote(dir.Path() + "/Kitlets"));
    ASSERT_EQ(r.status, 0) << r.err;
    const KitletMenu menu = ScanKitletFolder(dir.Path() + "/Kitlets");
    EXPECT_EQ(menu.entries.size(), 19u);
    int items = 0;
    for (const KitletMenuEntry& family : menu.entries) {
        EXPECT_TRUE(family.IsPopup()) << family.text;
        for (const KitletMenuEntry& e : family.entries) {
            ++items;
            ASSERT_EQ(ReadKitletFile(dir.Path() + "/Kitlets" + KitletItemPath(menu.entries, e.id), k), KitletStatus::Ok)
                << e.text;
        }
    }
    EXPECT_EQ(items, 137);
    EXPECT_EQ(KitletItemPath(menu.entries, 32801), "/Codabar/Codabar Canadian Library");
}

}  // namespace
}  // namespace vg::test

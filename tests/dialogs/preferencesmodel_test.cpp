#include <gtest/gtest.h>

#include "dialogs/preferencesmodel.h"
#include "recordingsink.h"

namespace vg {
namespace {

constexpr int kVantic128 = 116;

TEST(PreferencesDialog, ListsAndVantic128Format) {
    struct Case {
        int variation, format;
        int shown;  // the format item
        bool enabled;
        int stored;
    };
    const Case cases[] = {
        {76, 0, 0, true, 0},  {76, 1, 1, true, 1},          {76, 2, 2, true, 2},
        {76, 7, -1, true, 7}, {kVantic128, 0, 1, false, 1},
    };
    for (const Case& c : cases) {
        SettingsRecord s;
        s.Variation = c.variation;
        s.Format = c.format;
        s.UnitOfMeasure = 3;
        s.FileName = 4;
        PreferencesModel m(s);
        EXPECT_EQ(m.FormatItem(), c.shown);
        EXPECT_EQ(m.FormatEnabled(), c.enabled);
        EXPECT_EQ(m.Unit(), 3);
        EXPECT_EQ(m.FileNameScheme(), 4);
        m.ChooseUnit(1);
        m.SetSound(true);
        m.Ok();
        EXPECT_EQ(s.Format, c.stored) << c.variation << " " << c.format;
        EXPECT_EQ(s.UnitOfMeasure, 1);
        EXPECT_EQ(s.ElephantSound, 1);
    }
    EXPECT_EQ(FormatItems(), (std::vector<std::string>{"WMF", "EPS", "EMF"}));
    EXPECT_EQ(FileNameItems().size(), 5u);
    EXPECT_EQ(UnitItems().size(), 4u);
}

TEST(PreferencesDialog, RestoreAsksOnlyAfterAKitletWasChosen) {
    test::ScopedRecordingSink messages;
    SettingsRecord s;
    PreferencesModel m(s);
    int reapplied = 0;
    const auto reapply = [&] { ++reapplied; };
    EXPECT_FALSE(m.Restore(false, reapply));
    EXPECT_TRUE(messages.sink.messages.empty());

    messages.sink.answers = {MsgResult::Cancel, MsgResult::Ok};
    EXPECT_FALSE(m.Restore(true, reapply));
    EXPECT_EQ(reapplied, 0);
    EXPECT_TRUE(m.Restore(true, reapply));
    EXPECT_EQ(reapplied, 1);
    ASSERT_EQ(messages.sink.messages.size(), 2u);
    EXPECT_EQ(messages.sink.messages[1].caption, "Factory Settings");
    EXPECT_EQ(messages.sink.messages[1].text, "Reset all variables to factory defaults");
    EXPECT_EQ(messages.sink.messages[1].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(messages.sink.messages[1].icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace vg

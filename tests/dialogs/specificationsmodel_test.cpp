#include <gtest/gtest.h>

#include "dialogs/specificationsmodel.h"

namespace vg {
namespace {

constexpr int kVantic128 = 116;

TEST(SpecificationsDialog, SelectAllClearAndVantic128CropMarks) {
    for (const int variation : {76, kVantic128}) {
        SCOPED_TRACE(variation);
        SettingsRecord s;
        s.Variation = variation;
        s.bCropMarks = 1;
        s.bJob = 1;
        s.Film = 2;
        s.Company = "ACME";
        SpecificationsModel m(s);
        const bool vantic = variation == kVantic128;
        EXPECT_EQ(m.Enabled(spd::kCropMarks), !vantic);
        EXPECT_EQ(m.Checked(spd::kCropMarks), !vantic);
        EXPECT_TRUE(m.Checked(spd::kJobLine));
        EXPECT_EQ(m.Text(spd::kCompany), "ACME");

        m.SelectAll();
        for (const SpecSwitch& sw : SpecSwitches())
            EXPECT_EQ(m.Checked(sw.control), !(vantic && sw.control == spd::kCropMarks)) << sw.control;
        m.SetText(spd::kComments, std::string(300, 'c'));  // no length check
        m.ChooseFilm(3);
        m.Ok();
        EXPECT_EQ(s.bCropMarks, vantic ? 0 : 1);
        EXPECT_EQ(s.bComments, 1);
        EXPECT_EQ(s.Film, 3);
        EXPECT_EQ(s.Comments.size(), 300u);

        SpecificationsModel cleared(s);
        cleared.Clear();
        cleared.Ok();
        for (const SpecSwitch& sw : SpecSwitches()) EXPECT_EQ(s.*sw.field, 0) << sw.control;
        EXPECT_EQ(s.Film, 3);
        EXPECT_EQ(s.Company, "ACME");
    }
}

}  // namespace
}  // namespace vg

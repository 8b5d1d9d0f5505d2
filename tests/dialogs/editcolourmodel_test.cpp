#include <gtest/gtest.h>

#include "dialogs/editcolourmodel.h"
#include "recordingsink.h"

namespace vg {
namespace {

// The factory colours: black spot bars on white, CMYK, editing the bars.
SettingsRecord FactoryColours() {
    SettingsRecord s;
    s.BarsTextColorName = "Black";
    s.SpacesQuietZoneColorName = "White";
    s.Hueproof = 3;
    s.redSpacesQuietZone = s.greenSpacesQuietZone = s.blueSpacesQuietZone = 100;
    s.blackBarsText = 100;
    s.CMYKblackBarsText = 100;
    s.BarsTextRadio = 1;
    s.SpotRadio = 1;
    s.CMYK_Radio = 1;
    s.TransparentBackground = 0;
    return s;
}

void SetCmyk(SettingsRecord& s, CmykPercent bars, CmykPercent spaces) {
    s.CMYKcyanBarsText = bars.cyan;
    s.CMYKmagentaBarsText = bars.magenta;
    s.CMYKyellowBarsText = bars.yellow;
    s.CMYKblackBarsText = bars.black;
    s.CMYKcyanSpacesQuietZone = spaces.cyan;
    s.CMYKmagentaSpacesQuietZone = spaces.magenta;
    s.CMYKyellowSpacesQuietZone = spaces.yellow;
    s.CMYKblackSpacesQuietZone = spaces.black;
}

TEST(ColourDialog, Conversions) {
    struct Case {
        CmykPercent cmyk;
        RgbPercent rgb;
    };
    const Case toRgb[] = {
        {{0, 0, 0, 100}, {0, 0, 0, 0}},     {{0, 0, 0, 0}, {100, 100, 100, 0}},  {{70, 0, 0, 50}, {0, 50, 50, 0}},
        {{80, 0, 0, 0}, {20, 100, 100, 0}}, {{10, 20, 30, 40}, {50, 40, 30, 0}},
    };
    for (const Case& c : toRgb) EXPECT_EQ(CmykToRgb(c.cmyk), c.rgb) << int(c.cmyk.cyan) << "/" << int(c.cmyk.black);
    const Case toCmyk[] = {
        {{0, 100, 100, 0}, {100, 0, 0, 0}},
        {{0, 0, 0, 100}, {0, 0, 0, 100}},
        {{0, 70, 70, 30}, {100, 0, 0, 30}},  // red + k stops at 100
        {{30, 20, 10, 20}, {50, 60, 70, 20}},
    };
    for (const Case& c : toCmyk) EXPECT_EQ(RgbToCmyk(c.rgb), c.cmyk) << int(c.rgb.red) << "/" << int(c.rgb.black);
    EXPECT_EQ(ScreenComponent(50), 127);
    EXPECT_EQ(PercentOfComponent(128), 50);
    EXPECT_EQ(PercentOfComponent(255), 100);
}

TEST(ColourDialog, ContrastIndicator) {
    struct Case {
        CmykPercent bars, spaces;
        bool spot, cmyk;
        int indicator;
    };
    const Case cases[] = {
        {{0, 0, 0, 100}, {0, 0, 0, 0}, true, true, kHueEnough},
        {{0, 0, 0, 60}, {0, 0, 0, 0}, true, true, kHueEnough},
        {{0, 0, 0, 59}, {0, 0, 0, 0}, true, true, kHueTooLittle},
        {{0, 100, 0, 0}, {0, 0, 0, 0}, true, true, kHueTooLittle},  // magenta does not count
        {{100, 0, 0, 0}, {0, 0, 0, 40}, true, true, kHueEnough},    // cyan against black
        {{0, 0, 0, 100}, {50, 0, 0, 10}, true, true, kHueTooLittle},
        {{0, 0, 0, 100}, {0, 0, 0, 0}, false, true, kHueNotApplicable},
        {{0, 0, 0, 10}, {0, 0, 0, 0}, true, false, kHueNotApplicable},
    };
    for (const Case& c : cases) {
        SettingsRecord s = FactoryColours();
        SetCmyk(s, c.bars, c.spaces);
        s.ProcessRadio = !c.spot;
        s.SpotRadio = c.spot;
        s.RGB_Radio = !c.cmyk;
        s.CMYK_Radio = c.cmyk;
        s.Hueproof = 0;  // not one of the pictures: evaluated at opening
        EditColourModel m(s);
        EXPECT_EQ(m.Indicator(), c.indicator) << int(c.bars.black) << " " << c.spot << c.cmyk;
        ASSERT_FALSE(m.Ok());
        EXPECT_EQ(s.Hueproof, c.indicator);
    }

    // The stored indicator is shown at opening; a type or model radio changes it at once.
    SettingsRecord s = FactoryColours();
    SetCmyk(s, {0, 0, 0, 10}, {});
    s.Hueproof = kHueEnough;
    EditColourModel m(s);
    EXPECT_EQ(m.IndicatorPicture(), ecd::kIndicatorOk);
    m.ChooseType(true);
    EXPECT_EQ(m.IndicatorPicture(), ecd::kIndicatorErr);
    m.ChooseType(false);
    EXPECT_EQ(m.IndicatorPicture(), ecd::kIndicatorOff);
    m.ChooseType(true);
    m.ChooseModel(false);
    EXPECT_EQ(m.Indicator(), kHueNotApplicable);
}

TEST(ColourDialog, TypingInTheCmykModel) {
    SettingsRecord s = FactoryColours();
    SetCmyk(s, {0, 0, 0, 0}, {});
    s.redBarsText = s.greenBarsText = s.blueBarsText = 100;
    s.blackBarsText = 0;
    EditColourModel m(s);
    ASSERT_EQ(m.Indicator(), kHueEnough);  // as stored
    const int changes = m.Changes();
    EXPECT_EQ(m.TypeValue(0, "8"), "8");
    EXPECT_EQ(m.TypeValue(0, "80"), "80");
    EXPECT_EQ(m.Rgb(true).red, 20);
    EXPECT_EQ(m.Cmyk(true).cyan, 80);
    EXPECT_EQ(m.ScrollPosition(0), 80);
    EXPECT_GT(m.Changes(), changes);
    EXPECT_EQ(m.Indicator(), kHueEnough) << "typing does not evaluate";
    m.Scroll(3, ScrollStep::PageRight);
    EXPECT_EQ(m.RowText(3), "10");
    EXPECT_EQ(m.Rgb(true).red, 10);
    EXPECT_EQ(m.Rgb(true).black, 10);
    EXPECT_EQ(m.Indicator(), kHueEnough);  // 80 cyan
    m.Scroll(0, ScrollStep::ThumbReleased, 5);
    EXPECT_EQ(m.Indicator(), kHueTooLittle);
    m.Scroll(0, ScrollStep::PageLeft);
    EXPECT_EQ(m.ScrollPosition(0), 0);  // clamped

    // Wrong keystrokes: undone with the text selected; above 100 cut; empty left as 0.
    m.TypeValue(1, "4");
    EXPECT_EQ(m.TakeFocusRequest(), 0);
    EXPECT_EQ(m.TypeValue(1, "4x"), "4");
    EXPECT_EQ(m.TakeFocusRequest(), ecd::kEdits[1]);
    EXPECT_EQ(m.TypeValue(2, "250"), "100");
    EXPECT_EQ(m.TakeFocusRequest(), ecd::kEdits[2]);
    EXPECT_EQ(m.Cmyk(true).yellow, 100);
    EXPECT_EQ(m.TypeValue(2, ""), "");
    EXPECT_EQ(m.Cmyk(true).yellow, 0);
    EXPECT_EQ(m.LeaveValue(2), "0");
}

TEST(ColourDialog, ModelSwitchConvertsOnlyTheEditedColour) {
    SettingsRecord s = FactoryColours();
    s.RGB_Radio = 1;
    s.CMYK_Radio = 0;
    s.redBarsText = 100;
    s.greenBarsText = s.blueBarsText = s.blackBarsText = 0;
    s.redSpacesQuietZone = 50;
    SetCmyk(s, {1, 2, 3, 4}, {5, 6, 7, 8});
    EditColourModel m(s);
    EXPECT_FALSE(m.Shown(ecd::kEdits[3]));
    EXPECT_TRUE(m.Shown(ecd::kRgbLabels[0]));
    m.ChooseModel(true);
    EXPECT_EQ(m.Cmyk(true), (CmykPercent{0, 100, 100, 0}));
    EXPECT_EQ(m.RowText(1), "100");
    m.ChooseColour(false);
    EXPECT_EQ(m.TakeFocusRequest(), ecd::kSpacesName);
    EXPECT_EQ(m.Cmyk(false), (CmykPercent{5, 6, 7, 8})) << "not converted";
    EXPECT_EQ(m.RowText(3), "8");

    // OK in the RGB model derives both colours' CMYK from their RGB; in the
    // CMYK model the RGB from the CMYK.
    SettingsRecord r = FactoryColours();
    r.RGB_Radio = 1;
    r.CMYK_Radio = 0;
    SetCmyk(r, {9, 9, 9, 9}, {30, 0, 0, 0});
    EditColourModel rgb(r);
    rgb.TypeValue(0, "40");
    ASSERT_FALSE(rgb.Ok());
    EXPECT_EQ(r.redBarsText, 40);
    EXPECT_EQ((CmykPercent{r.CMYKcyanBarsText, r.CMYKmagentaBarsText, r.CMYKyellowBarsText, r.CMYKblackBarsText}),
              (CmykPercent{0, 40, 40, 60}));  // dark red
    EXPECT_EQ(r.blackBarsText, 60);
    EXPECT_EQ(r.CMYKblackSpacesQuietZone, 0);
    SettingsRecord c = FactoryColours();
    SetCmyk(c, {0, 100, 100, 0}, {0, 0, 20, 0});
    EditColourModel cmyk(c);
    ASSERT_FALSE(cmyk.Ok());
    EXPECT_EQ((RgbPercent{c.redBarsText, c.greenBarsText, c.blueBarsText, 0}), (RgbPercent{100, 0, 0, 0}));
    EXPECT_EQ(c.blueSpacesQuietZone, 80);
    EXPECT_EQ(r.RGB_Radio, 1);
    EXPECT_EQ(r.Hueproof, kHueEnough) << "the stored picture until a radio or scroll bar is used";
}

TEST(ColourDialog, TransparentBackgroundAndOk) {
    SettingsRecord s = FactoryColours();
    s.redSpacesQuietZone = 80;
    s.CMYKyellowSpacesQuietZone = 20;
    s.Overprint = 1;
    EditColourModel m(s);
    m.ChooseColour(false);
    m.SetTransparent(true);
    EXPECT_TRUE(m.EditingBars());
    EXPECT_EQ(m.TakeFocusRequest(), ecd::kBarsName);
    EXPECT_FALSE(m.Enabled(ecd::kOverprint));
    EXPECT_FALSE(m.Enabled(ecd::kSpaces));
    EXPECT_FALSE(m.Enabled(ecd::kSpacesName));
    EXPECT_EQ(m.Cmyk(false), CmykPercent{});
    m.SetName(true, "PANTONE 280 C");
    ASSERT_FALSE(m.Ok());
    EXPECT_EQ(s.redSpacesQuietZone, 100);
    EXPECT_EQ(s.CMYKyellowSpacesQuietZone, 0);
    EXPECT_EQ(s.TransparentBackground, 1);
    EXPECT_EQ(s.Overprint, 1) << "kept while disabled";
    EXPECT_EQ(s.BarsTextColorName, "PANTONE 280 C");
    m.SetTransparent(false);
    EXPECT_TRUE(m.Enabled(ecd::kSpacesName));

    // An empty name keeps the dialog open and stores nothing.
    test::ScopedRecordingSink messages;
    SettingsRecord e = FactoryColours();
    EditColourModel empty(e);
    empty.SetName(false, "");
    empty.ChooseType(false);
    DialogCheck refused = empty.Ok();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "Spaces/Quiet Zone");
    EXPECT_EQ(refused->field, ecd::kSpacesName);
    EXPECT_EQ(e.ProcessRadio, 0);
    empty.SetName(true, "");
    EXPECT_EQ(empty.Ok()->caption, "Bars/Text");

    // The system chooser's colour: RGB model, black 0.
    empty.CustomColour(255, 128, 0);
    EXPECT_EQ(empty.Rgb(true), (RgbPercent{100, 50, 0, 0}));
    EXPECT_FALSE(empty.CmykModel());
    EXPECT_EQ(empty.RowText(1), "50");
    EXPECT_TRUE(EditColourModel::CustomButtonGuide().chooser);
}

}  // namespace
}  // namespace vg

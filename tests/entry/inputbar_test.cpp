#include "entry/inputbar.h"
#include "entry/fieldhelp.h"

#include <gtest/gtest.h>

#include "geometry/settingsdefaults.h"
#include "recordingview.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::InputBarHarness;

TEST(Layout, ControlsNamesAndDisplays) {
    struct Case {
        int variation;
        int layout;
        const char* name;
        std::set<int> edits;  // shown edit fields, displays and buttons
        int check;
    } cases[] = {
        {57, 0, "Symbology", {1010}, 0},
        {26, 1, "Schema #1", {1007, 1008, 1009}, 1008},
        {39, 2, "Schema #2", {1010}, 0},
        {30, 3, "Schema #3", {1014, 1015, 1016, 1017}, 0},
        {40, 4, "Schema #4", {1012, 1011}, 1011},
        {11, 5, "Schema #5", {1013, 1018}, 0},
        {12, 6, "Schema #6", {1013, 1019, 1011}, 1011},
        {81, 7, "Schema #7", {1020, 1021, 1022}, 1021},
    };
    const std::set<int> pictures = {1125, 1126, 1143, 1144, 1145};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        InputBarHarness h(c.variation);
        EXPECT_EQ(h.bar.Layout(), c.layout);
        EXPECT_EQ(h.view.presetText, c.name);
        EXPECT_EQ(h.bar.CheckDisplay(), c.check);
        std::set<int> shown;
        for (int id : h.view.visible)
            if (!pictures.count(id)) shown.insert(id);
        EXPECT_EQ(shown, c.edits);
        EXPECT_EQ(h.view.readOnlyIds.count(1010), c.layout == 0 ? 1u : 0u);
    }
}

TEST(Layout, EmptyLayoutClearsFieldAndColourIndicator) {
    InputBarHarness h(57);
    EXPECT_EQ(h.view.Text(ctl::kMain2), "");
    EXPECT_EQ(SymbolSettings.Hueproof, 1);
    EXPECT_TRUE(h.view.visible.count(ctl::kHueNone));
    EXPECT_FALSE(h.bar.SymbolReady());
    h.Paste(ctl::kMain2, "123");  // not a field of this layout
    EXPECT_TRUE(h.recorder.sink.messages.empty());
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "");
}

TEST(Layout, DefaultsWhenChosenByTheUser) {
    InputBarHarness h(28);
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "4");
    EXPECT_EQ(h.view.Text(ctl::kMain1), "4");
    EXPECT_EQ(h.bar.State().InputChanged, 1);
    EXPECT_EQ(h.view.FocusedControl(), ctl::kMain1);
    EXPECT_EQ(h.view.caretEndCalls, std::vector<int>{ctl::kMain1});
    EXPECT_TRUE(h.view.undoCleared.count(ctl::kMain1));
}

TEST(Layout, StoredTextsRunThroughThePipelineWhenFilledByTheProgram) {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    s.Family = 6;
    s.Variation = 26;
    s.Hueproof = 2;
    s.Prufmark = 1;
    SetText(s.MainText, "590123412345");
    SetText(s.OriginalMainText, "590123412345");
    SetText(s.AddOnText, "12");
    s.AdditionalText = "note";
    s.CheckCharacter1 = 'x';
    ProgrammaticInput = 1;
    test::ScopedRecordingSink recorder;
    test::RecordingView view;
    FakeClock clock;
    InputBar bar(view, clock);
    bar.SetUpLayout();
    EXPECT_EQ(view.Text(ctl::kMain1), "590123412345");
    EXPECT_EQ(view.Text(ctl::kAddOn), "12");
    EXPECT_EQ(view.Text(ctl::kCheck1), "7");
    EXPECT_EQ(s.CheckCharacter1, '7');
    EXPECT_TRUE(bar.SymbolReady());
    EXPECT_EQ(s.AdditionalText, "");
    EXPECT_EQ(view.FocusedControl(), ctl::kMain1);
    EXPECT_EQ(view.selectAllCalls.back(), ctl::kMain1);
    EXPECT_EQ(bar.State().ActiveField, FieldRole::Main);
    EXPECT_TRUE(view.visible.count(ctl::kHueLow));
    EXPECT_FALSE(view.visible.count(ctl::kHueEnough));
    EXPECT_TRUE(view.visible.count(ctl::kVerifyOn));
    EXPECT_FALSE(view.visible.count(ctl::kVerifyOff));
    EXPECT_TRUE(recorder.sink.messages.empty());

    s.AdditionalText = "kept";
    bar.SetUpLayout(true);  // reopening a graphic
    EXPECT_EQ(s.AdditionalText, "kept");
    ProgrammaticInput = 0;
}

TEST(Layout, StoredTextTooLongForItsFormatIsLeftOut) {
    ResetSettingsRecord();
    SymbolSettings.Family = 16;
    SymbolSettings.Variation = 72;
    SetText(SymbolSettings.MainText, "0360002914599");
    SetText(SymbolSettings.OriginalMainText, "0360002914599");
    ProgrammaticInput = 1;
    test::ScopedRecordingSink recorder;
    test::RecordingView view;
    FakeClock clock;
    InputBar bar(view, clock);
    bar.SetUpLayout();
    EXPECT_FALSE(bar.SymbolReady());
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "0360002914599");
    ProgrammaticInput = 0;
}

TEST(Layout, CouponPartsMarkedIncomplete) {
    struct Case {
        const char* upc;
        const char* part128;
        int upcIncomplete, incomplete128;
    } cases[] = {
        {"", "(8100)123456", 1, 0},
        {"51234567890", "", 0, 1},
        {"51234567890", "(8100)123456", 0, 0},
        {"5", "(8100)", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.upc << " " << c.part128);
        ResetSettingsRecord();
        SymbolSettings.Family = 15;
        SymbolSettings.Variation = 61;
        SetText(SymbolSettings.CouponFormatUPCpartText, c.upc);
        SetText(SymbolSettings.CouponFormat128partText, c.part128);
        ProgrammaticInput = 1;
        test::ScopedRecordingSink recorder;
        test::RecordingView view;
        FakeClock clock;
        InputBar bar(view, clock);
        bar.SetUpLayout();
        EXPECT_EQ(bar.State().CouponUPCIncomplete, c.upcIncomplete);
        EXPECT_EQ(bar.State().Coupon128Incomplete, c.incomplete128);
        EXPECT_EQ(view.Text(ctl::kCouponUpc), c.upc);
        EXPECT_EQ(view.Text(ctl::kCoupon128), c.part128);
        EXPECT_EQ(view.FocusedControl(), ctl::kCouponUpc);
        ProgrammaticInput = 0;
    }
}

TEST(Fim, ButtonsChooseThePattern) {
    const char* names[] = {"FIM Pattern A", "FIM Pattern B", "FIM Pattern C", "FIM Pattern D"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        InputBarHarness h(30);
        SymbolSettings.Derived = 1;
        KitletFull = 1;
        SymbolSettings.Rotation = 90;
        h.bar.FimButton(ctl::kFimA + i);
        EXPECT_EQ(SymbolSettings.Variation, 30 + i);
        EXPECT_EQ(h.view.presetText, names[i]);
        EXPECT_EQ(SymbolSettings.Derived, 0);
        EXPECT_EQ(KitletFull, 0);
        EXPECT_EQ(SymbolSettings.Rotation, 0);  // defaults applied
    }
}

TEST(Fim, IgnoredWhileTheProgramWritesAField) {
    InputBarHarness h(30);
    h.bar.MutableState().SettingText = 1;
    h.bar.FimButton(1016);
    EXPECT_EQ(SymbolSettings.Variation, 30);
}

TEST(FieldChanged, ProgramWritesOnlyRecordTheLastGoodText) {
    InputBarHarness h(72);
    h.Paste(h.Main(), "0360");
    h.bar.MutableState().SettingText = 1;
    h.view.Type(h.Main(), "99");
    h.bar.FieldChanged(h.Main());
    h.bar.MutableState().SettingText = 0;
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "0360");
    EXPECT_EQ(h.bar.State().LastGoodText, "0360");
}

TEST(FieldChanged, UserChangeClearsProgrammaticInputAndTheOpenedFile) {
    InputBarHarness h(72, 1);
    h.bar.SourceFileOpened("data.txt");
    h.bar.Fill(FieldRole::Main, "0360");
    EXPECT_EQ(h.view.sourceFile, "data.txt");  // the program's own fill keeps it
    EXPECT_EQ(ProgrammaticInput, 1);
    h.Paste(h.Main(), "03600");
    EXPECT_EQ(ProgrammaticInput, 0);
    EXPECT_EQ(h.view.sourceFile, "");
    EXPECT_EQ(h.view.sourceResets, 1);
    EXPECT_EQ(h.bar.State().ActiveField, FieldRole::Main);
    EXPECT_EQ(h.bar.State().LastEditControl, ctl::kMain1);
}

TEST(Defaults, ResetThePipelineState) {
    InputBarHarness h(26);
    h.Paste(h.Main(), "5901");
    h.Paste(ctl::kAddOn, "123");
    h.bar.SourceFileOpened("x.eps");
    ASSERT_EQ(h.bar.State().MainIncomplete, 1);
    ASSERT_EQ(h.bar.State().AddOnIncomplete, 1);
    BarPattern = "B1S1";
    ApplyEntryDefaults();
    EXPECT_EQ(h.bar.State().MainIncomplete, 0);
    EXPECT_EQ(h.bar.State().AddOnIncomplete, 0);
    EXPECT_EQ(h.bar.State().ActiveField, FieldRole::Main);
    EXPECT_EQ(BarPattern, "");
    EXPECT_EQ(h.view.sourceFile, "");
}

TEST(Defaults, ResetNoBarOnceItIsGone) {
    {
        test::RecordingView view;
        FakeClock clock;
        InputBar bar(view, clock);
    }
    // The destroyed bar is not touched (the sanitizer build would say so).
    BarPattern = "B1S1";
    ApplyEntryDefaults();
    EXPECT_EQ(BarPattern, "");
}

TEST(Focus, RefocusOnTheNextTickWhenTheBarIsVisible) {
    InputBarHarness h(72);
    h.view.SetFocus(ctl::kMain1);
    h.bar.RememberFocus();
    h.view.SetFocus(0);  // a dialog had it
    h.view.barVisible = false;
    h.bar.RequestRefocus();
    h.Idle(100);
    EXPECT_EQ(h.view.FocusedControl(), 0);
    h.view.barVisible = true;
    h.Idle(100);
    EXPECT_EQ(h.view.FocusedControl(), ctl::kMain1);
}

TEST(Focus, MessageGivesFocusBack) {
    InputBarHarness h(72);
    h.view.SetFocus(ctl::kMain1);
    h.Paste(ctl::kMain1, "1A");
    ASSERT_EQ(h.recorder.sink.messages.size(), 1u);
    EXPECT_EQ(h.view.FocusedControl(), ctl::kMain1);
}

}  // namespace
}  // namespace vg

namespace vg {
namespace {

TEST(FieldHelp, PatternsInWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"D{13}", "13 digits"},
        {"<code39>+", "Code 39 characters"},
        {"'5'D{10}", "\u201C5\u201D, 10 digits"},
        {"D{2} | D{5}", "2 digits or 5 digits"},
        {"[1-9]D? | '27'[0-6]", "one of 1-9, optional digit or \u201C27\u201D, one of 0-6"},
        {"'(01)'D{13}A{0..3}", "\u201C(01)\u201D, 13 digits, 0\u20133 letters or digits"},
    };
    for (const auto& [pattern, words] : cases) EXPECT_EQ(DescribePattern(pattern, true), words) << pattern;
}

}  // namespace
}  // namespace vg

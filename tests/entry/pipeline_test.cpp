#include "entry/pipeline.h"

#include <gtest/gtest.h>

#include "model/stringids.h"
#include "model/strings.h"
#include "recordingview.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::InputBarHarness;

// The fields a keystroke may touch, for "nothing changed" checks.
struct Snapshot {
    std::string main, original, addOn, fact, upc, part128, pattern, encoded;
    int check1, check2, ignoreHyphens, ignoreSpaces;
    double symbolWidth, x, magnification;
    bool ready;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const InputBar& bar) {
    const SettingsRecord& s = SymbolSettings;
    return {std::string(TextOf(s.MainText)),
            std::string(TextOf(s.OriginalMainText)),
            std::string(TextOf(s.AddOnText)),
            std::string(TextOf(s.FACTdataIDtext)),
            std::string(TextOf(s.CouponFormatUPCpartText)),
            std::string(TextOf(s.CouponFormat128partText)),
            BarPattern,
            EncodedText,
            s.CheckCharacter1,
            s.CheckCharacter2,
            s.IgnoreHyphens,
            s.IgnoreSpaces,
            s.SymbolWidth,
            s.CurBarXDimension,
            s.Magnification,
            bar.SymbolReady()};
}

TEST(TooLong, TypedUpcACheckDigitPausesAndBeepsWithoutMessage) {
    InputBarHarness h(72);
    h.TypeChars(h.Main(), "03600029145");
    ASSERT_TRUE(h.bar.SymbolReady());
    SymbolSettings.SymbolWidth = 90;  // set by hand after the symbol was drawn
    const Snapshot before = Take(h.bar);

    h.TypeChars(h.Main(), "2");
    EXPECT_TRUE(h.recorder.sink.messages.empty());
    EXPECT_EQ(h.clock.sleeps, std::vector<uint32_t>{1000});
    EXPECT_EQ(h.clock.beeps, 1);
    EXPECT_EQ(h.view.Text(h.Main()), "03600029145");
    EXPECT_EQ(h.view.Text(ctl::kCheck1), "2");
    EXPECT_EQ(h.bar.State().InputTooLong, 1);
    EXPECT_EQ(Take(h.bar), before);
}

TEST(TooLong, WrongTwelfthDigitShowsFixedLengthMessageAndChangesNothing) {
    InputBarHarness h(72);
    h.TypeChars(h.Main(), "03600029145");
    SymbolSettings.SymbolWidth = 90;
    const Snapshot before = Take(h.bar);
    const int redraws = h.view.redraws;

    h.TypeChars(h.Main(), "7");
    ASSERT_EQ(h.recorder.sink.messages.size(), 1u);
    EXPECT_EQ(h.recorder.sink.messages[0].caption, "Edit Control");
    EXPECT_EQ(h.recorder.sink.messages[0].text, FindString(sid::kFixedLengthTooLong).value());
    EXPECT_EQ(h.recorder.sink.messages[0].icon, MsgIcon::Stop);
    EXPECT_EQ(h.clock.beeps, 0);
    EXPECT_EQ(h.view.Text(h.Main()), "03600029145");
    EXPECT_EQ(Take(h.bar), before);
    EXPECT_EQ(h.view.redraws, redraws);

    // A different number pasted over it is refused as a whole.
    h.Paste(h.Main(), "999999999990");
    EXPECT_EQ(h.recorder.sink.messages.size(), 2u);
    EXPECT_EQ(h.view.Text(h.Main()), "03600029145");
    EXPECT_EQ(Take(h.bar), before);
}

TEST(TooLong, PastedNumberWithItsCheckDigitKeepsTheNumber) {
    InputBarHarness h(72);
    h.Paste(h.Main(), "036000291452");
    EXPECT_TRUE(h.recorder.sink.messages.empty());
    EXPECT_EQ(h.clock.beeps, 1);
    EXPECT_EQ(h.view.Text(h.Main()), "03600029145");
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "03600029145");
    EXPECT_TRUE(h.bar.SymbolReady());
    EXPECT_EQ(h.bar.State().LastGoodText, "03600029145");
}

TEST(TooLong, MessageByLengthClass) {
    struct Case {
        int variation;
        const char* good;
        char extra;
        int message;  // 0: the check digit, no message
    } cases[] = {
        {43, "12345", '9', sid::kFixedLengthTooLong},   // fixed length
        {40, "", '0', sid::kInputTooLong},              // variable length (59 ones, check 1)
        {74, "425261", '5', sid::kFixedLengthTooLong},  // six-digit UPC-E never takes a seventh
        {26, "590123412345", '7', 0},
        {27, "1234567", '0', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        const std::string good = c.variation == 40 ? std::string(59, '1') : c.good;
        InputBarHarness h(c.variation);
        h.Paste(h.Main(), good);
        h.recorder.sink.messages.clear();
        h.TypeChars(h.Main(), std::string(1, c.extra));
        EXPECT_EQ(h.view.Text(h.Main()), good);
        if (c.message) {
            ASSERT_EQ(h.recorder.sink.messages.size(), 1u);
            EXPECT_EQ(h.recorder.sink.messages[0].text, FindString(c.message).value());
            EXPECT_EQ(h.clock.beeps, 0);
        } else {
            EXPECT_TRUE(h.recorder.sink.messages.empty());
            EXPECT_EQ(h.clock.beeps, 1);
        }
    }
}

TEST(Normalise, HyphensAndSpacesByVariation) {
    struct Case {
        int variation;
        int ignoreHyphens, ignoreSpaces;
        const char* typed;
        const char* field;  // what the field keeps (OriginalMainText)
        const char* main;   // MainText
    } cases[] = {
        {26, 0, 0, "590-1234", "5901234", "5901234"},   // not data: removed from both
        {26, 1, 1, "590-1234", "590-1234", "5901234"},  // ignored: the field keeps it
        {26, 0, 0, "590 12", "59012", "59012"},
        {11, 0, 0, "AB-12", "AB-12", "AB-12"},  // data characters of Code 39
        {11, 0, 0, "AB 12", "AB 12", "AB 12"},
        {11, 1, 1, "AB-1 2", "AB-1 2", "AB-1 2"},  // encoded whatever the ignore options say
        {116, 1, 1, "01-2 3", "01-2 3", "0123"},   // Vantic128 leaves them out itself
        {13, 0, 0, "AB-1", "AB1", "AB1"},          // Customs: hyphens are not data
        {75, 1, 1, "0-12", "012", "012"},          // forced off for 11-digit UPC-E
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.variation << " " << c.typed);
        InputBarHarness h(c.variation);
        SymbolSettings.IgnoreHyphens = c.ignoreHyphens;
        SymbolSettings.IgnoreSpaces = c.ignoreSpaces;
        h.Paste(h.Main(), c.typed);
        EXPECT_EQ(h.view.Text(h.Main()), c.field);
        EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), c.field);
        EXPECT_EQ(TextOf(SymbolSettings.MainText), c.main);
        EXPECT_TRUE(h.recorder.sink.messages.empty());
    }
}

TEST(Normalise, SixtyOneCharactersAreCutToSixtyWithMessage) {
    InputBarHarness h(11);
    const std::string text(61, 'A');
    h.Paste(h.Main(), text);
    ASSERT_EQ(h.recorder.sink.messages.size(), 1u);
    EXPECT_EQ(h.recorder.sink.messages[0].text, "Input too long");
    EXPECT_EQ(h.view.Text(h.Main()), text.substr(0, 60));
    EXPECT_EQ(TextOf(SymbolSettings.MainText), text.substr(0, 60));
}

TEST(Pipeline, RejectedTextStaysInFieldButIsNotStored) {
    InputBarHarness h(72);
    h.TypeChars(h.Main(), "12345");
    const Snapshot before = Take(h.bar);
    h.TypeChars(h.Main(), "A");
    ASSERT_EQ(h.recorder.sink.messages.size(), 1u);
    EXPECT_EQ(h.recorder.sink.messages[0].text, FindString(sid::kIncorrectInput).value());
    EXPECT_EQ(h.view.Text(h.Main()), "12345A");
    Snapshot after = Take(h.bar);
    EXPECT_EQ(after.main, before.main);
    EXPECT_EQ(after.original, before.original);
    EXPECT_FALSE(h.bar.SymbolReady());
}

TEST(Pipeline, UpcESixDigitsTypedWithNumberSystem) {
    InputBarHarness h(74);
    h.Paste(h.Main(), "0425261");
    EXPECT_EQ(h.view.Text(h.Main()), "425261");
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "425261");
    EXPECT_EQ(h.view.Text(ctl::kCheck1), ComputeCheckCharacters("0425261", 1));
    EXPECT_FALSE(h.view.Text(ctl::kCheck1).empty());
    EXPECT_TRUE(h.bar.SymbolReady());
}

TEST(Pipeline, AutoAdvance) {
    struct Case {
        int variation;
        FieldRole from;
        const char* text;
        int focus;  // 0: stays
    } cases[] = {
        {26, FieldRole::Main, "590123412345", ctl::kAddOn},
        {72, FieldRole::Main, "03600029145", ctl::kAddOn},
        {35, FieldRole::Main, "030640615", ctl::kAddOn},
        {34, FieldRole::Main, "030640615", 0},  // General standard numbers
        {37, FieldRole::Main, "03178471", 0},
        {86, FieldRole::Main, "123456789", 0},
        {87, FieldRole::Main, "123456789", 0},
        {11, FieldRole::Fact, "ABCDE", ctl::kMain5},
        {11, FieldRole::Fact, "ABC", 0},
        {61, FieldRole::CouponUpc, "51234567890", ctl::kCoupon128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        InputBarHarness h(c.variation);
        const int id = h.bar.ControlFor(c.from);
        h.view.SetFocus(id);
        h.Paste(id, c.text);
        if (c.focus) {
            EXPECT_EQ(h.view.FocusedControl(), c.focus);
            EXPECT_EQ(h.view.selectAllCalls.back(), c.focus);
            EXPECT_EQ(h.bar.State().ActiveField, InputBar::RoleOf(c.focus));
        } else {
            EXPECT_EQ(h.view.FocusedControl(), id);
        }
    }
}

TEST(Pipeline, AddOnEmptiedShowsTheMainSymbolAgain) {
    InputBarHarness h(26);
    h.Paste(h.Main(), "590123412345");
    ASSERT_TRUE(h.bar.SymbolReady());
    h.Paste(ctl::kAddOn, "123");
    EXPECT_FALSE(h.bar.SymbolReady());
    EXPECT_EQ(h.bar.State().AddOnIncomplete, 1);
    h.Paste(ctl::kAddOn, "");
    EXPECT_EQ(h.bar.State().AddOnIncomplete, 0);
    EXPECT_TRUE(h.bar.SymbolReady());
    EXPECT_EQ(h.view.Text(ctl::kCheck1), "7");
    h.Paste(ctl::kAddOn, "12");
    EXPECT_TRUE(h.bar.SymbolReady());
}

TEST(Pipeline, EmptyMainClearsSymbolAndCheck) {
    InputBarHarness h(72);
    h.Paste(h.Main(), "03600029145");
    ASSERT_TRUE(h.bar.SymbolReady());
    h.Paste(h.Main(), "");
    EXPECT_FALSE(h.bar.SymbolReady());
    EXPECT_EQ(h.view.Text(ctl::kCheck1), "");
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "");
    EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), "");
}

TEST(Pipeline, CompleteInputResetsSymbolWidthOnlyWhenTyped) {
    for (int programmatic : {0, 1}) {
        SCOPED_TRACE(programmatic);
        InputBarHarness h(72, programmatic);
        SymbolSettings.SymbolWidth = 90;
        if (programmatic)
            h.bar.Fill(FieldRole::Main, "03600029145");
        else
            h.Paste(h.Main(), "03600029145");
        EXPECT_EQ(SymbolSettings.SymbolWidth, programmatic ? 90 : 0);
    }
}

TEST(Pipeline, InvalidDateMessageOnlyWhenTyped) {
    InputBarHarness typed(9);
    typed.Paste(typed.Main(), "+$$3990230LOT1");
    EXPECT_EQ(typed.Texts(), std::vector<std::string>{"Invalid Date."});
    EXPECT_EQ(typed.bar.State().DateInvalid, 1);
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "+$$3990230LOT1");

    InputBarHarness filled(9, 1);
    EXPECT_EQ(filled.bar.Fill(FieldRole::Main, "+$$3990230LOT1"), FillOutcome::Incomplete);
    EXPECT_TRUE(filled.recorder.sink.messages.empty());
    EXPECT_EQ(filled.bar.ReminderText(), "Invalid Date.");
}

TEST(Fill, OutcomesForTheCommandLine) {
    struct Case {
        int variation;
        FieldRole role;
        const char* text;
        FillOutcome outcome;
        int reminder;  // string id of ReminderText, 0: not checked
    } cases[] = {
        {72, FieldRole::Main, "0360002914", FillOutcome::Incomplete, sid::kFixedLengthIncomplete},
        {72, FieldRole::Main, "03600029145", FillOutcome::Complete, 0},
        {72, FieldRole::Main, "036000291452", FillOutcome::Complete, 0},
        {72, FieldRole::Main, "036000291457", FillOutcome::Refused, 0},
        {72, FieldRole::Main, "12345A", FillOutcome::Refused, 0},
        {50, FieldRole::Main, "277", FillOutcome::Refused, 0},
        {39, FieldRole::Main, "12345", FillOutcome::Incomplete, sid::kEvenDigits},
        {40, FieldRole::Main, "1234", FillOutcome::Incomplete, sid::kOddDigits},
        {39, FieldRole::Fact, "1", FillOutcome::Refused, 0},  // no such field
        {11, FieldRole::Fact, "", FillOutcome::Complete, 0},  // optional field left empty
        {72, FieldRole::Main, "", FillOutcome::Incomplete, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.variation << " " << c.text);
        InputBarHarness h(c.variation, 1);
        EXPECT_EQ(h.bar.Fill(c.role, c.text), c.outcome);
        if (c.reminder) {
            EXPECT_EQ(h.bar.ReminderText(), FindString(c.reminder).value());
            EXPECT_EQ(h.bar.ReminderCaption(), "Edit Control");
        }
        EXPECT_EQ(ProgrammaticInput, 1);
    }
    InputBarHarness h(50, 1);
    h.bar.Fill(FieldRole::Main, "277");
    EXPECT_EQ(h.Texts(), std::vector<std::string>{"超出范围:  1 . . 276"});
}

TEST(Reminder, TenSecondsAfterAKeystrokeAndOnceUntilTheNext) {
    InputBarHarness h(39);
    h.TypeChars(h.Main(), "12345");
    EXPECT_FALSE(h.bar.SymbolReady());
    h.Idle(9900);
    EXPECT_TRUE(h.recorder.sink.messages.empty());
    h.Idle(300);
    ASSERT_EQ(h.Texts(), std::vector<std::string>{FindString(sid::kEvenDigits).value()});
    EXPECT_EQ(h.recorder.sink.messages[0].caption, "Edit Control");
    // No second box before a keystroke.
    h.Idle(30000);
    EXPECT_EQ(h.recorder.sink.messages.size(), 1u);
    // A key that changes nothing counts; the period starts from it.
    h.Idle(5000);
    h.bar.Keystroke();
    h.Idle(9900);
    EXPECT_EQ(h.recorder.sink.messages.size(), 1u);
    h.Idle(200);
    EXPECT_EQ(h.recorder.sink.messages.size(), 2u);
    // While a menu or dialog is open nothing fires; the period restarts when it closes.
    h.bar.Keystroke();
    h.view.popup = true;
    h.Idle(30000);
    h.view.popup = false;
    h.Idle(9900);
    EXPECT_EQ(h.recorder.sink.messages.size(), 2u);
    h.Idle(200);
    EXPECT_EQ(h.recorder.sink.messages.size(), 3u);
    h.TypeChars(h.Main(), "6");
    h.Idle(20000);
    EXPECT_EQ(h.recorder.sink.messages.size(), 3u);  // complete now
}

TEST(Reminder, CouponWithOnlyTheUpcPart) {
    InputBarHarness h(61);
    h.TypeChars(ctl::kCouponUpc, "1234567890");
    EXPECT_EQ(TextOf(SymbolSettings.CouponFormatUPCpartText), "51234567890");
    EXPECT_FALSE(h.bar.SymbolReady());
    h.Idle(10500);
    EXPECT_EQ(h.Texts(), std::vector<std::string>{FindString(sid::kFixedLengthIncomplete).value()});
}

TEST(Reminder, SuspendedStates) {
    struct Case {
        const char* name;
        void (*set)(InputBarHarness&);
    } cases[] = {
        {"minimised", [](InputBarHarness& h) { h.view.minimised = true; }},
        {"busy", [](InputBarHarness& h) { h.view.busy = true; }},
        {"selecting",
         [](InputBarHarness& h) {
             h.view.SetFocus(h.Main());
             h.view.selectedIds.insert(h.Main());
         }},
        {"complete", [](InputBarHarness& h) { h.Paste(h.Main(), "03600029145"); }},
        {"empty", [](InputBarHarness& h) { h.Paste(h.Main(), ""); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputBarHarness h(72);
        h.TypeChars(h.Main(), "0360");
        c.set(h);
        h.Idle(30000);
        EXPECT_TRUE(h.recorder.sink.messages.empty());
    }
}

TEST(Robustness, AnyBytesInAnyFieldOfAnyVariation) {
    std::string controls;
    for (int c = 1; c < 32; ++c) controls += static_cast<char>(c);
    std::string high;
    for (int c = 128; c < 256; ++c) high += static_cast<char>(c);
    const std::string inputs[] = {controls,
                                  high,
                                  std::string(10000, '7'),
                                  std::string(10000, '\xff'),
                                  "(8100)" + std::string(300, '1'),
                                  "+$$" + high,
                                  "[S",
                                  "-- --",
                                  std::string(1, '\0') + "12"};
    for (const VariationInfo& info : Catalogue()) {
        SCOPED_TRACE(info.code);
        InputBarHarness h(info.code);
        for (FieldRole role :
             {FieldRole::Main, FieldRole::AddOn, FieldRole::Fact, FieldRole::CouponUpc, FieldRole::Coupon128}) {
            const int id = h.bar.ControlFor(role);
            if (!id) continue;
            for (const std::string& in : inputs) {
                h.Paste(id, in);
                h.TypeChars(id, "9");
                h.Idle(200);
            }
        }
        const SettingsRecord& s = SymbolSettings;
        EXPECT_LE(TextLength(s.MainText), kMaxMainInput);
        EXPECT_LE(TextLength(s.OriginalMainText), kMaxMainInput);
        EXPECT_LT(TextLength(s.AddOnText), sizeof s.AddOnText);
        EXPECT_LT(TextLength(s.CouponFormat128partText), sizeof s.CouponFormat128partText);
        EXPECT_EQ(BarPattern.size() % 2, 0u);
    }
}

}  // namespace
}  // namespace vg

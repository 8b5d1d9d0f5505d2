// The serialization dialog's model: its checks of OK in their order, how it
// splits the data when it opens and the rules of the step.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "dialogs/seriesmodel.h"
#include "model/symbolsettings.h"
#include "output/batchstate.h"
#include "preparesymbol.h"
#include "recordingsink.h"

namespace vg {
namespace {

using test::Prepare;
using test::ScopedRecordingSink;

struct DialogCase {
    const char* name;
    const char* data;
    const char* before;
    const char* start;
    const char* after;
    const char* stop;
    const char* step;
    int message;  // 0: accepted
    int focus;
    int armed;
    const char* count;
};

TEST(SerializationDialog, ChecksOfOkInTheirOrder) {
    using namespace serialctl;
    const DialogCase cases[] = {
        {"four files", "ABC00017", "ABC", "00017", "", "00020", "1", 0, kStart, 1, "4"},
        {"width one", "ABC7", "ABC", "7", "", "12", "1", 0, kStart, 1, "6"},
        {"start equals stop by number", "ABC0001", "ABC", "0001", "", "1", "1", 0, kStart, 1, "1"},
        {"start equals stop", "ABC0001", "ABC", "0001", "", "0001", "1", 0, kStart, 0, "1"},
        {"3001 files", "ABC1", "ABC", "1", "", "3001", "1", 61255, kStop, 0, ""},
        {"3001 by twos", "ABC1", "ABC", "1", "", "3001", "2", 0, kStart, 1, "1501"},
        {"case differs", "ABC00017", "abc", "00017", "", "00020", "1", 61253, kStart, 0, "4"},
        {"start letter", "ABC00017", "ABC", "0001x", "", "00020", "1", 61248, kStart, 0, ""},
        {"start too big", "A2147483647", "A", "2147483647", "", "2147483647", "1", 61249, kStart, 0, ""},
        {"stop letter", "ABC00017", "ABC", "00017", "", "2x", "1", 61251, kStop, 0, ""},
        {"stop too big", "ABC00017", "ABC", "00017", "", "99999999999", "1", 61397, kStop, 0, ""},
        {"stop below start", "ABC00017", "ABC", "00017", "", "00012", "1", 61252, kStop, 0, ""},
        {"stop empty", "ABC00017", "ABC", "00017", "", "", "1", 61252, kStop, 0, ""},
        {"after kept", "A12B", "A", "12", "B", "40", "7", 0, kStart, 1, "5"},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare("6", c.data);
        SeriesModel d;
        d.Open();
        ScopedRecordingSink sink;
        d.Edit(kBefore, c.before, true);
        d.Edit(kStart, c.start, true);
        d.Edit(kAfter, c.after, true);
        d.Edit(kStop, c.stop, true);
        d.EditStep(c.step, true);
        EXPECT_EQ(d.Text(kCount), c.count);
        const std::optional<SerialCheckFailure> f = d.Ok();
        EXPECT_EQ(f ? f->message : 0, c.message);
        EXPECT_EQ(d.Focus(), c.focus);
        EXPECT_EQ(SeriesArmed, c.armed);
        ASSERT_EQ(sink.sink.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(sink.sink.messages[0].icon, MsgIcon::Stop);
        }
    }
}

TEST(SerializationDialog, OpeningSplitsTheDataAndStepEditsFollowTheirRules) {
    using namespace serialctl;
    struct Case {
        const char* data;
        const char* addOn;
        bool addOnRadio;
        const char* before;
        const char* start;
        const char* label;
    } cases[] = {
        {"ABC00017", nullptr, false, "ABC", "00017", "ABC00017"},
        {"1234", nullptr, false, "", "1234", "1234"},
        {"400638133393", "12", true, "", "12", "12"},
        {"400638133393", nullptr, true, "4006381", "33393", "400638133393"},
        {"ABCDEFGHIJKLMNOPQRSTUV12345", nullptr, false, "ABCDEFGHIJKLMNOPQRSTUV", "12345", "...KLMNOPQRSTUV12345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        const bool ean = c.addOn || std::string(c.data).size() == 12;
        Prepare(ean ? "26" : "6", c.data, {}, c.addOn ? std::optional<std::string>(c.addOn) : std::nullopt);
        SymbolSettings.SerialAddOn = c.addOnRadio;
        SeriesModel d;
        d.Open();
        EXPECT_EQ(d.Text(kBefore), c.before);
        EXPECT_EQ(d.Text(kStart), c.start);
        EXPECT_EQ(d.Text(kStop), c.start);
        EXPECT_EQ(d.Text(kCount), "1");
        EXPECT_EQ(d.ReferenceLabel(), c.label);
        EXPECT_EQ(d.AddOnEnabled(), c.addOn != nullptr);
    }
    Prepare("6", "ABC00017");
    SeriesModel d;
    d.Open();
    ScopedRecordingSink sink;
    const std::pair<const char*, const char*> steps[] = {{"12", "12"}, {"0", "1"}, {"5", "5"},
                                                         {"5a", "5"},  {"", "1"},  {"1000", "1"}};
    for (const auto& [typed, shown] : steps) {
        d.EditStep(typed);
        EXPECT_EQ(d.Text(kStep), shown) << typed;
    }
    // A series that is armed and still matches comes back as stored.
    d.Edit(kStop, "00030");
    ASSERT_FALSE(d.Ok());
    SeriesModel again;
    again.Open();
    EXPECT_EQ(again.Text(kStop), "00030");
    EXPECT_EQ(again.Text(kCount), "14");
    // Typing into Start shows a check's message at once.
    again.Edit(kStart, "1x");
    ASSERT_EQ(sink.sink.messages.size(), 1u);
    EXPECT_EQ(sink.sink.messages[0].text, "\"Start\" may only consist of numeric characters.");
    EXPECT_EQ(again.Text(kCount), "");
}

}  // namespace
}  // namespace vg
